// The consistency check and the owner purge TForm27: each check on a register with one broken
// reference of its kind gives exactly its line (and the other checks nothing); a clean register
// gives the framing lines only; on a larger register with many broken references (several of them
// alike) the lines and their order are those of a lookup per row; the purge keeps owners named by a
// contract or a payment, deletes the rest in one transaction, and deletes nothing the second time.

#include "foundation/application.h"
#include "foundation/connection.h"
#include "foundation/globals.h"
#include "foundation/query.h"
#include "foundation/tdata.h"
#include "maintenance/maintenance.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Every reference points somewhere; the seed gives the code tables (branches, ownership forms).
const char *kClean = R"(
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Szank');
INSERT INTO tulaj (nKod, nNev) VALUES ('1', 'Kiss Anna'), ('2', 'Antal József');
INSERT INTO tabla (tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES
  ('1', '0123/4', '1', 30, 2, '1', '1', '1'), ('2', '0456/7', '2', 20, 3, '2', '2', '2');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', 'K-1', '1'), ('2', 'A-2', '2');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 10, 1), ('2', '2', '2', '2', 5, 0.5);
)";

const QString kWait = QStringLiteral("Ellenörzés. Kérem várjon...");
const QString kEnd = QStringLiteral("Ellenörzés vége. ");

QStringList memoLines(const TForm27 &w)
{
    return w.Memo1->toPlainText().split(QLatin1Char('\n'));
}

QStringList runCheck(TForm27 &w, int index)
{
    w.RadioButtons[index]->setChecked(true);
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    return memoLines(w);
}

// The lines of a check walked as a lookup per row: the outer statement, then for each of its rows
// the lookup statement with the row's reference, a line when the lookup finds nothing.
QStringList perRowReference(int index)
{
    struct Ref
    {
        const char *lookupTable, *lookupColumn, *reference;
    };
    static const Ref refs[] = {{"Tabla", "Tkod", "aTkod"},  {"Tulaj", "Nkod", "HNkod"},
                               {"Muvag", "Mkod", "aMkod"},  {"Varos", "Vkod", "tVkod"},
                               {"Tforma", "Ukod", "tUkod"}, {"Alresz", "AHkod", "Hkod"},
                               {"Haszn", "Hkod", "aHkod"}};
    const maintenance::Check &c = maintenance::checks().at(index);
    Query outer(Data().ZCon1, QStringLiteral("referenceOuter"));
    Query lookup(Data().ZCon1, QStringLiteral("referenceLookup"));
    outer.setSql(c.outerLines());
    outer.open();
    QStringList lines;
    for (outer.first(); !outer.eof(); outer.next()) {
        lookup.setSql(
            {QStringLiteral("SELECT count(*) AS VAN FROM %1 WHERE %2 = :p0")
                 .arg(QLatin1String(refs[index].lookupTable), QLatin1String(refs[index].lookupColumn))});
        lookup.setText(QStringLiteral("p0"), outer.fieldText(QLatin1String(refs[index].reference)));
        lookup.open();
        if (lookup.fieldText(QStringLiteral("VAN")).toInt() == 0)
            lines << c.line(outer);
    }
    return lines;
}

} // namespace

class TestMaintenanceChecks : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void cleanRegisterGivesOnlyTheFramingLines()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kClean));
        db.data();
        UiDriver driver;
        TForm27 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm27");
        QCOMPARE(w.windowTitle(), QString("Ellenörzés"));
        QCOMPARE(w.Memo1->toPlainText(), QString("Hibalista"));
        QStringList captions;
        for (auto *r : w.RadioButtons)
            captions << r->text();
        QCOMPARE(captions, (QStringList{"Tábla ", "Tulajdonos", "Müv.ág", "Város", "Tulajdon forma",
                                        "Bérlet -> Alrész", "Alrész -> Bérlet", "Számlaszám"}));
        for (int i = 0; i < w.RadioButtons.size(); ++i)
            QCOMPARE(runCheck(w, i), (QStringList{kWait, kEnd}));
        QVERIFY(driver.boxes.isEmpty());
        QVERIFY(w.Button1->isEnabled() && w.Button3->isEnabled());
    }

    // One broken reference: its check lists it, every other check stays clean.
    void eachCheckFindsItsBrokenReference_data()
    {
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("line");
        QTest::newRow("item without parcel")
            << 0 << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('7', '1', '9', '1')"
            << "aKOD= 7 aTKOD= 9";
        QTest::newRow("contract without owner")
            << 1
            << "INSERT INTO haszn (hKod, hNkod) VALUES ('5', '8'); "
               "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('5', '5', '1', '1')"
            << "HKOD= 5 hNKOD= 8";
        QTest::newRow("contract with an empty owner code")
            << 1
            << "INSERT INTO haszn (hKod, hNkod) VALUES ('5', ''); "
               "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('5', '5', '1', '1')"
            << "HKOD= 5 hNKOD= ";
        QTest::newRow("contract with no owner code at all")
            << 1
            << "INSERT INTO haszn (hKod, hNkod) VALUES ('5', NULL); "
               "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('5', '5', '1', '1')"
            << "HKOD= 5 hNKOD= ";
        QTest::newRow("item without branch")
            << 2 << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('8', '2', '2', '88')"
            << "aKOD= 8 aMKOD= 88";
        QTest::newRow("parcel without town")
            << 3 << "INSERT INTO tabla (tKod, tHrsz, tUkod, tVkod) VALUES ('6', '99', '1', '44')"
            << "tKOD= 6 tVKOD= 44";
        QTest::newRow("parcel without ownership form")
            << 4 << "INSERT INTO tabla (tKod, tHrsz, tUkod, tVkod) VALUES ('6', '99', '55', '1')"
            << "tKOD= 6 tUKOD= 55";
        QTest::newRow("contract without items") << 5 << "INSERT INTO haszn (hKod, hNkod) VALUES ('5', '1')"
                                                << "HKOD= 5 AKOD= ";
        QTest::newRow("item without contract")
            << 6 << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod) VALUES ('9', '66', '1', '1')"
            << "AKOD= 9 HKOD= 66";
        // Beside a valid Hungarian number, an IBAN and an empty one, which are not listed.
        QTest::newRow("owner with a wrong account number")
            << 7
            << "INSERT INTO tulaj (nKod, nNev, nSzla) VALUES ('12', 'Hibás', '1234-5678'), "
               "('13', 'Jó', '11773016-11111018'), ('14', 'Külföldi', 'AT61 1904 3002 3457 3201'), "
               "('15', 'Nincs', '  '), ('16', 'Semmi', NULL)"
            << "NKOD= 12 SZLA= 1234-5678";
    }
    void eachCheckFindsItsBrokenReference()
    {
        QFETCH(int, check);
        QFETCH(QString, broken);
        QFETCH(QString, line);
        TestDb db(true);
        db.exec(QString::fromUtf8(kClean));
        db.exec(broken);
        db.data();
        UiDriver driver;
        TForm27 w;
        QVERIFY(wt::showActive(w));
        for (int i = 0; i < w.RadioButtons.size(); ++i)
            QCOMPARE(runCheck(w, i),
                     i == check ? (QStringList{kWait, line, kEnd}) : (QStringList{kWait, kEnd}));
        QVERIFY(driver.boxes.isEmpty());
    }

    // While a check or the purge talks to the server, neither can be started again.
    void buttonsAreOffWhileItRuns()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kClean));
        db.data();
        UiDriver driver;
        TForm27 w;
        QVERIFY(wt::showActive(w));
        int statements = 0, enabledDuring = 0;
        Data().ZCon1->beforeStatement = [&](const QByteArray &) {
            ++statements;
            enabledDuring += w.Button1->isEnabled() + w.Button3->isEnabled();
        };
        runCheck(w, 3);
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        Data().ZCon1->beforeStatement = nullptr;
        QVERIFY(statements > 0);
        QCOMPARE(enabledDuring, 0);
        QVERIFY(w.Button1->isEnabled() && w.Button3->isEnabled());
    }

    // A register of hundreds of rows with broken references of every kind, several of them to the
    // same missing row (rows that tie in the check's order): the lines of the window are those of a
    // lookup per row, in the same order.
    void linesAreThoseOfALookupPerRow()
    {
        TestDb db(true);
        QStringList sql;
        auto values = [](int n, const std::function<QString(int)> &row) {
            QStringList v;
            for (int i = 1; i <= n; ++i)
                v << row(i);
            return v.join(QLatin1Char(','));
        };
        sql << "INSERT INTO varos (vKod, vHelyseg) VALUES " +
                   values(20, [](int i) { return QStringLiteral("('%1', 'Falu %1')").arg(i); });
        sql << "INSERT INTO tulaj (nKod, nNev) VALUES " +
                   values(150, [](int i) { return QStringLiteral("('%1', 'Tulaj %1')").arg(i); });
        // Parcels: every 17th names a missing town (one of three), every 23rd a missing form.
        sql << "INSERT INTO tabla (tKod, tHrsz, tUkod, tVkod) VALUES " + values(300, [](int i) {
                   const QString town =
                       i % 17 == 0 ? QString::number(900 + i % 3) : QString::number(1 + i % 20);
                   const QString form = i % 23 == 0 ? QStringLiteral("9") : QString::number(1 + i % 2);
                   return QStringLiteral("('%1', '%2/%3', '%4', '%5')")
                       .arg(i)
                       .arg(i % 50)
                       .arg(i)
                       .arg(form, town);
               });
        // Contracts: every 13th names a missing owner (or an empty or no code), every 11th has no item.
        sql << "INSERT INTO haszn (hKod, hSzam, hNkod) VALUES " + values(200, [](int i) {
                   const QString owner = i % 13 == 0
                                             ? (i % 26 == 0 ? QStringLiteral("''") : QStringLiteral("'777'"))
                                         : i % 39 == 0 ? QStringLiteral("NULL")
                                                       : QStringLiteral("'%1'").arg(1 + i % 150);
                   return QStringLiteral("('%1', 'H-%1', %2)").arg(i).arg(owner);
               });
        // Items: every 19th names a missing parcel (one of two), every 29th a missing branch, every
        // 31st a missing contract; the contracts divisible by 11 get none.
        sql << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES " + values(600, [](int i) {
                   int contract = 1 + i % 200;
                   if (contract % 11 == 0)
                       ++contract;
                   const QString h = i % 31 == 0 ? QStringLiteral("5%1").arg(i) : QString::number(contract);
                   const QString t =
                       i % 19 == 0 ? QString::number(800 + i % 2) : QString::number(1 + i % 300);
                   const QString m = i % 29 == 0 ? QStringLiteral("77") : QString::number(1 + i % 3);
                   return QStringLiteral("('%1', '%2', '%3', '%4', 1, 0.1)").arg(i).arg(h, t, m);
               });
        db.exec(sql.join(QStringLiteral(";\n")));
        db.data();
        for (int i = 0; i < 7; ++i) {
            const QStringList reference = perRowReference(i);
            QVERIFY2(reference.size() >= 5, qPrintable(QString::number(i)));
            QCOMPARE(maintenance::runCheck(Data(), i), reference);
        }
    }

    void purgeKeepsOwnersNamedByContractsOrPaymentsAndRunsOnce()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kClean));
        // 1 and 2 have contracts; 3 only a payment; 10, 4 and 5 nothing.
        db.exec("INSERT INTO tulaj (nKod, nNev) VALUES ('3', 'Csak Kifizetés'), ('4', 'Senki'), "
                "('10', 'Senki Tíz'), ('5', 'Senki Öt');"
                "INSERT INTO kifiz (kKod, kNkod, kFt) VALUES ('1', '3', 5000)");
        db.data();
        UiDriver driver;
        TForm27 w;
        QVERIFY(wt::showActive(w));
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(memoLines(w),
                 (QStringList{"Kérem várjon...", "Nem használt tulajdonos törlése... ", "NKOD= 10 Törölve.",
                              "NKOD= 4 Törölve.", "NKOD= 5 Törölve.", "Vége. "}));
        QCOMPARE(db.rows("SELECT nKod FROM tulaj ORDER BY nKod"), (QStringList{"1", "2", "3"}));
        QCOMPARE(db.scalar("SELECT kNkod FROM kifiz WHERE kKod = '1'"), QString("3"));
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(memoLines(w),
                 (QStringList{"Kérem várjon...", "Nem használt tulajdonos törlése... ", "Vége. "}));
        QCOMPARE(db.rows("SELECT nKod FROM tulaj ORDER BY nKod"), (QStringList{"1", "2", "3"}));
        QVERIFY(driver.boxes.isEmpty());
    }

    // A delete the server refuses half-way undoes the whole purge: no owner is gone, the error box
    // shows the server's message, and the run is not reported as ended.
    void purgeIsAllOrNothing()
    {
        TestDb db(true);
        db.exec(QString::fromUtf8(kClean));
        db.exec("INSERT INTO tulaj (nKod, nNev) VALUES ('3', 'Senki'), ('4', 'Védett'), ('5', 'Senki Öt')");
        db.exec(
            "CREATE TRIGGER vedett BEFORE DELETE ON tulaj FOR EACH ROW "
            "IF OLD.nKod = '4' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'védett tulajdonos'; END IF");
        db.data();
        UiDriver driver;
        TForm27 w;
        QVERIFY(wt::showActive(w));
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.lastText().contains("védett tulajdonos"), qPrintable(driver.lastText()));
        QCOMPARE(db.rows("SELECT nKod FROM tulaj ORDER BY nKod"), (QStringList{"1", "2", "3", "4", "5"}));
        QVERIFY(!memoLines(w).contains("Vége. "));
        QVERIFY(!w.Button1->isEnabled() && !w.Button3->isEnabled());
        // The connection is usable afterwards: no transaction was left open.
        db.exec("DROP TRIGGER vedett");
        QCOMPARE(maintenance::purgeOwners(Data()),
                 (QStringList{"NKOD= 3 Törölve.", "NKOD= 4 Törölve.", "NKOD= 5 Törölve."}));
        QCOMPARE(db.rows("SELECT nKod FROM tulaj ORDER BY nKod"), (QStringList{"1", "2"}));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestMaintenanceChecks t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_maintenance_checks.moc"
