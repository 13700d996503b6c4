#pragma once
// A report template as loaded from its .frf file (XML): the page, the bands and their objects,
// with every text already split into expression pieces. The format is described in
// docs/templates.md.

#include "reports/engine/expression.h"

#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace report {

enum class BandType
{
    ReportTitle,
    PageHeader,
    ColumnHeader,
    MasterData,
    DetailHeader,
    DetailData,
    DetailFooter,
    MasterFooter,
    ReportSummary,
    PageFooter
};

QString bandTypeName(BandType type);

struct FontSpec
{
    QString family;
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec &o) const
    {
        return family == o.family && size == o.size && bold == o.bold && italic == o.italic;
    }
};

// Sides of a text's frame.
enum FrameSide : unsigned
{
    FrameNone = 0,
    FrameLeft = 1,
    FrameTop = 2,
    FrameRight = 4,
    FrameBottom = 8,
    FrameAll = 15
};

struct TextObject
{
    double x = 0, y = 0, width = 0, height = 0; // mm, relative to the band
    FontSpec font;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = false;
    unsigned frame = FrameNone;
    double frameWidth = 0.2; // mm
    double padding = 0.5;    // mm, left and right inside the box
    QColor color = Qt::black;
    QColor fill;               // invalid: none
    bool growWithBand = false; // the box's bottom follows the band's when the band stretches
    Expression expr;
    QString source; // the text as written, for messages
};

struct LineObject
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // mm, relative to the band
    double width = 0.2;                    // mm
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    bool growWithBand = false; // the lower end follows the band's bottom when the band stretches
};

struct RectObject
{
    double x = 0, y = 0, width = 0, height = 0;
    double lineWidth = 0.2; // mm; 0: no outline
    QColor color = Qt::black;
    QColor fill; // invalid: none
    bool growWithBand = false;
};

struct Band
{
    BandType type = BandType::MasterData;
    double height = 0; // mm
    QString dataset;   // data bands; empty: printed once
    bool printIfDetailEmpty = false;
    bool printIfEmpty = false; // a detail band: its header and footer print also without rows
    bool stretch = false;
    bool pageBreakAfter = false;
    bool onFirstPage = true; // page header: also on the first page
    int line = 0;            // where the band starts in the file, for messages
    std::vector<TextObject> texts;
    std::vector<LineObject> lines;
    std::vector<RectObject> rects;
};

// One detail of a master: its data band with the header and footer that frame its rows.
struct DetailSection
{
    int header = -1;
    int data = -1;
    int footer = -1;
};

// A master data band with the bands that belong to it: one or more details (an owner's items, then
// the owner's payments) and the master footer.
struct DataGroup
{
    int master = -1;
    std::vector<DetailSection> details;
    int masterFooter = -1;
};

struct Template
{
    QString fileName; // as loaded, for messages
    QString name;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    std::optional<QPageLayout::Orientation> orientation; // unset: the print call's
    QMarginsF margins{20, 15, 15, 15};                   // mm: left, top, right, bottom
    FontSpec defaultFont{QStringLiteral("DejaVu Sans"), 10, false, false};

    std::vector<Band> bands;
    std::vector<DataGroup> groups;
    // Index of each single band, -1 when the template has none.
    int reportTitle = -1, pageHeader = -1, columnHeader = -1, reportSummary = -1, pageFooter = -1;
    // Components that field references name, folded, in order of first use; Piece::slot indexes it.
    QStringList components;
    QStringList componentNames; // the same, as first written
};

// Reads a template; throws ReportError naming the file, line and column of the fault.
Template parseTemplate(const QByteArray &xml, const QString &fileName);

} // namespace report
