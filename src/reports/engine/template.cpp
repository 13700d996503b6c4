#include "reports/engine/template.h"

#include "reports/engine/datasource.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSizeF>
#include <QXmlStreamReader>

namespace report {

QString bandTypeName(BandType type)
{
    switch (type) {
    case BandType::ReportTitle:
        return QStringLiteral("reportTitle");
    case BandType::PageHeader:
        return QStringLiteral("pageHeader");
    case BandType::ColumnHeader:
        return QStringLiteral("columnHeader");
    case BandType::MasterData:
        return QStringLiteral("masterData");
    case BandType::DetailHeader:
        return QStringLiteral("detailHeader");
    case BandType::DetailData:
        return QStringLiteral("detailData");
    case BandType::DetailFooter:
        return QStringLiteral("detailFooter");
    case BandType::MasterFooter:
        return QStringLiteral("masterFooter");
    case BandType::ReportSummary:
        return QStringLiteral("reportSummary");
    case BandType::PageFooter:
        return QStringLiteral("pageFooter");
    }
    return QString();
}

namespace {

const QHash<QString, BandType> &bandTypes()
{
    static const QHash<QString, BandType> types = [] {
        QHash<QString, BandType> h;
        for (BandType t :
             {BandType::ReportTitle, BandType::PageHeader, BandType::ColumnHeader, BandType::MasterData,
              BandType::DetailHeader, BandType::DetailData, BandType::DetailFooter, BandType::MasterFooter,
              BandType::ReportSummary, BandType::PageFooter})
            h.insert(bandTypeName(t), t);
        return h;
    }();
    return types;
}

class Parser
{
public:
    Parser(const QByteArray &xml, const QString &fileName)
        : xml(xml)
    {
        tpl.fileName = fileName;
    }

    Template run()
    {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() != QLatin1String("report"))
                    fail(QStringLiteral("the root element must be <report>, not <%1>").arg(xml.name()));
                readReport();
            }
        }
        if (xml.hasError())
            failXml();
        if (!sawRoot)
            fail(QStringLiteral("no <report> element"));
        return std::move(tpl);
    }

private:
    QXmlStreamReader xml;
    Template tpl;
    bool sawRoot = false;
    QHash<QString, int> slotOf;

    [[noreturn]] void failAt(qint64 line, qint64 column, const QString &what)
    {
        throw ReportError(QStringLiteral("Template %1, line %2, column %3: %4")
                              .arg(tpl.fileName)
                              .arg(line)
                              .arg(column)
                              .arg(what));
    }
    [[noreturn]] void fail(const QString &what) { failAt(xml.lineNumber(), xml.columnNumber(), what); }
    [[noreturn]] void failXml()
    {
        // The reader's own description of malformed XML (unclosed tag, bad entity, ...).
        failAt(xml.lineNumber(), xml.columnNumber(), xml.errorString());
    }

    // Reads the next token that matters; malformed XML stops here with the reader's position.
    void next()
    {
        xml.readNext();
        if (xml.hasError())
            failXml();
    }

    void checkAttributes(std::initializer_list<const char *> allowed)
    {
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            bool ok = false;
            for (const char *name : allowed)
                if (a.name() == QLatin1String(name))
                    ok = true;
            if (!ok)
                fail(QStringLiteral("unknown attribute '%1' of <%2>").arg(a.name(), xml.name()));
        }
    }

    bool has(const char *name) const { return xml.attributes().hasAttribute(QLatin1String(name)); }
    QString attr(const char *name) const { return xml.attributes().value(QLatin1String(name)).toString(); }

    double number(const char *name, double fallback, bool required = false)
    {
        if (!has(name)) {
            if (required)
                fail(QStringLiteral("<%1> needs the attribute '%2'").arg(xml.name(), QLatin1String(name)));
            return fallback;
        }
        QString s = attr(name).trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double v = s.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("attribute '%1' of <%2> is not a number: '%3'")
                     .arg(QLatin1String(name), xml.name(), attr(name)));
        return v;
    }

    double length(const char *name, double fallback, bool required = false)
    {
        const double v = number(name, fallback, required);
        if (v < 0)
            fail(QStringLiteral("attribute '%1' of <%2> must not be negative")
                     .arg(QLatin1String(name), xml.name()));
        return v;
    }

    bool boolean(const char *name, bool fallback)
    {
        if (!has(name))
            return fallback;
        const QString s = attr(name).trimmed().toLower();
        if (s == QLatin1String("true") || s == QLatin1String("yes") || s == QLatin1String("1"))
            return true;
        if (s == QLatin1String("false") || s == QLatin1String("no") || s == QLatin1String("0"))
            return false;
        fail(QStringLiteral("attribute '%1' of <%2> must be true or false, not '%3'")
                 .arg(QLatin1String(name), xml.name(), attr(name)));
    }

    QColor color(const char *name, const QColor &fallback)
    {
        if (!has(name))
            return fallback;
        const QString s = attr(name).trimmed();
        if (s.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
            return QColor();
        QColor c(s);
        if (!c.isValid())
            fail(QStringLiteral("attribute '%1' of <%2> is not a colour: '%3'")
                     .arg(QLatin1String(name), xml.name(), s));
        return c;
    }

    void noChildren()
    {
        // An object element holds no elements; it ends here.
        const QString element = xml.name().toString();
        while (true) {
            next();
            if (xml.isEndElement())
                return;
            if (xml.isStartElement())
                fail(QStringLiteral("<%1> cannot hold <%2>").arg(element, xml.name()));
            if (xml.isCharacters() && !xml.isWhitespace())
                fail(QStringLiteral("unexpected text '%1'").arg(xml.text().toString().trimmed()));
        }
    }

    void readReport()
    {
        sawRoot = true;
        checkAttributes({"name", "page", "pageWidth", "pageHeight", "orientation", "fontFamily", "fontSize"});
        tpl.name = attr("name");
        if (has("pageWidth") || has("pageHeight")) {
            if (has("page"))
                fail(QStringLiteral("give either 'page' or 'pageWidth' and 'pageHeight'"));
            const double w = length("pageWidth", 0, true), h = length("pageHeight", 0, true);
            if (w < 10 || h < 10)
                fail(QStringLiteral("the page is too small"));
            tpl.pageSize = QPageSize(QSizeF(w, h), QPageSize::Millimeter, QStringLiteral("Custom"),
                                     QPageSize::ExactMatch);
        } else if (has("page")) {
            static const QHash<QString, QPageSize::PageSizeId> sizes = {
                {QStringLiteral("a3"), QPageSize::A3},         {QStringLiteral("a4"), QPageSize::A4},
                {QStringLiteral("a5"), QPageSize::A5},         {QStringLiteral("b5"), QPageSize::B5},
                {QStringLiteral("letter"), QPageSize::Letter}, {QStringLiteral("legal"), QPageSize::Legal}};
            auto it = sizes.find(attr("page").trimmed().toLower());
            if (it == sizes.end())
                fail(QStringLiteral("unknown page size '%1' (A3, A4, A5, B5, Letter, Legal)")
                         .arg(attr("page")));
            tpl.pageSize = QPageSize(*it);
        }
        if (has("orientation")) {
            const QString o = attr("orientation").trimmed().toLower();
            if (o == QLatin1String("portrait"))
                tpl.orientation = QPageLayout::Portrait;
            else if (o == QLatin1String("landscape"))
                tpl.orientation = QPageLayout::Landscape;
            else
                fail(QStringLiteral("orientation must be portrait or landscape, not '%1'")
                         .arg(attr("orientation")));
        }
        if (has("fontFamily"))
            tpl.defaultFont.family = attr("fontFamily");
        tpl.defaultFont.size = fontSize("fontSize", tpl.defaultFont.size);

        bool sawMargins = false;
        while (true) {
            next();
            if (xml.isEndElement())
                break;
            if (xml.isCharacters() && !xml.isWhitespace())
                fail(QStringLiteral("unexpected text '%1' in <report>").arg(xml.text().toString().trimmed()));
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("margins")) {
                if (sawMargins)
                    fail(QStringLiteral("<margins> given twice"));
                sawMargins = true;
                checkAttributes({"left", "top", "right", "bottom"});
                tpl.margins =
                    QMarginsF(length("left", tpl.margins.left()), length("top", tpl.margins.top()),
                              length("right", tpl.margins.right()), length("bottom", tpl.margins.bottom()));
                noChildren();
                continue;
            }
            auto it = bandTypes().find(xml.name().toString());
            if (it == bandTypes().end())
                fail(QStringLiteral("unknown element <%1> (a band or <margins> expected)").arg(xml.name()));
            readBand(*it);
        }
        finishGroups();
        checkPage();
    }

    double fontSize(const char *name, double fallback)
    {
        const double v = number(name, fallback);
        if (v < 1 || v > 200)
            fail(QStringLiteral("font size %1 is out of range (1 to 200 points)").arg(v));
        return v;
    }

    void readBand(BandType type)
    {
        Band band;
        band.type = type;
        band.line = int(xml.lineNumber());
        const bool data = type == BandType::MasterData || type == BandType::DetailData;
        if (type == BandType::MasterData)
            checkAttributes({"height", "dataset", "printIfDetailEmpty", "stretch", "pageBreakAfter"});
        else if (type == BandType::DetailData)
            checkAttributes({"height", "dataset", "printIfEmpty", "stretch", "pageBreakAfter"});
        else if (type == BandType::PageHeader)
            checkAttributes({"height", "stretch", "onFirstPage"});
        else if (type == BandType::PageFooter)
            checkAttributes({"height"});
        else if (type == BandType::ColumnHeader)
            checkAttributes({"height", "stretch"});
        else
            checkAttributes({"height", "stretch", "pageBreakAfter"});
        band.height = length("height", 0, true);
        band.dataset = attr("dataset").trimmed();
        if (type == BandType::DetailData && band.dataset.isEmpty())
            fail(QStringLiteral("<detailData> needs the attribute 'dataset'"));
        band.printIfDetailEmpty = boolean("printIfDetailEmpty", false);
        band.printIfEmpty = boolean("printIfEmpty", false);
        band.stretch = boolean("stretch", false);
        band.pageBreakAfter = boolean("pageBreakAfter", false);
        band.onFirstPage = boolean("onFirstPage", true);

        const qint64 line = xml.lineNumber(), column = xml.columnNumber();
        while (true) {
            next();
            if (xml.isEndElement())
                break;
            if (xml.isCharacters() && !xml.isWhitespace())
                fail(QStringLiteral("unexpected text '%1' in <%2>")
                         .arg(xml.text().toString().trimmed(), bandTypeName(type)));
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("text"))
                band.texts.push_back(readText());
            else if (xml.name() == QLatin1String("line"))
                band.lines.push_back(readLine());
            else if (xml.name() == QLatin1String("rect"))
                band.rects.push_back(readRect());
            else
                fail(QStringLiteral("unknown element <%1> in <%2> (text, line or rect expected)")
                         .arg(xml.name().toString(), bandTypeName(type)));
        }
        placeBand(std::move(band), line, column);
    }

    void placeBand(Band band, qint64 line, qint64 column)
    {
        const int index = int(tpl.bands.size());
        const BandType type = band.type;
        auto single = [&](int &slot) {
            if (slot >= 0)
                failAt(line, column, QStringLiteral("<%1> given twice").arg(bandTypeName(type)));
            slot = index;
        };
        auto inGroup = [&](const char *what) -> DataGroup & {
            if (tpl.groups.empty() || lastWasSingle)
                failAt(line, column,
                       QStringLiteral("<%1> must follow a <masterData> band%2")
                           .arg(bandTypeName(type), QLatin1String(what)));
            return tpl.groups.back();
        };
        switch (type) {
        case BandType::ReportTitle:
            single(tpl.reportTitle);
            break;
        case BandType::PageHeader:
            single(tpl.pageHeader);
            break;
        case BandType::ColumnHeader:
            single(tpl.columnHeader);
            break;
        case BandType::ReportSummary:
            single(tpl.reportSummary);
            break;
        case BandType::PageFooter:
            single(tpl.pageFooter);
            break;
        case BandType::MasterData:
            tpl.groups.push_back(DataGroup{index, {}, -1});
            break;
        case BandType::DetailHeader: {
            DataGroup &g = inGroup("");
            if (g.masterFooter >= 0)
                failAt(line, column, QStringLiteral("<detailHeader> must come before <masterFooter>"));
            // A header starts a detail of its own, unless the last one has nothing yet.
            if (g.details.empty() || g.details.back().data >= 0 || g.details.back().header >= 0)
                g.details.push_back({});
            g.details.back().header = index;
            break;
        }
        case BandType::DetailData: {
            DataGroup &g = inGroup("");
            if (g.masterFooter >= 0)
                failAt(line, column,
                       QStringLiteral("<detailData> must come before the footers of its master"));
            if (g.details.empty() || g.details.back().data >= 0)
                g.details.push_back({});
            g.details.back().data = index;
            break;
        }
        case BandType::DetailFooter: {
            DataGroup &g = inGroup(" and its <detailData>");
            if (g.masterFooter >= 0)
                failAt(line, column, QStringLiteral("<detailFooter> must come before <masterFooter>"));
            if (g.details.empty() || g.details.back().data < 0)
                failAt(line, column, QStringLiteral("<detailFooter> must follow its <detailData>"));
            if (g.details.back().footer >= 0)
                failAt(line, column, QStringLiteral("<detailFooter> given twice for one <detailData>"));
            g.details.back().footer = index;
            break;
        }
        case BandType::MasterFooter: {
            DataGroup &g = inGroup("");
            if (g.masterFooter >= 0)
                failAt(line, column, QStringLiteral("<masterFooter> given twice for one <masterData>"));
            g.masterFooter = index;
            break;
        }
        }
        // Single bands may stand anywhere; they end the run of bands that belong to a master.
        const bool groupBand = type == BandType::MasterData || type == BandType::DetailHeader ||
                               type == BandType::DetailData || type == BandType::DetailFooter ||
                               type == BandType::MasterFooter;
        lastWasSingle = !groupBand;
        tpl.bands.push_back(std::move(band));
    }
    bool lastWasSingle = false;

    void finishGroups()
    {
        for (const DataGroup &g : tpl.groups) {
            const Band &m = tpl.bands[size_t(g.master)];
            for (const DetailSection &d : g.details)
                if (d.data < 0) {
                    const Band &b = tpl.bands[size_t(d.header)];
                    failAt(b.line, 1,
                           QStringLiteral("<%1> needs a <detailData> band under its <masterData>")
                               .arg(bandTypeName(b.type)));
                }
            if (m.printIfDetailEmpty && g.details.empty())
                failAt(m.line, 1, QStringLiteral("'printIfDetailEmpty' needs a <detailData> band"));
        }
    }

    void checkPage()
    {
        QSizeF size = tpl.pageSize.size(QPageSize::Millimeter);
        if (tpl.orientation == QPageLayout::Landscape)
            size.transpose();
        const double w = size.width() - tpl.margins.left() - tpl.margins.right();
        const double h = size.height() - tpl.margins.top() - tpl.margins.bottom();
        if (w <= 10 || h <= 10)
            fail(QStringLiteral("the margins leave no room on the page"));
    }

    void readFrame(TextObject &t)
    {
        if (!has("frame"))
            return;
        const QString spec = attr("frame").trimmed().toLower();
        if (spec == QLatin1String("none"))
            return;
        if (spec == QLatin1String("all")) {
            t.frame = FrameAll;
            return;
        }
        for (const QString &part :
             spec.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
            if (part == QLatin1String("left"))
                t.frame |= FrameLeft;
            else if (part == QLatin1String("top"))
                t.frame |= FrameTop;
            else if (part == QLatin1String("right"))
                t.frame |= FrameRight;
            else if (part == QLatin1String("bottom"))
                t.frame |= FrameBottom;
            else
                fail(QStringLiteral("unknown frame side '%1' (all, none, left, top, right, bottom)")
                         .arg(part));
        }
    }

    TextObject readText()
    {
        checkAttributes({"x", "y", "width", "height", "font", "size", "bold", "italic", "align", "valign",
                         "wrap", "frame", "frameWidth", "padding", "color", "fill", "growWithBand"});
        TextObject t;
        t.x = length("x", 0);
        t.y = length("y", 0);
        t.width = length("width", 0, true);
        t.height = length("height", 0, true);
        t.font = tpl.defaultFont;
        if (has("font"))
            t.font.family = attr("font");
        t.font.size = fontSize("size", t.font.size);
        t.font.bold = boolean("bold", false);
        t.font.italic = boolean("italic", false);
        Qt::Alignment h = Qt::AlignLeft, v = Qt::AlignTop;
        if (has("align")) {
            const QString a = attr("align").trimmed().toLower();
            if (a == QLatin1String("left"))
                h = Qt::AlignLeft;
            else if (a == QLatin1String("center"))
                h = Qt::AlignHCenter;
            else if (a == QLatin1String("right"))
                h = Qt::AlignRight;
            else
                fail(QStringLiteral("align must be left, center or right, not '%1'").arg(attr("align")));
        }
        if (has("valign")) {
            const QString a = attr("valign").trimmed().toLower();
            if (a == QLatin1String("top"))
                v = Qt::AlignTop;
            else if (a == QLatin1String("center"))
                v = Qt::AlignVCenter;
            else if (a == QLatin1String("bottom"))
                v = Qt::AlignBottom;
            else
                fail(QStringLiteral("valign must be top, center or bottom, not '%1'").arg(attr("valign")));
        }
        t.align = h | v;
        t.wrap = boolean("wrap", false);
        readFrame(t);
        t.frameWidth = length("frameWidth", t.frameWidth);
        t.padding = length("padding", t.padding);
        t.color = color("color", Qt::black);
        if (!t.color.isValid())
            t.color = Qt::black;
        t.fill = color("fill", QColor());
        t.growWithBand = boolean("growWithBand", false);

        const qint64 line = xml.lineNumber(), column = xml.columnNumber();
        QString text;
        while (true) {
            next();
            if (xml.isEndElement())
                break;
            if (xml.isStartElement())
                fail(QStringLiteral("<text> cannot hold <%1> (write the text and [expressions] only)")
                         .arg(xml.name()));
            if (xml.isCharacters())
                text += xml.text();
        }
        t.source = text;
        try {
            t.expr = parseExpression(text);
        } catch (const ExpressionError &e) {
            failAt(line, column,
                   QStringLiteral("in the text \"%1\", at character %2: %3")
                       .arg(text)
                       .arg(e.offset + 1)
                       .arg(e.what));
        }
        for (Piece &p : t.expr.pieces) {
            if (p.kind != Piece::Kind::Field)
                continue;
            auto it = slotOf.find(p.key);
            if (it == slotOf.end()) {
                it = slotOf.insert(p.key, int(tpl.components.size()));
                tpl.components << p.key;
                tpl.componentNames << p.component;
            }
            p.slot = *it;
        }
        return t;
    }

    LineObject readLine()
    {
        checkAttributes({"x1", "y1", "x2", "y2", "width", "color", "style", "growWithBand"});
        LineObject l;
        l.x1 = length("x1", 0);
        l.y1 = length("y1", 0);
        l.x2 = length("x2", 0);
        l.y2 = length("y2", 0);
        l.width = length("width", l.width);
        l.color = color("color", Qt::black);
        if (has("style")) {
            const QString s = attr("style").trimmed().toLower();
            if (s == QLatin1String("solid"))
                l.style = Qt::SolidLine;
            else if (s == QLatin1String("dash"))
                l.style = Qt::DashLine;
            else if (s == QLatin1String("dot"))
                l.style = Qt::DotLine;
            else
                fail(QStringLiteral("style must be solid, dash or dot, not '%1'").arg(attr("style")));
        }
        l.growWithBand = boolean("growWithBand", false);
        noChildren();
        return l;
    }

    RectObject readRect()
    {
        checkAttributes({"x", "y", "width", "height", "lineWidth", "color", "fill", "growWithBand"});
        RectObject r;
        r.x = length("x", 0);
        r.y = length("y", 0);
        r.width = length("width", 0, true);
        r.height = length("height", 0, true);
        r.lineWidth = length("lineWidth", r.lineWidth);
        r.color = color("color", Qt::black);
        r.fill = color("fill", QColor());
        r.growWithBand = boolean("growWithBand", false);
        noChildren();
        return r;
    }
};

} // namespace

Template parseTemplate(const QByteArray &xml, const QString &fileName)
{
    return Parser(xml, fileName).run();
}

} // namespace report
