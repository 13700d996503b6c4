#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

    static QString startupText() { return TForm1::startupMessageLines().join('\n'); }

private slots:
    void startsWithEveryTableAndShowsTheWholeMenu()
    {
        TestDb db(true);
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        QVERIFY(driver.boxes.isEmpty());
        QVERIFY(hasData());
        QCOMPARE(form.windowTitle(), QString("Zelvana Ver. 2.7 2010. év"));
        QCOMPARE(form.height(), 223);
        QVERIFY(form.width() >= 553);
        // Every table view is open; the tenant's row is there for the report headers.
        for (Query *v : Data().tableViews())
            QVERIFY2(v->isOpen(), qPrintable(v->name()));

        struct Item
        {
            const char *name, *caption;
        };
        const Item expected[] = {
            {"Bizonylat1", "Terményben"},
            {"Jegyzk1", "Jegyzék"},
            {"Atutalas1", "Átutalás"},
            {"Csoportos1", "Csoportos feladás"},
            {"Igazols1", "Igazolás"},
            {"Bejelents1", "Bejelentés"},
            {"Lekrdezs4", "Listák"},
            {"Haszonbrlet1", "Szerződés"},
            {"Bevitel1", "Tulajdonos"},
            {"Tbla1", "Helyrajziszám"},
            {"mvelsig1", "Művelési ág"},
            {"Helysgnv2", "Helységnév"},
            {"Tulajdonforma2", "Tulajdonforma"},
            {"Fekvs2", "Fekvés"},
            {"Ellenrzs1", "Ellenörzés"},
            {"Adatments1", "Adat export"},
            {"Vge1", "Vége"},
            {"Nvjegy1", "Névjegy"},
            {"Sg1", "Súgó"},
        };
        for (const auto &item : expected) {
            auto *a = form.findChild<QAction *>(item.name);
            QVERIFY2(a, item.name);
            QCOMPARE(a->text(), QString(item.caption));
        }
        // Top level in menu-bar order.
        QStringList top;
        for (QAction *a : form.menuBar()->actions())
            top << a->text();
        QCOMPARE(top, (QStringList{"Kifizetés", "Bejelentés", "Listák", "Szerződés", "Tulajdonos",
                                   "Helyrajziszám", "Törzsadat", "Segédlet", "Kilépés"}));
        QCOMPARE(form.Kifizets1->property("helpContext").toInt(), 1);
        QVERIFY(form.findChild<QAction *>("Vge1")->isEnabled());
        QCOMPARE(qApp->property("helpFile").toString(), QString("ZELV.HLP"));
        QCOMPARE(QLocale().decimalPoint(), QString(","));
    }

    void everyMenuWindowOpensAndClosesWithoutLeavingAWindow()
    {
        TestDb db(true);
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        form.show();
        QStringList opened;
        for (QAction *a : form.findChildren<QAction *>()) {
            if (a->menu() || a->objectName() == QLatin1String("Vge1") || a->objectName().isEmpty() ||
                a->objectName().endsWith(QLatin1String("Action")))
                continue;
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName())); // every item has its window
            a->trigger();
            opened << a->objectName();
        }
        QVERIFY(opened.size() >= 6);
        QCOMPARE(driver.modalCount(), opened.size());
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(QLatin1Char('|'))));
        QCoreApplication::processEvents();
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<QDialog *>(w), qPrintable(w->objectName()));
        QVERIFY(form.isVisible());
    }

    void settingsComeFromTheEnvironmentOrThePrivateSocket()
    {
        for (const char *v : {"ZELVANA_DB_HOST", "ZELVANA_DB_PORT", "ZELVANA_DB_SOCKET", "ZELVANA_DB_NAME"})
            qunsetenv(v);
        qputenv("XDG_DATA_HOME", "/tmp/zelvana-adatok");
        ConnectionSettings s = ConnectionSettings::fromEnvironment();
        QCOMPARE(s.socket, QString("/tmp/zelvana-adatok/zelvana/run/mariadbd.sock"));
        QVERIFY(s.tcpWhenNoSocket);
        QCOMPARE(s.host, QString("localhost"));
        QCOMPARE(s.port, 3306u);
        QCOMPARE(s.database, QString("zelv2010"));

        qputenv("ZELVANA_DB_SOCKET", "/tmp/masik.sock");
        s = ConnectionSettings::fromEnvironment();
        QCOMPARE(s.socket, QString("/tmp/masik.sock"));
        QVERIFY(!s.tcpWhenNoSocket);

        qunsetenv("ZELVANA_DB_SOCKET");
        qputenv("ZELVANA_DB_PORT", "3307");
        s = ConnectionSettings::fromEnvironment();
        QVERIFY(s.socket.isEmpty());
        QCOMPARE(s.port, 3307u);
        qunsetenv("ZELVANA_DB_PORT");
        qunsetenv("XDG_DATA_HOME");
    }

    void connectsThroughTheSocketWhenItAnswersAndOtherwiseOverTcp_data()
    {
        QTest::addColumn<bool>("realSocket");
        QTest::addColumn<bool>("tcpAllowed");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("socket answers") << true << true << "socket";
        QTest::newRow("nobody on the socket: TCP") << false << true << "tcp";
        QTest::newRow("nobody on the socket, socket only") << false << false << "refused";
    }
    void connectsThroughTheSocketWhenItAnswersAndOtherwiseOverTcp()
    {
        QFETCH(bool, realSocket);
        QFETCH(bool, tcpAllowed);
        QFETCH(QString, outcome);
        TestDb db;
        ConnectionSettings s = db.settings();
        QFile path(TestDb::serverDir() + "/socketpath");
        QVERIFY(path.open(QIODevice::ReadOnly));
        s.socket =
            realSocket ? QString::fromUtf8(path.readAll()).trimmed() : QString("/tmp/nincs-itt-szerver.sock");
        s.tcpWhenNoSocket = tcpAllowed;
        try {
            Connection c(s);
            QCOMPARE(c.viaSocket() ? QString("socket") : QString("tcp"), outcome);
            ResultPtr r = c.execute("SELECT count(*) FROM muvag");
            QVERIFY(r != nullptr);
        } catch (const DbError &e) {
            QCOMPARE(QString("refused"), outcome);
            QVERIFY2(e.text().startsWith("SQL Error: "), qPrintable(e.text()));
        }
    }

    void serverNotReachableShowsTheStartupBox()
    {
        TestDb db;
        // A port on which nothing answers.
        qputenv("ZELVANA_DB_PORT", "1");
        UiDriver driver;
        TForm1 form;
        QVERIFY(!form.startedUp());
        QVERIFY(!hasData());
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes[0].kind, ui::BoxKind::Confirm);
        QCOMPARE(driver.boxes[0].title, QString("Confirm"));
        QCOMPARE(driver.boxes[0].text, startupText());
        QCOMPARE(driver.boxes[0].text.split('\n').size(), 6);
    }

    void missingWorkTableShowsTheStartupBox()
    {
        TestDb db;
        db.exec("DROP TABLE munk");
        UiDriver driver;
        TForm1 form;
        QVERIFY(!form.startedUp());
        QCOMPARE(driver.texts(), QStringList{startupText()});
    }

    void uncaughtErrorIsShownAndTheWindowStaysUsable()
    {
        TestDb db;
        UiDriver driver;
        QPushButton button("x");
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            if (clicks == 1)
                throw DbError("SQL Error: Table 'zelv2010.x' doesn't exist");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes[0].kind, ui::BoxKind::Error);
        QCOMPARE(driver.boxes[0].text, QString("SQL Error: Table 'zelv2010.x' doesn't exist"));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(driver.boxes.size(), 1);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestStartup t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_startup.moc"
