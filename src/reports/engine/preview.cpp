#include "reports/engine/preview.h"

#include "reports/engine/pageview.h"

#include "foundation/ui.h"
#include "reports/engine/archive.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace report {

namespace {

void setUpPrinter(QPrinter &printer, const Document &document)
{
    printer.setFullPage(true); // the pages carry their own margins
    if (!printer.setPageLayout(document.pageLayout())) {
        // A printer may refuse margins below its own minimum; size and orientation still apply.
        printer.setPageSize(document.pageSize);
        printer.setPageOrientation(document.orientation);
    }
    printer.setDocName(document.title);
}

bool paintPages(const Document &document, QPrinter &printer, int from, int to)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            printer.newPage();
        document.paintPage(i, painter);
    }
    return painter.end();
}

} // namespace

std::unique_ptr<QPrinter> makePrinter(const Document &document)
{
    std::unique_ptr<QPrinter> printer;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    setUpPrinter(*printer, document);
    return printer;
}

bool printDocument(const Document &document, QPrinter &printer)
{
    if (document.pageCount() == 0)
        return true;
    int from = 0, to = document.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage() - 1, 0, to);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() - 1 : to, from, to);
    }
    return paintPages(document, printer, from, to);
}

PreviewDialog::PreviewDialog(const Document &document, QWidget *parent)
    : QDialog(parent)
    , doc(document)
    , printerPtr(makePrinter(document))
{
    setObjectName(QStringLiteral("PreviewDialog"));
    setWindowTitle(document.title.isEmpty() ? QStringLiteral("Nyomtatási kép")
                                            : QStringLiteral("Nyomtatási kép – %1").arg(document.title));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    // Every page of the document, whatever range was printed last; painted as they come in sight.
    preview = new PageView(doc, this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setAccessibleName(QStringLiteral("Nyomtatási kép"));

    auto *close = new QPushButton(QStringLiteral("Bezár"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(preview, 1);
    layout->addLayout(buttons);

    menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("previewMenu"));
    auto menuAction = [&](const QString &text, const char *name, const QKeySequence &keys, auto slot) {
        auto *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!keys.isEmpty()) {
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WindowShortcut);
            this->addAction(a); // the keys work without opening the menu
        }
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    menuAction(QStringLiteral("Nagyítás"), "zoomIn", QKeySequence::ZoomIn, [this] { preview->zoomIn(); });
    menuAction(QStringLiteral("Kicsinyítés"), "zoomOut", QKeySequence::ZoomOut,
               [this] { preview->zoomOut(); });
    menuAction(QStringLiteral("Teljes oldal"), "fitInView", QKeySequence(),
               [this] { preview->setZoomMode(PageView::FitInView); });
    menuAction(QStringLiteral("Oldalszélesség"), "fitToWidth", QKeySequence(),
               [this] { preview->setZoomMode(PageView::FitToWidth); });
    menu->addSeparator();
    menuAction(QStringLiteral("Nyomtatás..."), "print", QKeySequence::Print, [this] { print(); });

    auto pageKey = [&](QKeySequence keys, auto target) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, target] { goToPage(target(preview->currentPage())); });
    };
    pageKey(QKeySequence(Qt::Key_PageDown), [](int page) { return page + 1; });
    pageKey(QKeySequence(Qt::Key_PageUp), [](int page) { return page - 1; });
    pageKey(QKeySequence(Qt::Key_Home), [](int) { return 1; });
    pageKey(QKeySequence(Qt::Key_End), [this](int) { return doc.pageCount(); });

    // The preview's view and viewport receive the right click; the menu opens wherever it lands.
    preview->installEventFilter(this);
    for (QWidget *w : preview->findChildren<QWidget *>())
        w->installEventFilter(this);

    preview->setZoomMode(PageView::FitToWidth);
    resize(900, 1000);
}

PreviewDialog::~PreviewDialog() = default;

bool PreviewDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PreviewDialog::goToPage(int page)
{
    preview->setCurrentPage(std::clamp(page, 1, std::max(1, doc.pageCount())));
}

void PreviewDialog::print()
{
    QPrintDialog dialog(printerPtr.get(), this);
    dialog.setWindowTitle(QStringLiteral("Nyomtatás"));
    dialog.setMinMax(1, std::max(1, doc.pageCount()));
    if (ui::showModal(dialog) != QDialog::Accepted)
        return;
    // A printer that cannot be opened (a PDF file in a folder without write access, a printer
    // gone away) must not pass for a finished print.
    if (!printDocument(doc, *printerPtr)) {
        const QString target =
            printerPtr->outputFileName().isEmpty() ? printerPtr->printerName() : printerPtr->outputFileName();
        ui::message(QStringLiteral("A nyomtatás nem sikerült: %1").arg(target));
    }
}

bool printTemplate(Report &report, DataContext &data, Variables &variables, const QString &fileName,
                   QPageLayout::Orientation orientation, QWidget *parent)
{
    try {
        report.load(QDir::current().filePath(fileName), fileName);
    } catch (const TemplateFileError &e) {
        ui::message(e.message());
        return false;
    } catch (const ReportError &e) {
        ui::titledBox(e.title(), e.message());
        return false;
    }

    // A long build shows its progress after half a second and keeps the windows painted; it still
    // runs here, on the user-interface thread, since the callbacks work on the data module.
    QElapsedTimer started, sinceEvents;
    started.start();
    sinceEvents.start();
    std::unique_ptr<QProgressDialog> progressDialog;
    auto progress = [&](int pages, int) {
        if (!progressDialog && started.elapsed() >= 500) {
            progressDialog = std::make_unique<QProgressDialog>(parent);
            progressDialog->setObjectName(QStringLiteral("buildProgress"));
            progressDialog->setWindowTitle(QStringLiteral("Nyomtatás"));
            progressDialog->setCancelButtonText(QStringLiteral("Mégse"));
            progressDialog->setRange(0, 0);
            progressDialog->setMinimumDuration(0);
            progressDialog->setWindowModality(Qt::ApplicationModal);
            progressDialog->show();
        }
        if (progressDialog) {
            progressDialog->setLabelText(QStringLiteral("A nyomtatvány készül: %1. oldal").arg(pages));
            if (sinceEvents.elapsed() >= 50) {
                QApplication::processEvents();
                sinceEvents.restart();
            }
            return !progressDialog->wasCanceled();
        }
        return true;
    };

    Document document;
    try {
        document = report.build(data, variables, orientation, progress);
    } catch (const BuildCancelled &) {
        return false;
    } catch (const ReportError &e) {
        progressDialog.reset();
        ui::titledBox(e.title(), e.message());
        return false;
    } catch (const std::exception &e) {
        // A database error in a callback stops the build the same way, with the server's message.
        progressDialog.reset();
        ui::titledBox(QStringLiteral("Error"), QString::fromUtf8(e.what()));
        return false;
    }
    progressDialog.reset();

    const QString folder = archiveFolder();
    if (!folder.isEmpty()) {
        QString failed;
        if (archiveDocument(document, folder, fileName, QDateTime::currentDateTime(), &failed).isEmpty())
            ui::message(QStringLiteral("Cannot create file %1").arg(failed));
    }

    PreviewDialog dialog(document, parent);
    ui::showModal(dialog);
    return true;
}

} // namespace report
