#include "reports/engine/report.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <map>

namespace report {

namespace {

// Texts are measured at a fixed resolution, without hinting, so that the layout does not depend
// on the screen or printer it is later painted on.
constexpr double kMeasureDpi = 1200;
constexpr double kMmPerUnit = 25.4 / kMeasureDpi;
constexpr double kEpsilon = 0.001; // mm

const QPaintDevice *measureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dpm = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        return image;
    }();
    return &device;
}

QFont makeFont(const FontSpec &spec)
{
    QFont f(spec.family);
    f.setPointSizeF(spec.size);
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

struct Metrics
{
    explicit Metrics(const QFont &font)
        : fm(font, measureDevice())
        , ascent(fm.ascent() * kMmPerUnit)
        , lineSpacing(fm.lineSpacing() * kMmPerUnit)
    {
        QFont sized(font);
        sized.setPixelSize(qRound(font.pointSizeF() * kMeasureDpi / 72.0));
        raw = QRawFont::fromFont(sized);
        rawScale = raw.isValid() && raw.pixelSize() > 0
                       ? font.pointSizeF() * kMeasureDpi / 72.0 / raw.pixelSize()
                       : 0;
    }
    // The width of a text: the font's kerned advances, as the page is painted and the PDF written
    // (full shaping costs ten times as much); shaping only where the face lacks a character.
    double width(const QString &s) const
    {
        if (rawScale > 0) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(s);
            if (!glyphs.contains(0u)) {
                const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
                double w = 0;
                for (const QPointF &a : advances)
                    w += a.x();
                return w * rawScale * kMmPerUnit;
            }
        }
        return fm.horizontalAdvance(s) * kMmPerUnit;
    }
    // The same, remembered: labels and repeated values are measured once per build.
    double alignedWidth(const QString &s) const
    {
        auto it = widths.constFind(s);
        if (it == widths.constEnd())
            it = widths.insert(s, width(s));
        return *it;
    }

    // Whether a text fits a width. Most texts are far shorter than their box: the sum of cached
    // character advances settles those without shaping; only a text near the limit is measured.
    bool fits(const QString &s, double avail) const
    {
        const double limit = avail * 0.95;
        double approx = 0;
        for (QChar c : s) {
            const char16_t u = c.unicode();
            if (u >= kCachedChars)
                return width(s) <= avail + kEpsilon;
            float &w = advances[u];
            if (w < 0)
                w = float(fm.horizontalAdvance(c) * kMmPerUnit);
            approx += w;
            if (approx > limit)
                return width(s) <= avail + kEpsilon;
        }
        return true;
    }

    static constexpr char16_t kCachedChars = 0x600;
    QFontMetricsF fm;
    QRawFont raw;
    double rawScale = 0;
    double ascent;
    double lineSpacing;
    mutable std::vector<float> advances = std::vector<float>(kCachedChars, -1.0f);
    // Texts already broken into lines, by text, wrap and width.
    mutable std::map<std::pair<QString, std::pair<bool, double>>, QStringList> wrapped;
    mutable QHash<QString, double> widths;
};

QStringList wrapText(const Metrics &m, const QString &text, bool wrap, double avail);

// Greedy word wrap; a word wider than the line is broken between characters. Explicit line
// breaks in the text always start a new line. Returns an empty list for a text of one line that fits.
QStringList breakLines(const Metrics &m, const QString &text, bool wrap, double avail)
{
    const bool multi = text.contains(QLatin1Char('\n'));
    if (!multi && !wrap)
        return {};
    // The same paragraph (a certificate's closing text on each of thousands of pages) is broken once.
    const auto key = std::make_pair(text, std::make_pair(wrap, avail));
    auto it = m.wrapped.find(key);
    if (it == m.wrapped.end())
        it = m.wrapped
                 .emplace(key, !multi && m.fits(text, avail) ? QStringList() : wrapText(m, text, wrap, avail))
                 .first;
    return it->second;
}

QStringList wrapText(const Metrics &m, const QString &text, bool wrap, double avail)
{
    QStringList out;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString para : paragraphs) {
        if (para.endsWith(QLatin1Char('\r')))
            para.chop(1);
        if (!wrap || m.fits(para, avail)) {
            out << para;
            continue;
        }
        QString current;
        int i = 0;
        const int n = para.size();
        while (i < n) {
            int start = i;
            while (i < n && para[i].isSpace())
                ++i;
            while (i < n && !para[i].isSpace())
                ++i;
            const QString token = para.mid(start, i - start); // leading spaces and one word
            const QString candidate = current + token;
            if (m.width(candidate) <= avail + kEpsilon) {
                current = candidate;
                continue;
            }
            if (!current.isEmpty())
                out << current;
            current = token.trimmed();
            while (current.size() > 1 && m.width(current) > avail + kEpsilon) {
                int fit = 1;
                while (fit < current.size() && m.width(current.left(fit + 1)) <= avail + kEpsilon)
                    ++fit;
                out << current.left(fit);
                current = current.mid(fit);
            }
        }
        out << current;
    }
    return out;
}

struct Seg
{
    enum Kind
    {
        Text,
        Page,
        Total
    } kind;
    QString text;
    ValueFormat format;
};

struct PreparedText
{
    QString text;
    QStringList lines;     // empty: one line
    std::vector<Seg> segs; // texts with page references
    bool hasTotal = false;
    double needed = 0; // mm of height its lines need
};

struct Prepared
{
    std::vector<PreparedText> texts;
    double height = 0;
    // Measured ahead (to keep a heading with its first row) for this line number; placing the band
    // next uses it instead of evaluating it again.
    int aheadFor = -1;
};

QString composeSegs(const std::vector<Seg> &segs, int page, int total)
{
    QString out;
    for (const Seg &s : segs) {
        switch (s.kind) {
        case Seg::Text:
            out += s.text;
            break;
        case Seg::Page:
            out += formatValue(double(page), s.format);
            break;
        case Seg::Total:
            out += formatValue(double(total), s.format);
            break;
        }
    }
    return out;
}

} // namespace

class Report::Builder
{
public:
    Builder(const Template &t, DataContext &data, Variables &vars, QPageLayout::Orientation orientation,
            const Progress &progress)
        : t(t)
        , data(data)
        , vars(vars)
        , progress(progress)
        , now(QDateTime::currentDateTime())
    {
        doc.title = t.name.isEmpty() ? QFileInfo(t.fileName).completeBaseName() : t.name;
        doc.pageSize = t.pageSize;
        doc.orientation = t.orientation.value_or(orientation);
    }

    Document run()
    {
        bind();
        for (Dataset *ds : bandDatasets)
            if (ds)
                ds->open();

        startPage(true);
        if (t.reportTitle >= 0)
            placeBand(t.reportTitle, 0);
        if (t.columnHeader >= 0 && !columnHeaderOnPage) {
            placeHeader(t.columnHeader);
            columnHeaderOnPage = true;
        }
        for (const DataGroup &g : t.groups)
            runGroup(g);
        if (t.reportSummary >= 0)
            placeBand(t.reportSummary, 0);
        finishPage();

        std::vector<Dataset *> closed;
        for (Dataset *ds : bandDatasets) {
            if (ds && std::find(closed.begin(), closed.end(), ds) == closed.end()) {
                closed.push_back(ds);
                ds->close();
            }
        }
        resolveTotals();
        return std::move(doc);
    }

    void requestNewPage() { newPageWanted = true; }
    int pageNumber() const { return int(doc.pages.size()); }

private:
    const Template &t;
    DataContext &data;
    Variables &vars;
    const Progress &progress;
    QDateTime now;
    Document doc;

    std::vector<Metrics> metrics;
    std::vector<FontSpec> fontSpecs;
    std::vector<std::vector<int>> textFonts; // per band, per text object
    std::vector<RowCursor *> cursors;        // per component slot
    std::vector<Dataset *> bandDatasets;     // per band
    std::vector<Prepared> prepared;          // per band, reused

    double pageWidth = 0, pageHeight = 0, bodyBottom = 0;
    double y = 0;
    bool bodyOnPage = false;
    bool columnHeaderOnPage = false;
    bool newPageWanted = false;
    int rows = 0;

    struct Deferred
    {
        int page;
        size_t item;
        const TextObject *object;
        int font;
        bool clip;
        std::vector<Seg> segs;
    };
    std::vector<Deferred> deferred;

    int fontIndex(const FontSpec &spec)
    {
        for (size_t i = 0; i < fontSpecs.size(); ++i)
            if (fontSpecs[i] == spec)
                return int(i);
        fontSpecs.push_back(spec);
        doc.fonts.push_back(makeFont(spec));
        metrics.emplace_back(doc.fonts.back());
        return int(fontSpecs.size() - 1);
    }

    void bind()
    {
        const QSizeF size = doc.pageSizeMm();
        pageWidth = size.width();
        pageHeight = size.height();
        bodyBottom = pageHeight - t.margins.bottom();
        if (t.pageFooter >= 0)
            bodyBottom -= t.bands[size_t(t.pageFooter)].height;

        textFonts.resize(t.bands.size());
        prepared.resize(t.bands.size());
        bandDatasets.assign(t.bands.size(), nullptr);
        for (size_t b = 0; b < t.bands.size(); ++b) {
            const Band &band = t.bands[b];
            for (const TextObject &obj : band.texts)
                textFonts[b].push_back(fontIndex(obj.font));
            if ((band.type == BandType::MasterData || band.type == BandType::DetailData) &&
                !band.dataset.isEmpty()) {
                Dataset *ds = data.dataset(band.dataset);
                if (!ds)
                    throw ReportError(QStringLiteral("Dataset '%1' not found").arg(band.dataset));
                bandDatasets[b] = ds;
            }
        }
        for (const QString &name : t.componentNames) {
            RowCursor *cursor = nullptr;
            if (Dataset *ds = data.dataset(name)) {
                cursor = ds->cursor();
                if (!cursor)
                    throw ReportError(QStringLiteral("Dataset '%1' has no fields").arg(name));
            } else {
                cursor = data.component(name);
            }
            if (!cursor)
                throw ReportError(QStringLiteral("Component '%1' not found").arg(name));
            cursors.push_back(cursor);
        }
    }

    void tick()
    {
        if (progress && !progress(pageNumber(), rows))
            throw BuildCancelled();
    }

    // --- data bands ---

    void runGroup(const DataGroup &g)
    {
        Dataset *master = bandDatasets[size_t(g.master)];
        const Band &masterBand = t.bands[size_t(g.master)];
        int masterLine = 0;
        bool once = false; // a master band without a dataset prints once
        std::vector<bool> hasRows(g.details.size());
        if (master)
            master->first();
        while (master ? !master->eof() : !once) {
            // The details are positioned before the master band is laid out, so what their first
            // callbacks set (a group's initial, say) shows in the master band.
            bool anyRows = g.details.empty();
            int firstWithRows = -1;
            for (size_t i = 0; i < g.details.size(); ++i) {
                Dataset *detail = bandDatasets[size_t(g.details[i].data)];
                detail->first();
                hasRows[i] = !detail->eof();
                if (hasRows[i] && firstWithRows < 0)
                    firstWithRows = int(i);
                anyRows = anyRows || hasRows[i];
            }
            if (anyRows || masterBand.printIfDetailEmpty) {
                if (firstWithRows >= 0)
                    keepWithFirstDetail(g.master, g.details[size_t(firstWithRows)], masterLine + 1);
                placeBand(g.master, ++masterLine);
                for (size_t i = 0; i < g.details.size(); ++i) {
                    const DetailSection &d = g.details[i];
                    // Without rows, a detail's header and footer print when the detail or its
                    // master asks for it.
                    if (!hasRows[i] && !t.bands[size_t(d.data)].printIfEmpty &&
                        !masterBand.printIfDetailEmpty)
                        continue;
                    Dataset *detail = bandDatasets[size_t(d.data)];
                    if (d.header >= 0)
                        placeBand(d.header, 0);
                    int detailLine = 0;
                    while (!detail->eof()) {
                        placeBand(d.data, ++detailLine);
                        detail->next();
                    }
                    if (d.footer >= 0)
                        placeBand(d.footer, detailLine);
                }
            }
            if (master)
                master->next();
            else
                once = true;
        }
        if (g.masterFooter >= 0)
            placeBand(g.masterFooter, masterLine);
    }

    // A master row's heading is not left alone at the foot of a page: when it would not fit together
    // with its first detail row, the page is closed first.
    void keepWithFirstDetail(int masterBand, const DetailSection &d, int masterLine)
    {
        if (!bodyOnPage || newPageWanted)
            return;
        // Nothing moves between this measurement and the placing of these three bands: they keep it.
        auto measure = [&](int band, int lineNo) {
            Prepared &p = prepare(size_t(band), lineNo);
            p.aheadFor = lineNo;
            return p.height;
        };
        double needed = measure(masterBand, masterLine);
        if (d.header >= 0)
            needed += measure(d.header, 0);
        needed += measure(d.data, 1);
        if (y + needed > bodyBottom + kEpsilon)
            pageBreak();
    }

    // --- pages ---

    void startPage(bool first)
    {
        Page page;
        if (!doc.pages.empty()) {
            // Pages of a list hold about as much as the one before: room for it, grown once.
            const Page &last = doc.pages.back();
            page.texts.reserve(last.texts.size());
            page.lines.reserve(last.lines.size());
            page.rects.reserve(last.rects.size());
        }
        doc.pages.push_back(std::move(page));
        y = t.margins.top();
        bodyOnPage = false;
        columnHeaderOnPage = false;
        if (t.pageHeader >= 0 && (!first || t.bands[size_t(t.pageHeader)].onFirstPage))
            placeHeader(t.pageHeader);
        if (!first && t.columnHeader >= 0) {
            placeHeader(t.columnHeader);
            columnHeaderOnPage = true;
        }
        tick();
    }

    void finishPage()
    {
        if (t.pageFooter < 0)
            return;
        const Band &band = t.bands[size_t(t.pageFooter)];
        prepare(size_t(t.pageFooter), 0);
        emitBand(size_t(t.pageFooter), pageHeight - t.margins.bottom() - band.height);
    }

    void pageBreak()
    {
        finishPage();
        startPage(false);
    }

    void placeHeader(int index)
    {
        const Prepared &p = prepare(size_t(index), 0);
        emitBand(size_t(index), y);
        y += p.height;
    }

    void placeBand(int index, int lineNo)
    {
        const Band &band = t.bands[size_t(index)];
        Prepared &ahead = prepared[size_t(index)];
        const Prepared &p = ahead.aheadFor == lineNo ? ahead : prepare(size_t(index), lineNo);
        ahead.aheadFor = -1;
        if (newPageWanted) {
            newPageWanted = false;
            if (bodyOnPage)
                pageBreak();
        }
        if (bodyOnPage && y + p.height > bodyBottom + kEpsilon)
            pageBreak();
        emitBand(size_t(index), y);
        y += p.height;
        bodyOnPage = true;
        if (band.pageBreakAfter)
            newPageWanted = true;
        if (band.type == BandType::MasterData || band.type == BandType::DetailData) {
            if (++rows % 128 == 0)
                tick();
        }
    }

    // --- evaluation ---

    QVariant fieldValue(const Piece &p) const
    {
        const std::optional<QVariant> v = cursors[size_t(p.slot)]->value(p.text);
        if (!v)
            throw ReportError(QStringLiteral("Field '%1' not found").arg(p.text));
        return *v;
    }

    QString pieceText(const Piece &p, int lineNo) const
    {
        switch (p.kind) {
        case Piece::Kind::Literal:
            return p.text;
        case Piece::Kind::Field:
            return formatValue(fieldValue(p), p.format);
        case Piece::Kind::Variable: {
            const QVariant *v = vars.findFolded(p.key);
            return v ? formatValue(*v, p.format) : QString();
        }
        case Piece::Kind::Line:
            return formatValue(double(lineNo), p.format);
        case Piece::Kind::Date:
            return formatValue(now.date(), p.format);
        case Piece::Kind::Time:
            return p.format.kind == ValueFormat::Kind::Pattern ? formatValue(now.time(), p.format)
                                                               : now.time().toString(QStringLiteral("HH:mm"));
        case Piece::Kind::Page:
        case Piece::Kind::TotalPages:
            break;
        }
        return QString();
    }

    // Evaluates the texts of a band and measures how tall it has to be.
    Prepared &prepare(size_t index, int lineNo)
    {
        const Band &band = t.bands[index];
        Prepared &p = prepared[index];
        p.texts.resize(band.texts.size());
        p.height = band.height;
        for (size_t i = 0; i < band.texts.size(); ++i) {
            const TextObject &obj = band.texts[i];
            PreparedText &pt = p.texts[i];
            pt.text = QString();
            pt.segs.clear();
            pt.hasTotal = false;
            if (obj.expr.hasPageRefs) {
                QString pending;
                for (const Piece &piece : obj.expr.pieces) {
                    if (piece.kind == Piece::Kind::Page || piece.kind == Piece::Kind::TotalPages) {
                        if (!pending.isEmpty())
                            pt.segs.push_back(Seg{Seg::Text, pending, {}});
                        pending.clear();
                        pt.segs.push_back(
                            Seg{piece.kind == Piece::Kind::Page ? Seg::Page : Seg::Total, {}, piece.format});
                        if (piece.kind == Piece::Kind::TotalPages)
                            pt.hasTotal = true;
                    } else {
                        pending += pieceText(piece, lineNo);
                    }
                }
                if (!pending.isEmpty())
                    pt.segs.push_back(Seg{Seg::Text, pending, {}});
                // Measured with the page count so far; the final text is laid out again at the end.
                pt.text = composeSegs(pt.segs, pageNumber(), std::max(pageNumber(), 1));
            } else {
                for (const Piece &piece : obj.expr.pieces)
                    pt.text += pieceText(piece, lineNo);
            }
            const Metrics &m = metrics[size_t(textFonts[index][i])];
            pt.lines = breakLines(m, pt.text, obj.wrap, std::max(0.0, obj.width - 2 * obj.padding));
            const int n = pt.lines.isEmpty() ? (pt.text.isEmpty() ? 0 : 1) : int(pt.lines.size());
            pt.needed = n * m.lineSpacing;
            if (band.stretch && band.type != BandType::PageFooter)
                p.height = std::max(p.height, obj.y + pt.needed);
        }
        return p;
    }

    // --- emission ---

    void placeText(TextItem &item, const QString &text, const QStringList &lines, const TextObject &obj,
                   const Metrics &m, bool clip)
    {
        item.text = text;
        item.runs.clear();
        item.clipped = false;
        const QRectF &box = item.rect;
        const double left = box.left() + obj.padding;
        const double innerWidth = std::max(0.0, box.width() - 2 * obj.padding);
        int n = lines.isEmpty() ? 1 : int(lines.size());
        if (clip && n > 1)
            n = std::clamp(int(std::floor((box.height() + 0.2 * m.lineSpacing) / m.lineSpacing)), 1, n);
        const double block = n * m.lineSpacing;
        double top = box.top();
        if (obj.align & Qt::AlignVCenter)
            top = box.top() + (box.height() - block) / 2;
        else if (obj.align & Qt::AlignBottom)
            top = box.bottom() - block;
        auto xFor = [&](const QString &s) {
            if (obj.align & Qt::AlignHCenter)
                return left + (innerWidth - m.alignedWidth(s)) / 2;
            if (obj.align & Qt::AlignRight)
                return left + innerWidth - m.alignedWidth(s);
            return left;
        };
        if (lines.isEmpty()) {
            item.origin = QPointF(xFor(text), top + m.ascent);
            // A text too long for its box is cut at the box rather than running into its neighbours.
            item.clipped = !text.isEmpty() && !m.fits(text, box.width() - obj.padding);
            return;
        }
        item.runs.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            const QString &s = lines[i];
            item.runs.push_back(TextRun{QPointF(xFor(s), top + i * m.lineSpacing + m.ascent), s});
        }
    }

    void emitBand(size_t index, double top)
    {
        const Band &band = t.bands[index];
        const Prepared &p = prepared[index];
        Page &page = doc.pages.back();
        const double extra = p.height - band.height;
        const double ox = t.margins.left();
        const bool clip = !band.stretch;

        for (const RectObject &r : band.rects) {
            RectItem item;
            item.rect = QRectF(ox + r.x, top + r.y, r.width, r.height + (r.growWithBand ? extra : 0));
            item.lineWidth = r.color.isValid() ? r.lineWidth : 0;
            item.color = r.color.isValid() ? r.color.rgba() : 0;
            item.filled = r.fill.isValid();
            if (item.filled)
                item.fill = r.fill.rgba();
            page.rects.push_back(item);
        }

        for (size_t i = 0; i < band.texts.size(); ++i) {
            const TextObject &obj = band.texts[i];
            const PreparedText &pt = p.texts[i];
            const int font = textFonts[index][i];
            const Metrics &m = metrics[size_t(font)];
            double h = obj.height;
            if (band.stretch)
                h = std::max(h, pt.needed);
            if (obj.growWithBand)
                h = std::max(h, obj.height + extra);
            const QRectF box(ox + obj.x, top + obj.y, obj.width, h);
            if (obj.fill.isValid()) {
                RectItem bg;
                bg.rect = box;
                bg.filled = true;
                bg.fill = obj.fill.rgba();
                page.rects.push_back(bg);
            }
            TextItem item;
            item.rect = box;
            item.font = font;
            item.color = obj.color.rgba();
            if (pt.segs.empty()) {
                placeText(item, pt.text, pt.lines, obj, m, clip);
            } else {
                const QString text = composeSegs(pt.segs, pageNumber(), pageNumber());
                placeText(item, text,
                          breakLines(m, text, obj.wrap, std::max(0.0, obj.width - 2 * obj.padding)), obj, m,
                          clip);
                if (pt.hasTotal)
                    deferred.push_back(Deferred{pageNumber(), page.texts.size(), &obj, font, clip, pt.segs});
            }
            page.texts.push_back(std::move(item));
            emitFrame(page, box, obj);
        }

        for (const LineObject &l : band.lines) {
            auto yOf = [&](double v) {
                return top + v + (l.growWithBand && v >= band.height - kEpsilon ? extra : 0);
            };
            LineItem item;
            item.p1 = QPointF(ox + l.x1, yOf(l.y1));
            item.p2 = QPointF(ox + l.x2, yOf(l.y2));
            item.width = l.width;
            item.color = l.color.isValid() ? l.color.rgba() : 0xff000000;
            item.style = l.style;
            page.lines.push_back(item);
        }
    }

    static void emitFrame(Page &page, const QRectF &box, const TextObject &obj)
    {
        if (obj.frame == FrameNone)
            return;
        if (obj.frame == FrameAll) {
            RectItem r;
            r.rect = box;
            r.lineWidth = obj.frameWidth;
            page.rects.push_back(r);
            return;
        }
        auto side = [&](unsigned flag, QPointF a, QPointF b) {
            if (obj.frame & flag)
                page.lines.push_back(LineItem{a, b, obj.frameWidth, 0xff000000, Qt::SolidLine});
        };
        side(FrameLeft, box.topLeft(), box.bottomLeft());
        side(FrameTop, box.topLeft(), box.topRight());
        side(FrameRight, box.topRight(), box.bottomRight());
        side(FrameBottom, box.bottomLeft(), box.bottomRight());
    }

    // The second pass: page totals are known only when every page is laid out.
    void resolveTotals()
    {
        const int total = pageNumber();
        for (const Deferred &d : deferred) {
            TextItem &item = doc.pages[size_t(d.page - 1)].texts[d.item];
            const Metrics &m = metrics[size_t(d.font)];
            const QString text = composeSegs(d.segs, d.page, total);
            placeText(
                item, text,
                breakLines(m, text, d.object->wrap, std::max(0.0, d.object->width - 2 * d.object->padding)),
                *d.object, m, d.clip);
        }
    }
};

Report::Report()
{
    loadBuiltIn();
}

Report::~Report() = default;

void Report::clear()
{
    tpl.reset();
}

void Report::load(const QString &path, const QString &displayName)
{
    tpl.reset();
    const QString name = displayName.isEmpty() ? path : displayName;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateFileError(name);
    const QByteArray xml = file.readAll();
    tpl = std::make_unique<Template>(parseTemplate(xml, name));
}

void Report::loadFromData(const QByteArray &xml, const QString &fileName)
{
    tpl.reset();
    tpl = std::make_unique<Template>(parseTemplate(xml, fileName));
}

void Report::loadBuiltIn()
{
    loadFromData(builtInLayout(), QStringLiteral("Tulaj.frf"));
}

const Template &Report::layout() const
{
    if (!tpl)
        throw ReportError(QStringLiteral("No template is loaded"));
    return *tpl;
}

Document Report::build(DataContext &data, Variables &variables, QPageLayout::Orientation orientation,
                       const Progress &progress)
{
    if (!tpl)
        throw ReportError(QStringLiteral("No template is loaded"));
    if (active)
        throw ReportError(QStringLiteral("A report is already being built"));
    Builder builder(*tpl, data, variables, orientation, progress);
    active = &builder;
    struct Reset
    {
        Builder *&slot;
        ~Reset() { slot = nullptr; }
    } reset{active};
    return builder.run();
}

void Report::newPage()
{
    if (active)
        active->requestNewPage();
}

int Report::currentPage() const
{
    return active ? active->pageNumber() : 0;
}

} // namespace report
