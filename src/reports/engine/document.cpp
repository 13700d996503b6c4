#include "reports/engine/document.h"

#include "reports/engine/pdfwriter.h"

#include <QFile>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace report {

QSizeF Document::pageSizeMm() const
{
    QSizeF s = pageSize.size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape)
        s.transpose();
    return s;
}

QPageLayout Document::pageLayout() const
{
    return QPageLayout(pageSize, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void Document::drawText(QPainter &painter, int font, const QPointF &at, const QString &text) const
{
    // Latin text (Hungarian included) needs no shaping beyond kerning: its glyphs are placed
    // straight from the font, which saves most of the cost of a long report's PDF. Anything else
    // (combining marks, other scripts, control characters, a glyph the font lacks) goes through
    // the painter's full text layout.
    const QPaintDevice *device = painter.device();
    const int dpi = device ? device->logicalDpiY() : 0;
    bool simple = dpi > 0 && device->logicalDpiX() == dpi && font >= 0 && font < int(fonts.size());
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x0300)
            simple = false;
    if (simple) {
        if (rawFontsDpi != dpi) {
            rawFonts.assign(fonts.size(), QRawFont());
            rawFontsDpi = dpi;
        }
        QRawFont &raw = rawFonts[size_t(font)];
        if (!raw.isValid()) {
            raw = QRawFont::fromFont(fonts[size_t(font)]);
            raw.setPixelSize(fonts[size_t(font)].pointSizeF() * dpi / 72.0);
        }
        const QList<quint32> glyphs = raw.isValid() ? raw.glyphIndexesForString(text) : QList<quint32>();
        simple = glyphs.size() == text.size() && !glyphs.contains(0u);
        if (simple) {
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
            QList<QPointF> positions(glyphs.size());
            QPointF pen(0, 0);
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                positions[i] = pen;
                pen += advances.value(i);
            }
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            painter.drawGlyphRun(at, run);
            return;
        }
    }
    if (font >= 0 && font < int(fonts.size()))
        painter.setFont(fonts[size_t(font)]);
    painter.drawText(at, text);
}

void Document::paintPage(int index, QPainter &painter) const
{
    if (index < 0 || index >= pageCount())
        return;
    const Page &page = pages[size_t(index)];
    const QPaintDevice *device = painter.device();
    const double sx = device ? device->logicalDpiX() / 25.4 : 96 / 25.4;
    const double sy = device ? device->logicalDpiY() / 25.4 : 96 / 25.4;
    auto pt = [&](const QPointF &p) { return QPointF(p.x() * sx, p.y() * sy); };
    auto rc = [&](const QRectF &r) {
        return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    for (const RectItem &r : page.rects) {
        if (r.lineWidth > 0)
            painter.setPen(QPen(QColor::fromRgba(r.color), r.lineWidth * sx, Qt::SolidLine, Qt::SquareCap,
                                Qt::MiterJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.setBrush(r.filled ? QBrush(QColor::fromRgba(r.fill)) : QBrush(Qt::NoBrush));
        painter.drawRect(rc(r.rect));
    }

    painter.setBrush(Qt::NoBrush);
    QRgb currentColor = 0;
    bool penSet = false;
    for (const TextItem &t : page.texts) {
        if (!penSet || t.color != currentColor) {
            painter.setPen(QColor::fromRgba(t.color));
            currentColor = t.color;
            penSet = true;
        }
        if (t.runs.empty()) {
            if (t.text.isEmpty())
                continue;
            if (t.clipped) {
                painter.save();
                painter.setClipRect(rc(t.rect), Qt::IntersectClip);
                drawText(painter, t.font, pt(t.origin), t.text);
                painter.restore();
            } else {
                drawText(painter, t.font, pt(t.origin), t.text);
            }
        } else {
            for (const TextRun &run : t.runs)
                if (!run.text.isEmpty())
                    drawText(painter, t.font, pt(run.origin), run.text);
        }
    }

    for (const LineItem &l : page.lines) {
        painter.setPen(QPen(QColor::fromRgba(l.color), l.width * sx, l.style, Qt::FlatCap));
        painter.drawLine(pt(l.p1), pt(l.p2));
    }
    painter.restore();
}

QStringList Document::texts(int index) const
{
    QStringList out;
    if (index < 0 || index >= pageCount())
        return out;
    for (const TextItem &t : pages[size_t(index)].texts)
        out << t.text;
    return out;
}

std::vector<std::pair<double, QString>> Document::textsByPosition(int index) const
{
    std::vector<std::pair<double, QString>> out;
    if (index < 0 || index >= pageCount())
        return out;
    std::vector<const TextItem *> items;
    for (const TextItem &t : pages[size_t(index)].texts)
        items.push_back(&t);
    std::stable_sort(items.begin(), items.end(), [](const TextItem *a, const TextItem *b) {
        if (a->rect.top() != b->rect.top())
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    for (const TextItem *t : items)
        out.emplace_back(t->rect.top(), t->text);
    return out;
}

bool writePdf(const Document &document, const QString &path)
{
    switch (writeDirectPdf(document, path)) {
    case DirectPdfResult::Written:
        return true;
    case DirectPdfResult::CannotWrite:
        return false;
    case DirectPdfResult::FontNotEmbeddable:
    case DirectPdfResult::NeedsFallback:
        break;
    }
    // The painter draws every character as the preview does, from a fallback font where needed.
    return writePdfThroughPainter(document, path);
}

bool writePdfThroughPainter(const Document &document, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Zelvana"));
    writer.setPageLayout(document.pageLayout());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        document.paintPage(i, painter);
    }
    painter.end();
    file.close();
    return file.error() == QFileDevice::NoError;
}

} // namespace report
