// The work table over a real database: the rebuild and its balance terms, a rebuild that fails
// (the table stays as it was), the selection of owners, and the owner lines of the check lists.

#include "foundation/tdata.h"
#include "settlement/settlement.h"
#include "support/testdb.h"

#include <QTest>

using namespace settlement;

namespace {

// Owner 1: 10 AK at 300 and 5,5 AK at 200, paid 2000 and 1000. Owner 2: items, no payment.
// Owner 3: payments only. Owner 4: an item whose branch does not exist. Owner 5: nothing.
// A payment of owner 9, who does not exist.
const char *kRegister = R"(
UPDATE muvag SET mDij = 300 WHERE mKod = '1';
UPDATE muvag SET mDij = 200 WHERE mKod = '2';
UPDATE muvag SET mDij = 100 WHERE mKod = '3';
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nAdoazon) VALUES
  ('1', 'Kiss Anna', '1950-01-01', 'Nagy Ilona', '2000', 'Szentendre', 'Fő u. 1', '8300000001'),
  ('2', 'Antal József', '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '8300000002'),
  ('3', 'Bakos Ferenc', '1961-11-23', 'Vincze Ilona', '6114', 'Bugac', 'Fő u. 66.', '8300000003'),
  ('4', 'Őry Ödön', '1955-05-05', '', '6131', 'Szank', 'Kút u. 3.', ''),
  ('5', 'Zsákos Zsolt', '1960-06-06', '', '', '', '', '');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', 'A', '1'), ('2', 'B', '2'), ('4', 'D', '4'), ('8', 'X', '99');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 10, 1), ('2', '1', '2', '2', 5.5, 0.5),
  ('3', '2', '1', '3', 1.13, 0.1),
  ('4', '4', '1', '77', 20, 2),
  ('5', '8', '1', '1', 50, 5);
INSERT INTO kifiz (kKod, kNkod, kFt, kFeladas) VALUES
  ('1', '1', 2000, ''), ('2', '1', 1000, 'x'), ('3', '3', 500, ''), ('4', '9', 700, '');
)";

// owner code -> "sum_AK|sum_Dij|sum_kifiz|sum_fizetni" as the balance query reads them as text
QMap<QString, QString> balances(TData &d)
{
    Query *q = d.ZQ22;
    q->setSql({balanceLine(), "  FROM munk         ", "  GROUP BY xNKod   ", "  ORDER BY xnNev   "});
    q->open();
    QMap<QString, QString> out;
    for (q->first(); !q->eof(); q->next())
        out.insert(q->fieldText("xNKod"), QStringList{q->fieldText("sum_AK"), q->fieldText("sum_Dij"),
                                                      q->fieldText("sum_kifiz"), q->fieldText("sum_fizetni")}
                                              .join('|'));
    return out;
}

} // namespace

class TestSettlementWork : public QObject
{
    Q_OBJECT
private slots:
    void balanceTermsOfEveryKindOfOwner()
    {
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        const QMap<QString, QString> b = balances(d);
        QCOMPARE(b.value("1"), QString("15,5|4100|3000|1100"));
        // Items but no payments: paid 0, the balance is the rent rounded to the fillér.
        QCOMPARE(b.value("2"), QString("1,13|113|0|113"));
        // Payments only: rent and balance are empty (NULL), read as a number they are 0.
        QCOMPARE(b.value("3"), QString("||500|"));
        // An item whose branch is missing, an owner with nothing, a payment of nobody: not there.
        QVERIFY(!b.contains("4"));
        QVERIFY(!b.contains("5"));
        QVERIFY(!b.contains("9"));
        QCOMPARE(b.size(), 3);
        QCOMPARE(db.scalar("SELECT count(*) FROM munk WHERE xkFt IS NULL"), QString("0"));
    }

    void theItemsOnlyVariantHasNoPayments()
    {
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::ItemsOnly).ok);
        QCOMPARE(db.scalar("SELECT count(*) FROM munk"), QString("3"));
        QCOMPARE(db.scalar("SELECT count(*) FROM munk WHERE xkFt IS NOT NULL"), QString("0"));
    }

    void aRebuildAgainReplacesTheTable()
    {
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        QCOMPARE(balances(d).value("1"), QString("15,5|4100|3000|1100"));
    }

    void aFailingStepLeavesTheTableAsItWas_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("message");
        QTest::newRow("emptying") << "BEFORE DELETE ON munk FOR EACH ROW SIGNAL SQLSTATE '45000'"
                                  << "Hiba: egyenleg DELETE törlésekor";
        QTest::newRow("the items")
            << "BEFORE INSERT ON munk FOR EACH ROW IF NEW.xaKod IS NOT NULL THEN SIGNAL "
               "SQLSTATE '45000'; END IF"
            << "Hiba: alresz INSERT-append a munk-ba ";
        // Without the payments every owner's "paid" would read 0 and the whole rent be posted again.
        QTest::newRow("the payments")
            << "BEFORE INSERT ON munk FOR EACH ROW IF NEW.xkKod IS NOT NULL THEN SIGNAL "
               "SQLSTATE '45000'; END IF"
            << "Hiba: kifiz, INSERT-append a munk-ba ";
    }
    void aFailingStepLeavesTheTableAsItWas()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, message);
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        const QStringList before = db.rows("SELECT * FROM munk ORDER BY xnKod, xaKod, xkKod");
        db.exec("INSERT INTO kifiz (kKod, kNkod, kFt) VALUES ('5', '2', 113)"); // a change since
        db.exec("CREATE TRIGGER refuse " + trigger);
        const Rebuild r = rebuildWorkTable(d, Variant::Full);
        QVERIFY(!r.ok);
        QCOMPARE(r.message, message);
        QCOMPARE(db.rows("SELECT * FROM munk ORDER BY xnKod, xaKod, xkKod"), before);
        QCOMPARE(db.scalar("SELECT @@in_transaction"), QString("0"));
    }

    void markingKeepsTheTickedOwnersOnly()
    {
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        Query *owners = d.ZQ110;
        owners->setSql({balanceLineWithAddress(), "  FROM munk         ", "  GROUP BY xnNev, xNKod   "});
        owners->open();
        QCOMPARE(owners->rowCount(), 3); // Antal (2), Bakos (3), Kiss (1)
        QString message;
        QVERIFY(markSelectedOwners(d, *owners, {true, false, true}, &message));
        QCOMPARE(db.rows("SELECT DISTINCT xnKod FROM munk ORDER BY xnKod"), (QStringList{"1", "2"}));
        QCOMPARE(db.scalar("SELECT count(*) FROM munk WHERE xjel <> 'x'"), QString("0"));
        // After a rebuild nothing is marked: with nothing ticked the table is emptied.
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        owners->open();
        QVERIFY(markSelectedOwners(d, *owners, {false, false, false}, &message));
        QCOMPARE(db.scalar("SELECT count(*) FROM munk"), QString("0"));
    }

    void aFailingMarkLeavesTheTableAndSaysSo()
    {
        TestDb db(true);
        db.exec(kRegister);
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        const QString rows = db.scalar("SELECT count(*) FROM munk");
        Query *owners = d.ZQ110;
        owners->setSql({balanceLineWithAddress(), "  FROM munk         ", "  GROUP BY xnNev, xNKod   "});
        owners->open();
        db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON munk FOR EACH ROW SIGNAL SQLSTATE '45000'");
        QString message;
        QVERIFY(!markSelectedOwners(d, *owners, {true, true, false}, &message));
        QCOMPARE(message, QString("Hiba:  munk UPDATE ! "));
        QCOMPARE(db.scalar("SELECT count(*) FROM munk"), rows);
        db.exec("DROP TRIGGER refuse");
        db.exec("CREATE TRIGGER refuse BEFORE DELETE ON munk FOR EACH ROW SIGNAL SQLSTATE '45000'");
        QVERIFY(!markSelectedOwners(d, *owners, {true, true, false}, &message));
        QCOMPARE(message, QString("Hiba:  munk DELETE ! "));
        QCOMPARE(db.scalar("SELECT count(*) FROM munk"), rows);
        QCOMPARE(db.scalar("SELECT count(*) FROM munk WHERE xjel = 'x'"), QString("0"));
    }

    void ownerLinesOfTheCheckLists()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.exec("UPDATE tulaj SET nKod = '17', nNev = 'Kiss Anna' WHERE nKod = '1'");
        db.exec("UPDATE haszn SET hNkod = '17' WHERE hNkod = '1'");
        db.exec("UPDATE kifiz SET kNkod = '17' WHERE kNkod = '1'");
        TData &d = db.data();
        QVERIFY(rebuildWorkTable(d, Variant::Full).ok);
        Query *q = d.ZQ110;
        q->setSql({balanceLineWithAddress(), "  FROM munk         ", "  GROUP BY xNKod   "});
        q->open();
        QVERIFY(q->locateCode("xNKod", "17"));
        QCOMPARE(ownerLineWithAddress(*q),
                 "17  Kiss Anna" + QString(31, ' ') + "    Lakcim: 2000  Szentendre  Fő u. 1");
        QCOMPARE(postingLine(*q),
                 "17  Kiss Anna" + QString(11, ' ') +
                     "    Fizetendö = 1100 Ft   Bérletidij = 4100 Ft   Kifizetve = 3000 Ft   15,5 AK ");
        // A name longer than its room is cut; an owner with payments only is to pay 0.
        QVERIFY(q->locateCode("xNKod", "3"));
        QVERIFY(postingLine(*q).startsWith("3  " + QString("Bakos Ferenc").leftJustified(20) +
                                           "    Fizetendö = 0 Ft   Bérletidij =  Ft "));
        db.exec("UPDATE munk SET xnNev = 'Legeslegeslegeslegeslegeslegesleghosszabb N' WHERE "
                "xnKod = '2'");
        q->open();
        QVERIFY(q->locateCode("xNKod", "2"));
        const QString line = ownerLineWithAddress(*q);
        QCOMPARE(line.mid(3, 40), QString("Legeslegeslegeslegeslegeslegesleghosszab"));
        QCOMPARE(line.mid(43, 12), QString("    Lakcim: "));
    }
};

QTEST_GUILESS_MAIN(TestSettlementWork)
#include "test_settlement_work.moc"
