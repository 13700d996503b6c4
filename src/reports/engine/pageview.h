#pragma once
// The pages of a document on the screen, one under the other. Only the pages in sight are painted,
// each into a picture kept for a while: a certificate run of thousands of pages opens as fast as
// one page and holds a handful of pictures, not thousands.

#include <QAbstractScrollArea>
#include <QImage>
#include <list>

namespace report {

class Document;

class PageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum ZoomMode
    {
        CustomZoom,
        FitToWidth,
        FitInView
    };

    explicit PageView(const Document &document, QWidget *parent = nullptr);

    int pageCount() const;
    // 1-based: the page last gone to, or the one in the middle of the view after scrolling.
    int currentPage() const { return current; }
    void setCurrentPage(int page);

    // 1.0: the paper's real size on the screen.
    qreal zoomFactor() const { return zoom; }
    void setZoomFactor(qreal factor);
    ZoomMode zoomMode() const { return mode; }
    void setZoomMode(ZoomMode zoomMode);
    void zoomIn(qreal step = 1.25);
    void zoomOut(qreal step = 1.25);

    // Forgets the painted pages and paints again what is in sight.
    void updatePreview();
    // Pages painted since the view was made (the benchmark and the tests read it).
    int pagesPainted() const { return painted; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QSizeF realSize() const; // of one page at the paper's size, in the widget's pixels
    QSizeF pageSize() const; // the same at the zoom
    double pageTop(int index) const;
    void fitZoom();
    void relayout();
    const QImage &pageImage(int index);

    const Document &doc;
    qreal zoom = 1.0;
    ZoomMode mode = FitToWidth;
    int current = 1;
    bool scrollingToPage = false;
    int painted = 0;
    struct Cached
    {
        int index;
        QImage image;
    };
    std::list<Cached> cache; // the most recently shown first
};

} // namespace report
