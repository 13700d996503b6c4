// The print preview of a long document: the time from showing it to the first page on the screen,
// a jump to the last page, and the memory it holds, against painting one page.
//   bench_preview [pages]

#include "bench/benchutil.h"
#include "reports/engine/document.h"
#include "reports/engine/pageview.h"
#include "reports/engine/preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTest>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
// A certificate-like page: forty lines of text, a frame and a few rules.
report::Document makeDocument(int pages)
{
    report::Document d;
    d.title = u"igazolas.frf"_s;
    d.fonts.push_back(QFont(u"DejaVu Sans"_s, 10));
    d.pages.resize(size_t(pages));
    for (int p = 0; p < pages; ++p) {
        report::Page &page = d.pages[size_t(p)];
        page.rects.push_back({QRectF(15, 15, 180, 267), 0.3});
        for (int l = 0; l < 40; ++l) {
            report::TextItem t;
            t.rect = QRectF(20, 20 + l * 6, 170, 5);
            t.text = u"%1. oldal, %2. sor: Kovács Éva, 6100 Kiskunfélegyháza, 12 345,67 Ft"_s.arg(p + 1).arg(
                l + 1);
            t.origin = QPointF(20, 24 + l * 6);
            page.texts.push_back(t);
        }
        for (int l = 0; l < 5; ++l)
            page.lines.push_back({QPointF(20, 30 + l * 50), QPointF(190, 30 + l * 50)});
    }
    return d;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 5000;
    const report::Document doc = makeDocument(pages);

    // The cost of one page painted at screen resolution: what a preview must do at the least.
    QImage image(794, 1123, QImage::Format_RGB32);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i) {
        image.fill(Qt::white);
        QPainter painter(&image);
        doc.paintPage(i % pages, painter);
    }
    const double onePage = t.nsecsElapsed() / 1e6 / 20;

    const long heapBefore = long(bench::heapInUse() / 1024);
    t.restart();
    report::PreviewDialog dialog(doc);
    dialog.show();
    QTest::qWaitForWindowExposed(&dialog);
    QCoreApplication::processEvents();
    const double open = t.nsecsElapsed() / 1e6;
    const long heapOpen = long(bench::heapInUse() / 1024) - heapBefore;

    t.restart();
    QTest::keyClick(&dialog, Qt::Key_End);
    QCoreApplication::processEvents();
    const double toLast = t.nsecsElapsed() / 1e6;

    const long heapAfter = long(bench::heapInUse() / 1024) - heapBefore;
    std::printf("pages %d: one page painted %.2f ms; preview shown %.1f ms (%.1f pages' worth), "
                "End %.1f ms; pages painted %d; heap held by the preview %ld KiB (after End %ld KiB)\n",
                pages, onePage, open, open / onePage, toLast, dialog.previewWidget()->pagesPainted(),
                heapOpen, heapAfter);
    return 0;
}
