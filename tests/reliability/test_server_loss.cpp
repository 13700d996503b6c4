// A server that goes away, and two copies of the program on one database. A server of this test's
// own is killed (kill -9) at chosen points — with a window open, in the middle of a save, of a group
// posting and of a work table rebuild — and started again on the same data folder: the program
// says in Hungarian what happened, leaves nothing half-written, and the next action works without
// a restart. A second copy is played by another session on the server: it holds the work table's
// lock, or takes a voucher number just before the window stores it.

#include "foundation/application.h"
#include "foundation/connection.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "owners/owners.h"
#include "payments/payments.h"
#include "settlement/windows.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString serverScript()
{
    return TestDb::sourceDir() + u"/tests/support/testserver.sh"_s;
}

bool server(const QString &command)
{
    return QProcess::execute(u"bash"_s, {serverScript(), command, TestDb::serverDir()}) == 0;
}

bool gone(pid_t pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    // A killed process that nobody has reaped yet is dead all the same.
    return stat.readAll().split(' ').value(2) == "Z";
}

// kill -9 of the server, and waiting until it is really gone.
void killServer()
{
    QFile f(TestDb::serverDir() + u"/pid"_s);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const pid_t pid = f.readAll().trimmed().toInt();
    QVERIFY(pid > 0);
    ::kill(pid, SIGKILL);
    QElapsedTimer t;
    t.start();
    while (!gone(pid) && t.elapsed() < 10000)
        QTest::qSleep(10);
    QVERIFY(gone(pid));
}

// Kills the server just before the `nth` statement that starts with `start` (counting from 1).
void killBefore(const QString &start, int nth = 1)
{
    auto seen = std::make_shared<int>(0);
    const QByteArray prefix = start.toLatin1();
    Data().ZCon1->beforeStatement = [prefix, nth, seen](const QByteArray &statement) {
        if (qEnvironmentVariableIsSet("ZELVANA_VERBOSE"))
            qInfo("statement: %s", statement.left(60).constData());
        if (statement.trimmed().startsWith(prefix) && ++*seen == nth)
            killServer();
    };
}

void restart(TestDb &db)
{
    QVERIFY(server(u"restart"_s));
    db.connectRoot();
}

// The boxes say, in Hungarian, that the database went away; none is a raw error box.
void toldInHungarian(const UiDriver &driver, const QString &what)
{
    QVERIFY2(!driver.boxes.isEmpty(), qPrintable(what));
    if (qEnvironmentVariableIsSet("ZELVANA_VERBOSE"))
        qInfo("%s: %s", qPrintable(what), qPrintable(driver.texts().join(u" / "_s)));
    bool lossSaid = false;
    for (const auto &b : driver.boxes) {
        QVERIFY2(b.kind != ui::BoxKind::Error, qPrintable(what + u": "_s + b.text));
        lossSaid = lossSaid || b.text.contains(u"adatbázis"_s);
    }
    QVERIFY2(lossSaid, qPrintable(what + u": "_s + driver.texts().join(u" / "_s)));
}

// Four owners owed rent (contracts under branch 1 at 1000 Ft/AK), none paid yet.
const char *kOwed = R"(
UPDATE muvag SET mDij = 1000 WHERE mKod = '1';
INSERT INTO tulaj (nKod, nNev, nSzido, nIrszam, nHely, nUtca) VALUES
  ('1', 'Antal József', '1948-03-12', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.'),
  ('2', 'Bakos Ferenc', '1961-11-23', '6114', 'Bugac', 'Fő u. 66.'),
  ('3', 'Csonka Irén', '1950-01-01', '6131', 'Szank', 'Béke u. 1.'),
  ('4', 'Dénes Dávid', '1960-06-06', '6120', 'Kiskunmajsa', 'Ady u. 2.');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', 'A', '1'), ('2', 'B', '2'), ('3', 'C', '3'), ('4', 'D', '4');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 12.345, 1), ('2', '2', '1', '1', 7, 1), ('3', '3', '1', '1', 1, 1), ('4', '4', '1', '1', 2, 1);
INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) VALUES ('1039', '2025-01-10', 'előleg', '3', 500, '');
INSERT INTO berlo (BNeve) VALUES ('Homokhát Kft.');
)";

std::unique_ptr<TForm4> newOwner(const QString &name)
{
    mv().tulajEditMode = u"Új tulajdonos"_s;
    auto w = std::make_unique<TForm4>();
    if (!wt::showActive(*w))
        return nullptr;
    w->box(u"Edit1"_s)->setText(name);
    w->box(u"Edit4"_s)->setText(u"1950.01.01"_s);
    return w;
}

QString workTable(TestDb &db)
{
    return db.rows(u"SELECT CONCAT_WS('|', xnKod, xaAK, xmDij, xkFt) FROM munk ORDER BY 1"_s).join(u',');
}

// The work table as a settlement window builds it; then the fee changes, so that a rebuild
// would change the table.
QString builtThenFeeRaised(TestDb &db)
{
    {
        TForm21 w;
        if (!wt::showActive(w))
            return QString();
    }
    const QString built = workTable(db);
    db.exec(u"UPDATE muvag SET mDij = 2000 WHERE mKod = '1'"_s);
    return built;
}

QString lockFree(TestDb &db)
{
    return db.scalar(u"SELECT IS_FREE_LOCK('%1.munk')"_s.arg(db.name()));
}

} // namespace

class TestServerLoss : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A server of this test's own, with durable commits: what was committed must survive kill -9.
        qputenv("ZELVANA_TEST_SERVER", QDir::current().filePath(u"lossserver"_s).toUtf8());
        qputenv("ZELVANA_DURABLE", "1");
        QVERIFY(server(u"start"_s));
    }
    void cleanupTestCase() { server(u"stop"_s); }
    void init()
    {
        mv() = ModuleValues{};
        Connection::newUserAction();
    }

    // Killed while the window is open: OK says so; with the server back, OK stores once.
    void killedWhileAWindowIsOpen()
    {
        TestDb db(true);
        db.data();
        UiDriver driver;
        auto w = newOwner(u"Kovács Éva"_s);
        QVERIFY(w);
        killServer();
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        toldInHungarian(driver, u"OK with the server gone"_s);
        restart(db);
        QCOMPARE(db.scalar(u"SELECT count(*) FROM tulaj"_s), u"0"_s);
        driver.clear();
        if (!w->isVisible())
            w = newOwner(u"Kovács Éva"_s);
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(u" / "_s)));
        QCOMPARE(db.rows(u"SELECT nKod, nNev FROM tulaj"_s), QStringList{u"1|Kovács Éva"_s});
    }

    // Killed in the middle of a save: before the INSERT (its transaction rolled back by the server)
    // and before the COMMIT (the INSERT sent, its fate unknown to the program, none to the server).
    void killedInTheMiddleOfASave_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("INSERT") << u"INSERT INTO tulaj"_s;
        QTest::newRow("COMMIT") << u"COMMIT"_s;
    }
    void killedInTheMiddleOfASave()
    {
        QFETCH(QString, before);
        TestDb db(true);
        db.exec(u"INSERT INTO tulaj (nKod, nNev) VALUES ('1', 'Antal József')"_s);
        db.data();
        UiDriver driver;
        auto w = newOwner(u"Kovács Éva"_s);
        QVERIFY(w);
        killBefore(before);
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        toldInHungarian(driver, before);
        // The window stays open for another OK once the server is back.
        QVERIFY(w->isVisible());
        restart(db);
        QCOMPARE(db.rows(u"SELECT nKod, nNev FROM tulaj ORDER BY nKod"_s), QStringList{u"1|Antal József"_s});
        // The next action works without restarting the program: the clerk stores the owner again.
        driver.clear();
        Connection::newUserAction();
        auto again = newOwner(u"Kovács Éva"_s);
        QVERIFY(again);
        QTest::mouseClick(again->okButton(), Qt::LeftButton);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(u" / "_s)));
        QCOMPARE(db.rows(u"SELECT nKod, nNev FROM tulaj ORDER BY nKod"_s),
                 (QStringList{u"1|Antal József"_s, u"2|Kovács Éva"_s}));
    }

    // Killed before the third owner's payment of a group posting: the first two owners are posted
    // whole, the others not at all; posting again pays exactly the rest.
    void killedInTheMiddleOfAGroupPosting()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kOwed));
        db.data();
        UiDriver driver;
        {
            TForm21 w;
            QVERIFY(wt::showActive(w));
            killBefore(u"INSERT INTO kifiz"_s, 3);
            driver.clear();
            QTest::mouseClick(w.Button6, Qt::LeftButton);
            toldInHungarian(driver, u"group posting"_s);
            QVERIFY2(driver.texts().join(u' ').contains(u"2 tulajdonos feladása teljesen megtörtént"_s),
                     qPrintable(driver.texts().join(u" / "_s)));
        }
        restart(db);
        const QString posted = u"SELECT kNkod, kFt FROM kifiz WHERE kFeladas <> '' ORDER BY kNkod"_s;
        QCOMPARE(db.rows(posted), (QStringList{u"1|12345"_s, u"2|7000"_s}));
        driver.clear();
        Connection::newUserAction();
        {
            TForm21 w;
            QVERIFY(wt::showActive(w));
            QTest::mouseClick(w.Button6, Qt::LeftButton);
        }
        QCOMPARE(db.rows(posted), (QStringList{u"1|12345"_s, u"2|7000"_s, u"3|500"_s, u"4|2000"_s}));
        QVERIFY2(!driver.texts().join(u' ').contains(u"adatbázis"_s),
                 qPrintable(driver.texts().join(u" / "_s)));
    }

    // Killed while the work table is rebuilt: it is left as it was; opening again rebuilds it.
    void killedDuringARebuild()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kOwed));
        db.data();
        UiDriver driver;
        const QString built = builtThenFeeRaised(db);
        QVERIFY(!built.isEmpty());
        killBefore(u"INSERT INTO munk"_s, 2);
        {
            TForm21 w;
            wt::showActive(w);
            QTest::qWait(50);
        }
        toldInHungarian(driver, u"rebuild"_s);
        restart(db);
        QCOMPARE(workTable(db), built);
        driver.clear();
        Connection::newUserAction();
        {
            TForm21 w;
            QVERIFY(wt::showActive(w));
            QVERIFY(w.Button6->isEnabled());
        }
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(u" / "_s)));
        QVERIFY(workTable(db) != built); // rebuilt at the new fee
    }

    // Another copy's settlement window holds the work table: this copy's window refuses to open
    // and leaves the table alone; once it is free, the window opens and holds it while open.
    void anotherCopyHoldsTheWorkTable()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kOwed));
        db.data();
        UiDriver driver;
        const QString built = builtThenFeeRaised(db);
        QVERIFY(!built.isEmpty());
        QCOMPARE(db.scalar(u"SELECT GET_LOCK('%1.munk', 0)"_s.arg(db.name())), u"1"_s); // the other copy
        driver.clear();
        {
            TForm21 w;
            w.show();
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(w.result(), int(QDialog::Rejected));
        }
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.lastText().contains(u"másik Zelvana használja"_s), qPrintable(driver.lastText()));
        QCOMPARE(workTable(db), built);

        QCOMPARE(db.scalar(u"SELECT RELEASE_LOCK('%1.munk')"_s.arg(db.name())), u"1"_s);
        driver.clear();
        {
            TForm21 w;
            QVERIFY(wt::showActive(w));
            QVERIFY(driver.boxes.isEmpty());
            QCOMPARE(lockFree(db), u"0"_s); // held by this copy's open window
            QVERIFY(workTable(db) != built);
        }
        QCOMPARE(lockFree(db), u"1"_s);
    }

    // Another copy stores a payment while this copy posts a group: the voucher number group
    // posting counted on is taken; that owner is posted under the next free number, nobody is
    // left out, and no number is used twice.
    void anotherCopyStoresAPaymentDuringAGroupPosting()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kOwed));
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        auto inserts = std::make_shared<int>(0);
        Data().ZCon1->beforeStatement = [&db, inserts](const QByteArray &statement) {
            if (statement.trimmed().startsWith("INSERT INTO kifiz") && ++*inserts == 2)
                db.exec(u"INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) "
                        u"VALUES ('1041', '2025-02-01', 'a másik gépről', '2', 800, '')"_s);
        };
        driver.clear();
        QTest::mouseClick(w.Button6, Qt::LeftButton);
        Data().ZCon1->beforeStatement = nullptr;
        QCOMPARE(driver.texts(), QStringList{u"A csoportos feladás befejeződött "_s});
        QCOMPARE(db.rows(u"SELECT kKod, kNkod, kFt, kFeladas FROM kifiz ORDER BY kKodNum"_s),
                 (QStringList{u"1039|3|500|"_s, u"1040|1|12345|x"_s, u"1041|2|800|"_s, u"1042|2|7000|x"_s,
                              u"1043|3|500|x"_s, u"1044|4|2000|x"_s}));
    }

    // Two copies storing a payment at once: the other copy takes the voucher number between this
    // window's reading of the greatest number and its INSERT. The unique index refuses this save
    // (the window's insert-failure path); the other copy's payment and every other row stay.
    void anotherCopyTakesTheVoucherNumber()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kOwed));
        db.data();
        UiDriver driver;
        mv().kifizEditMode = u"Új kifizetés"_s;
        auto w = std::make_unique<TForm19>();
        QVERIFY(wt::showActive(*w));
        w->box(u"Edit10"_s)->setText(u"1"_s);
        w->box(u"Edit1"_s)->setText(u"búza"_s);
        w->box(u"Edit5"_s)->setText(u"1500"_s);
        Data().ZCon1->beforeStatement = [&db](const QByteArray &statement) {
            if (statement.trimmed().startsWith("INSERT INTO kifiz") &&
                !db.scalar(u"SELECT @@hostname"_s).isEmpty() &&
                db.scalar(u"SELECT count(*) FROM kifiz WHERE kKod = '1040'"_s) == u"0"_s) {
                db.exec(u"INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) "
                        u"VALUES ('1040', '2025-02-01', 'a másik gépről', '2', 800, '')"_s);
            }
        };
        const QStringList before = db.rows(u"SELECT kKod, kNkod, kFt FROM kifiz ORDER BY kKod"_s);
        driver.clear();
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{u"Hiba: Újban, INSERT-append a kifiz-ben "_s});
        QCOMPARE(db.rows(u"SELECT kKod, kNkod, kFt FROM kifiz ORDER BY kKod"_s), QStringList(before)
                                                                                     << u"1040|2|800"_s);
        // Stored again, it takes the next free number.
        driver.clear();
        auto again = std::make_unique<TForm19>();
        QVERIFY(wt::showActive(*again));
        again->box(u"Edit10"_s)->setText(u"1"_s);
        again->box(u"Edit1"_s)->setText(u"búza"_s);
        again->box(u"Edit5"_s)->setText(u"1500"_s);
        QTest::mouseClick(again->okButton(), Qt::LeftButton);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(u" / "_s)));
        QCOMPARE(db.scalar(u"SELECT CONCAT(kNkod, ':', kFt) FROM kifiz WHERE kKod = '1041'"_s), u"1:1500"_s);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestServerLoss t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_server_loss.moc"
