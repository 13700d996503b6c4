#include "reports/engine/pageview.h"

#include "reports/engine/document.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace report {

namespace {
constexpr int kGap = 12;        // pixels between the pages and around them
constexpr size_t kKept = 8;     // pictures of pages kept: those in sight and a few around
constexpr qreal kMinZoom = 0.1; // a page of a few pixels helps nobody
constexpr qreal kMaxZoom = 8.0;
} // namespace

PageView::PageView(const Document &document, QWidget *parent)
    : QAbstractScrollArea(parent)
    , doc(document)
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // Always there, so that fitting a page to the width does not make it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(24);
    horizontalScrollBar()->setSingleStep(24);
}

int PageView::pageCount() const
{
    return doc.pageCount();
}

QSizeF PageView::realSize() const
{
    const QSizeF mm = doc.pageSizeMm();
    return QSizeF(mm.width() * logicalDpiX() / 25.4, mm.height() * logicalDpiY() / 25.4);
}

QSizeF PageView::pageSize() const
{
    return realSize() * zoom;
}

double PageView::pageTop(int index) const
{
    return kGap + index * (pageSize().height() + kGap);
}

void PageView::fitZoom()
{
    const QSizeF real = realSize();
    if (mode == CustomZoom || real.isEmpty())
        return;
    const qreal byWidth = (viewport()->width() - 2 * kGap) / real.width();
    const qreal byHeight = (viewport()->height() - 2 * kGap) / real.height();
    const qreal z =
        std::clamp(mode == FitToWidth ? byWidth : std::min(byWidth, byHeight), kMinZoom, kMaxZoom);
    if (!qFuzzyCompare(z, zoom)) {
        zoom = z;
        cache.clear();
    }
}

void PageView::relayout()
{
    fitZoom();
    const QSizeF page = pageSize();
    const double height = kGap + pageCount() * (page.height() + kGap);
    const double width = page.width() + 2 * kGap;
    QScrollBar *v = verticalScrollBar(), *h = horizontalScrollBar();
    v->setPageStep(viewport()->height());
    v->setRange(0, std::max(0, int(std::ceil(height)) - viewport()->height()));
    h->setPageStep(viewport()->width());
    // A page fitted to the width fits: no scroll bar for a rounding pixel.
    h->setRange(0, mode == CustomZoom ? std::max(0, int(std::ceil(width)) - viewport()->width()) : 0);
    scrollingToPage = true;
    v->setValue(int(pageTop(current - 1)) - kGap);
    scrollingToPage = false;
    viewport()->update();
}

void PageView::setCurrentPage(int page)
{
    if (pageCount() == 0)
        return;
    current = std::clamp(page, 1, pageCount());
    scrollingToPage = true;
    verticalScrollBar()->setValue(int(pageTop(current - 1)) - kGap);
    scrollingToPage = false;
    viewport()->update();
}

void PageView::setZoomFactor(qreal factor)
{
    mode = CustomZoom;
    zoom = std::clamp(factor, kMinZoom, kMaxZoom);
    cache.clear();
    relayout();
}

void PageView::setZoomMode(ZoomMode zoomMode)
{
    mode = zoomMode;
    relayout();
}

void PageView::zoomIn(qreal step)
{
    setZoomFactor(zoom * step);
}

void PageView::zoomOut(qreal step)
{
    setZoomFactor(zoom / step);
}

void PageView::updatePreview()
{
    cache.clear();
    relayout();
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void PageView::scrollContentsBy(int, int)
{
    // The clerk scrolled: the current page is the one across the middle of the view.
    if (!scrollingToPage && pageCount() > 0) {
        const double middle = verticalScrollBar()->value() + viewport()->height() / 2.0;
        current = std::clamp(int((middle - kGap / 2.0) / (pageSize().height() + kGap)) + 1, 1, pageCount());
    }
    viewport()->update();
}

void PageView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() > 0)
            zoomIn(1.1);
        else if (event->angleDelta().y() < 0)
            zoomOut(1.1);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

const QImage &PageView::pageImage(int index)
{
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->index == index) {
            cache.splice(cache.begin(), cache, it);
            return cache.front().image;
        }
    }
    // Painted at the screen's own pixels, so that text is as sharp as the screen allows.
    const qreal ratio = devicePixelRatioF();
    const QSizeF size = pageSize() * ratio;
    QImage image(QSize(int(std::ceil(size.width())), int(std::ceil(size.height()))), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(logicalDpiX() * zoom * ratio / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(logicalDpiY() * zoom * ratio / 0.0254)));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        doc.paintPage(index, painter);
    }
    image.setDevicePixelRatio(ratio); // drawn pixel for pixel, never scaled
    ++painted;
    cache.push_front({index, std::move(image)});
    if (cache.size() > kKept)
        cache.pop_back();
    return cache.front().image;
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QSizeF page = pageSize();
    if (pageCount() == 0 || page.isEmpty())
        return;
    const int top = verticalScrollBar()->value();
    const double x = page.width() + 2 * kGap <= viewport()->width()
                         ? (viewport()->width() - page.width()) / 2.0
                         : kGap - horizontalScrollBar()->value();
    const int first = std::clamp(int((top - kGap) / (page.height() + kGap)), 0, pageCount() - 1);
    for (int i = first; i < pageCount(); ++i) {
        const double y = pageTop(i) - top;
        if (y > event->rect().bottom())
            break;
        const QRectF target(std::round(x), std::round(y), page.width(), page.height());
        if (!target.intersects(event->rect()))
            continue;
        painter.fillRect(target.translated(3, 3), QColor(0, 0, 0, 90)); // a shadow sets the sheet off
        painter.drawImage(target.topLeft(), pageImage(i));
    }
}

} // namespace report
