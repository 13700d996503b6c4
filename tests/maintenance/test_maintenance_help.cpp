// The about window TForm28, the help window TForm29 and the help viewer: the viewer's contents and
// index lead to their pages, back and forward walk the pages seen; "Segítség" opens the contents;
// F1 on the "Kifizetés" menu opens the payments page; a missing help says so and the help window
// stays; every link of the shipped pages leads to a page and place that exist.

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "maintenance/maintenance.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QDir>
#include <QDirIterator>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

QString shippedHelp()
{
    return TestDb::sourceDir() + QStringLiteral("/docs/help");
}

// The program finds its help in the working folder's "help".
void installHelp()
{
    QDir("help").removeRecursively();
    QDir().mkpath("help");
    for (const QString &f : QDir(shippedHelp()).entryList(QDir::Files))
        QFile::copy(shippedHelp() + "/" + f, "help/" + f);
}

QTreeWidgetItem *findEntry(QTreeWidget *tree, const QString &text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QString page(const HelpViewer &v)
{
    return v.browser->source().toString();
}

} // namespace

class TestMaintenanceHelp : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        mv() = ModuleValues{};
        installHelp();
    }

    void aboutShowsTheProgramsLinesCentred()
    {
        TForm28 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm28");
        QCOMPARE(w.windowTitle(), QString("Névjegy"));
        const QStringList lines = w.Memo1->toPlainText().split('\n');
        QCOMPARE(lines.mid(0, 3), (QStringList{"ZELVANA", "2006-2009.", ""}));
        QVERIFY(w.Memo1->isReadOnly());
        QCOMPARE(w.Memo1->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(w.Button2->text(), QString("Mégsem"));
    }

    void contentsAndIndexLeadToTheirPagesAndBackAndForwardWalkThem()
    {
        HelpViewer v(QStringLiteral("index.html"));
        QVERIFY(v.opened());
        QVERIFY(wt::showActive(v));
        wt::shot(v, "HelpViewer");
        QCOMPARE(page(v), QString("index.html"));
        QVERIFY(v.browser->toPlainText().contains("Tartalom"));
        // Headings group the pages.
        QTreeWidgetItem *registers = findEntry(v.contents, "Nyilvántartások");
        QVERIFY(registers && !registers->parent());
        QTreeWidgetItem *payments = findEntry(v.contents, "Kifizetések (terményben és pénzben)");
        QVERIFY(payments);
        QCOMPARE(payments->parent(), registers);
        QTreeWidgetItem *branch = findEntry(v.contents, "Művelési ág és bérleti díj (Ft/AK)");
        QVERIFY(branch && branch->parent() && branch->parent()->parent());
        QVERIFY(!findEntry(v.contents, "Tárgymutató")); // the footer is no entry
        emit v.contents->itemClicked(registers, 0);     // a heading is no page
        QCOMPARE(page(v), QString("index.html"));
        emit v.contents->itemClicked(payments, 0);
        QCOMPARE(page(v), QString("kifizetes.html"));
        QVERIFY(v.browser->toPlainText().contains("Kifizetések"));
        // The index leads to the place of the word.
        const auto hits = v.index->findItems("bankszámlaszám", Qt::MatchExactly);
        QCOMPARE(hits.size(), 1);
        emit v.index->itemClicked(hits.first());
        QCOMPARE(page(v), QString("tulajdonos.html#adatok"));
        QVERIFY(v.backButton->isEnabled());
        QVERIFY(!v.forwardButton->isEnabled());
        QTest::mouseClick(v.backButton, Qt::LeftButton);
        QCOMPARE(page(v), QString("kifizetes.html"));
        QVERIFY(v.forwardButton->isEnabled());
        QTest::mouseClick(v.forwardButton, Qt::LeftButton);
        QCOMPARE(page(v), QString("tulajdonos.html#adatok"));
        QTest::mouseClick(v.findChild<QPushButton *>("homeButton"), Qt::LeftButton);
        QCOMPARE(page(v), QString("index.html"));
    }

    void helpButtonOpensTheContentsAndAMissingHelpSaysSo()
    {
        UiDriver driver;
        TForm29 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm29");
        QCOMPARE(w.windowTitle(), QString("Súgó"));
        QString shown;
        driver.onModal([&](QDialog &d) {
            auto *v = qobject_cast<HelpViewer *>(&d);
            QVERIFY(v);
            shown = page(*v);
        });
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(shown, QString("index.html"));
        QVERIFY(driver.boxes.isEmpty());
        // Without the help folder: a message, no viewer, and the help window stays open.
        QDir("help").removeRecursively();
        const int modals = driver.modalCount();
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.lastText().startsWith("A súgó nem található"), qPrintable(driver.lastText()));
        QCOMPARE(driver.modalCount(), modals);
        QVERIFY(w.isVisible());
    }

    // F1 on the open "Kifizetés" menu asks for help context 1: the payments page.
    void f1OnThePaymentMenuOpensThePaymentsPage()
    {
        TestDb db(true);
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        QVERIFY(wt::showActive(form));
        QString shown;
        driver.onModal([&](QDialog &d) {
            QCOMPARE(d.metaObject()->className(), "TForm29");
            // The help opens as soon as the help window is on screen.
            QTRY_VERIFY(driver.modalCount() == 2);
        });
        driver.onModal([&](QDialog &d) {
            auto *v = qobject_cast<HelpViewer *>(&d);
            QVERIFY(v);
            shown = page(*v);
        });
        QTest::keyClick(form.Kifizets1, Qt::Key_F1);
        QCOMPARE(shown, QString("kifizetes.html"));
        QCOMPARE(driver.modalClasses(), (QStringList{"TForm29", "HelpViewer"}));
    }

    // Every link of every shipped page leads to a page that exists, and to a place on it that exists.
    void everyLinkOfTheHelpLeadsSomewhere()
    {
        const QDir dir(shippedHelp());
        const QStringList pages = dir.entryList({"*.html"}, QDir::Files);
        const QStringList files = dir.entryList(QDir::Files); // the pages and their stylesheet
        QVERIFY(pages.contains("index.html") && pages.contains("kulcsszavak.html") &&
                pages.contains(maintenance::helpPageOfContext(1)));
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        int links = 0;
        for (const QString &p : pages) {
            QFile f(dir.filePath(p));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(html.contains("<title>"), qPrintable(p));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(!target.contains("://"), qPrintable(p + ": " + target)); // nothing outside
                const QString file = target.section('#', 0, 0).isEmpty() ? p : target.section('#', 0, 0);
                const QString anchor = target.section('#', 1);
                QVERIFY2(files.contains(file), qPrintable(p + ": " + target));
                if (!anchor.isEmpty()) {
                    QFile t(dir.filePath(file));
                    QVERIFY(t.open(QIODevice::ReadOnly));
                    const QString other = QString::fromUtf8(t.readAll());
                    QVERIFY2(other.contains("id=\"" + anchor + "\"") ||
                                 other.contains("name=\"" + anchor + "\""),
                             qPrintable(p + ": " + target));
                }
                ++links;
            }
        }
        QVERIFY(links > 0); // the pattern finds the links at all
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestMaintenanceHelp t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_maintenance_help.moc"
