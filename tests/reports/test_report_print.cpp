// Printing a template the way the windows do: the file read from the working directory at every
// print, the messages that stop a print, the preview, the print dialog and the archive.

#include "foundation/ui.h"
#include "reports/engine/archive.h"
#include "reports/engine/pageview.h"
#include "reports/engine/preview.h"
#include "reports/engine/tablecursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace report;

namespace {

// Records every box; each modal window is handed to `onModal` instead of running its own loop.
class Recorder : public ui::Handler
{
public:
    Recorder() { ui::setHandler(this); }
    ~Recorder() override { ui::setHandler(nullptr); }
    void showBox(const ui::Box &box) override { boxes << box; }
    int showModal(QDialog &dialog) override
    {
        modals << QString::fromLatin1(dialog.metaObject()->className());
        return onModal ? onModal(dialog) : int(QDialog::Rejected);
    }
    bool ask(const ui::Box &box) override
    {
        boxes << box;
        return false;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QList<ui::Box> boxes;
    QStringList modals;
    std::function<int(QDialog &)> onModal;
};

// Runs each test in a working directory of its own, as the program runs in the folder of its templates.
class WorkingDir
{
public:
    WorkingDir()
        : old(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
    }
    ~WorkingDir() { QDir::setCurrent(old); }
    void write(const QString &name, const QByteArray &xml)
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(xml);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
    QString old;
};

struct Fixture
{
    TableCursor rows{{"nNev"}};
    QueryDataset dataset{"frDBDataSet31", &rows};
    SimpleContext context;
    Variables vars;
    Report report;
    Fixture(int count = 3)
    {
        for (int i = 1; i <= count; ++i)
            rows.addRow({QString("Tulajdonos %1").arg(i)});
        context.addDataset(&dataset);
    }
};

// One owner per page.
const QByteArray kThreePages = R"(<report name='Lista' page='A4'>
  <pageHeader height='10'><text width='100' height='5'>Őrségi Gazdaság</text></pageHeader>
  <masterData dataset='frDBDataSet31' height='5' pageBreakAfter='true'>
    <text width='100' height='5'>[frDBDataSet31.nNev]</text></masterData>
  <pageFooter height='8'><text width='100' height='5'>[PAGE#]. oldal / [TOTALPAGES#]</text></pageFooter>
</report>)";

QList<QAbstractButton *> visibleButtons(QDialog &dialog)
{
    QList<QAbstractButton *> out;
    for (QAbstractButton *b : dialog.findChildren<QAbstractButton *>())
        if (b->isVisibleTo(&dialog))
            out << b;
    return out;
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-enc", "UTF-8", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReportPrint : public QObject
{
    Q_OBJECT

private slots:
    // A run of thousands of pages (certificates of every owner) opens without painting them all:
    // only the pages in sight are painted, and going to the end paints only the pages there.
    void aLongPreviewPaintsOnlyThePagesInSight()
    {
        Document doc;
        doc.fonts.push_back(QFont(QStringLiteral("DejaVu Sans"), 10));
        doc.pages.resize(3000);
        for (int p = 0; p < 3000; ++p) {
            TextItem t;
            t.rect = QRectF(20, 20, 170, 5);
            t.text = QStringLiteral("%1. oldal").arg(p + 1);
            t.origin = QPointF(20, 24);
            doc.pages[size_t(p)].texts.push_back(t);
        }
        PreviewDialog dialog(doc);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        PageView *view = dialog.previewWidget();
        QCOMPARE(view->pageCount(), 3000);
        QTRY_VERIFY(view->pagesPainted() > 0);
        QVERIFY2(view->pagesPainted() <= 4, qPrintable(QString::number(view->pagesPainted())));
        QTest::keyClick(&dialog, Qt::Key_End);
        QCOMPARE(view->currentPage(), 3000);
        QTRY_VERIFY(view->pagesPainted() > 1);
        QVERIFY2(view->pagesPainted() <= 8, qPrintable(QString::number(view->pagesPainted())));
        // Scrolling by hand makes the page across the middle of the view the current one.
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        QVERIFY2(std::abs(view->currentPage() - 1500) <= 2, qPrintable(QString::number(view->currentPage())));
    }

    void missingTemplateGivesMessageAndNoPreview()
    {
        WorkingDir wd;
        Recorder ui;
        Fixture f;
        QVERIFY(!printTemplate(f.report, f.context, f.vars, "nincs.frf", QPageLayout::Portrait));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, ui::BoxKind::Message);
        QCOMPARE(ui.boxes[0].text, QString("Cannot open file nincs.frf"));
        QVERIFY(ui.modals.isEmpty());
    }

    void buildErrorsShowAnErrorBoxAndNoPreview_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("text"); // the box text starts with it
        QTest::newRow("unknown field")
            << QByteArray(R"(<report><masterData dataset='frDBDataSet31' height='5'>
<text width='50' height='5'>[frDBDataSet31.nincs]</text></masterData></report>)")
            << "Field 'nincs' not found";
        QTest::newRow("broken template")
            << QByteArray("<report>\n<masterData height=\"5\">\n<text width=\"5\" height=\"5\">\n</report>")
            << "Template hibas.frf, line 4, column";
    }
    void buildErrorsShowAnErrorBoxAndNoPreview()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, text);
        WorkingDir wd;
        wd.write("hibas.frf", xml);
        Recorder ui;
        Fixture f;
        QVERIFY(!printTemplate(f.report, f.context, f.vars, "hibas.frf", QPageLayout::Portrait));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, ui::BoxKind::Titled);
        QCOMPARE(ui.boxes[0].title, QString("Error"));
        QVERIFY2(ui.boxes[0].text.startsWith(text), qPrintable(ui.boxes[0].text));
        QVERIFY(ui.modals.isEmpty());
    }

    void callbackErrorsStopThePrintTheSameWay()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f;
        f.dataset.onNext = [] {
            throw std::runtime_error("SQL Error: Table 'zelv2010.alresz' doesn't exist");
        };
        QVERIFY(!printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].title, QString("Error"));
        QCOMPARE(ui.boxes[0].text, QString("SQL Error: Table 'zelv2010.alresz' doesn't exist"));
        QVERIFY(ui.modals.isEmpty());
    }

    void previewShowsThePagesWithOneButtonThatClosesIt()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f;
        bool checked = false;
        ui.onModal = [&](QDialog &dialog) {
            auto *preview = qobject_cast<PreviewDialog *>(&dialog);
            if (!preview)
                return int(QDialog::Rejected);
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                return int(QDialog::Rejected);
            PageView *view = preview->previewWidget();
            view->updatePreview();
            [&] { QTRY_COMPARE(view->pageCount(), 3); }();

            const QList<QAbstractButton *> buttons = visibleButtons(dialog);
            [&] {
                QCOMPARE(buttons.size(), 1);
                QCOMPARE(buttons[0]->text(), QString("Bezár"));
            }();

            // Page keys.
            QStringList pages;
            for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp,
                                Qt::Key_Home, Qt::Key_End}) {
                QTest::keyClick(&dialog, key);
                pages << QString::number(view->currentPage());
            }
            [&] { QCOMPARE(pages, (QStringList{"2", "3", "3", "2", "1", "3"})); }();

            // Zoom from the context menu.
            QStringList captions;
            for (QAction *a : preview->contextMenu()->actions())
                if (!a->isSeparator())
                    captions << a->text();
            [&] {
                QCOMPARE(captions, (QStringList{"Nagyítás", "Kicsinyítés", "Teljes oldal", "Oldalszélesség",
                                                "Nyomtatás..."}));
            }();
            const qreal before = view->zoomFactor();
            preview->contextMenu()->actions().at(0)->trigger();
            [&] { QVERIFY(view->zoomFactor() > before); }();
            preview->contextMenu()->actions().at(2)->trigger();
            [&] { QCOMPARE(view->zoomMode(), PageView::FitInView); }();

            // Without an installed printer the preview still works, over a PDF printer.
            if (QPrinterInfo::defaultPrinter().isNull())
                [&] { QCOMPARE(preview->printer().outputFormat(), QPrinter::PdfFormat); }();

            QTest::mouseClick(buttons.value(0), Qt::LeftButton);
            [&] { QVERIFY(!dialog.isVisible()); }();
            checked = !QTest::currentTestFailed();
            return dialog.result();
        };
        QVERIFY(printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait));
        QVERIFY(checked);
        QCOMPARE(ui.modals, QStringList{"report::PreviewDialog"});
        QVERIFY(ui.boxes.isEmpty());
    }

    void ctrlPPrintsThroughThePrintDialogToAPdfFile()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f;
        const QString out = wd.path("kinyomtatva.pdf");
        ui.onModal = [&](QDialog &dialog) {
            if (auto *print = qobject_cast<QPrintDialog *>(&dialog)) {
                // What the user picks in the dialog: print to a file, pages 2 to 3.
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(out);
                print->printer()->setPrintRange(QPrinter::PageRange);
                print->printer()->setFromTo(2, 3);
                return int(QDialog::Accepted);
            }
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            if (QTest::qWaitForWindowActive(&dialog))
                QTest::keyClick(&dialog, Qt::Key_P, Qt::ControlModifier);
            return int(QDialog::Rejected);
        };
        QVERIFY(printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait));
        QCOMPARE(ui.modals, (QStringList{"report::PreviewDialog", "QPrintDialog"}));
        QVERIFY(QFile::exists(out));
        const QString text = pdfText(out);
        QCOMPARE(text.count('\f'), 2);
        QVERIFY(!text.contains("Tulajdonos 1"));
        QVERIFY(text.contains("Tulajdonos 2") && text.contains("Tulajdonos 3"));
        QVERIFY(text.contains("3. oldal / 3"));
        QVERIFY(text.contains("Őrségi Gazdaság"));
    }

    void aPrintThatCannotBeWrittenIsReported()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f;
        const QString out = wd.path("nincs/ilyen/mappa/lista.pdf");
        ui.onModal = [&](QDialog &dialog) {
            if (auto *print = qobject_cast<QPrintDialog *>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(out);
                return int(QDialog::Accepted);
            }
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            if (QTest::qWaitForWindowActive(&dialog))
                QTest::keyClick(&dialog, Qt::Key_P, Qt::ControlModifier);
            return int(QDialog::Rejected);
        };
        QVERIFY(printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].text, "A nyomtatás nem sikerült: " + out);
    }

    void longBuildShowsItsProgressAndCanBeCancelled_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("runs to the end") << false;
        QTest::newRow("cancelled") << true;
    }
    void longBuildShowsItsProgressAndCanBeCancelled()
    {
        QFETCH(bool, cancel);
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f(60);
        QElapsedTimer clock;
        QProgressDialog *seen = nullptr;
        f.dataset.onOpen = [&] { clock.start(); };
        // Each owner takes a while, as a slow detail query would.
        f.dataset.onNext = [&] {
            QThread::msleep(20);
            if (seen || clock.elapsed() < 800)
                return;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->isVisible())
                    seen = p;
            if (seen && cancel)
                seen->cancel();
        };
        const bool shown = printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait);
        QVERIFY(seen != nullptr);
        QCOMPARE(shown, !cancel);
        QCOMPARE(ui.modals.size(), cancel ? 0 : 1);
        QVERIFY(ui.boxes.isEmpty()); // a cancelled print says nothing
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QProgressDialog *>(w) || !w->isVisible());
    }

    void templateChangedOnDiskTakesEffectAtTheNextPrint()
    {
        WorkingDir wd;
        Recorder ui;
        Fixture f(1);
        QStringList seen;
        ui.onModal = [&](QDialog &dialog) {
            if (auto *preview = qobject_cast<PreviewDialog *>(&dialog))
                seen << preview->document().texts(0).join("|");
            return int(QDialog::Rejected);
        };
        const QByteArray a =
            R"(<report><reportTitle height='5'><text width='50' height='5'>Régi</text></reportTitle></report>)";
        const QByteArray b =
            R"(<report><reportTitle height='5'><text width='50' height='5'>Új [frDBDataSet31.nNev]</text></reportTitle>
<masterData dataset='frDBDataSet31' height='5'/></report>)";
        wd.write("Tulaj.frf", a);
        QVERIFY(printTemplate(f.report, f.context, f.vars, "Tulaj.frf", QPageLayout::Portrait));
        wd.write("Tulaj.frf", b);
        QVERIFY(printTemplate(f.report, f.context, f.vars, "Tulaj.frf", QPageLayout::Portrait));
        QCOMPARE(seen, (QStringList{"Régi", "Új Tulajdonos 1"}));
        QVERIFY(ui.boxes.isEmpty());
    }

    void everyPrintIsArchivedAsPdfWhenAFolderIsNamed()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        Recorder ui;
        Fixture f;
        const QString folder = wd.path("archivum/2026");
        qputenv("ZELVANA_PDF_ARCHIVE", folder.toUtf8());
        const bool printed = printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait);
        qunsetenv("ZELVANA_PDF_ARCHIVE");
        QVERIFY(printed);
        const QStringList files = QDir(folder).entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression("^lista_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.pdf$")
                     .match(files[0])
                     .hasMatch(),
                 qPrintable(files[0]));
        QVERIFY(pdfText(QDir(folder).filePath(files[0])).contains("2. oldal / 3"));

        // Without the variable nothing is written.
        QVERIFY(printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait));
        QCOMPARE(QDir(folder).entryList({"*.pdf"}, QDir::Files).size(), 1);
        QVERIFY(ui.boxes.isEmpty());
    }

    void archiveNamesFollowTemplateAndTime()
    {
        const QDateTime when(QDate(2026, 12, 10), QTime(14, 3, 22));
        QCOMPARE(archiveFileName("Tulaj.frf", when), QString("Tulaj_2026-12-10_14-03-22.pdf"));
        QTemporaryDir dir;
        const QString folder = dir.filePath("archivum");
        Document doc;
        doc.pages.emplace_back();
        const QString first = archiveDocument(doc, folder, "Tulaj.frf", when);
        const QString second = archiveDocument(doc, folder, "Tulaj.frf", when);
        QCOMPARE(QFileInfo(first).fileName(), QString("Tulaj_2026-12-10_14-03-22.pdf"));
        QCOMPARE(QFileInfo(second).fileName(), QString("Tulaj_2026-12-10_14-03-22_2.pdf"));
        QVERIFY(QFile::exists(first) && QFile::exists(second));
        // Records of owners' money: the folder the program made and the files are the user's alone.
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QCOMPARE(QFile::permissions(first), owner);
        QCOMPARE(QFile::permissions(folder), owner | QFile::ExeOwner | QFile::ExeUser);
    }

    void unwritableArchiveIsReported()
    {
        WorkingDir wd;
        wd.write("lista.frf", kThreePages);
        wd.write("fajl", "not a folder");
        Recorder ui;
        Fixture f;
        qputenv("ZELVANA_PDF_ARCHIVE", wd.path("fajl").toUtf8());
        const bool printed = printTemplate(f.report, f.context, f.vars, "lista.frf", QPageLayout::Portrait);
        qunsetenv("ZELVANA_PDF_ARCHIVE");
        QVERIFY(printed); // the preview still opens
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY2(ui.boxes[0].text.startsWith("Cannot create file "), qPrintable(ui.boxes[0].text));
    }
};

QTEST_MAIN(TestReportPrint)
#include "test_report_print.moc"
