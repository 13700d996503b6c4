#pragma once
// A built report: pages of positioned texts, lines and rectangles in millimetres from the paper's
// top-left corner. Built once, before anything is shown; the same pages are painted into the
// preview, onto a printer and into a PDF file, each at its own resolution.

#include <QFont>
#include <QPageLayout>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace report {

// One line of text, starting at its baseline.
struct TextRun
{
    QPointF origin; // mm
    QString text;
};

struct TextItem
{
    QRectF rect;               // the object's box, mm
    QString text;              // the whole text after substitution
    QPointF origin;            // baseline start when the text is one line (runs empty)
    std::vector<TextRun> runs; // the lines of a wrapped or multi-line text
    int font = 0;              // index into Document::fonts
    QRgb color = 0xff000000;
    bool clipped = false; // one line wider than its box: painted cut at the box
};

struct LineItem
{
    QPointF p1, p2;     // mm
    double width = 0.2; // mm
    QRgb color = 0xff000000;
    Qt::PenStyle style = Qt::SolidLine;
};

struct RectItem
{
    QRectF rect;          // mm
    double lineWidth = 0; // mm; 0: no outline
    QRgb color = 0xff000000;
    bool filled = false;
    QRgb fill = 0xffffffff;
};

struct Page
{
    // Painted in this order: rectangles (backgrounds and frames), texts, lines.
    std::vector<RectItem> rects;
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;
};

class Document
{
public:
    QString title; // the template's name
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<QFont> fonts; // point sizes; painting resolves them for the device
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
    // Width and height of a page as laid out (orientation applied), mm.
    QSizeF pageSizeMm() const;
    // The paper, without margins: the pages carry their own.
    QPageLayout pageLayout() const;

    // Paints page `index` (0-based) onto a painter whose device's origin is the paper's top-left
    // corner; millimetres are turned into device units by the device's resolution, so any
    // further scaling is the painter's own.
    void paintPage(int index, QPainter &painter) const;

    // The texts of a page in the order they were laid out (tests read these).
    QStringList texts(int index) const;
    // The texts of a page with the vertical position (mm) of each, in reading order.
    std::vector<std::pair<double, QString>> textsByPosition(int index) const;

private:
    void drawText(QPainter &painter, int font, const QPointF &at, const QString &text) const;
    // Fonts at the resolution of the device painted last (see drawText).
    mutable std::vector<QRawFont> rawFonts;
    mutable int rawFontsDpi = 0;
};

// Writes every page to a PDF file; false when the file cannot be written. The file is written
// directly (see pdfwriter.h); a document whose fonts cannot be embedded that way is painted
// through the painter's PDF engine instead.
bool writePdf(const Document &document, const QString &path);
// The painter's PDF: every page through paintPage onto a QPdfWriter. Slower, but takes any font.
bool writePdfThroughPainter(const Document &document, const QString &path);

} // namespace report
