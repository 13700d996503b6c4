#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "reports/engine/preview.h"
#include "reports/printing.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

// The data module's report callbacks over a real database: the owner list grouped by initial and
// the detail queries that follow the master query ZQ13.
class TestReportCallbacks : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    QStringList allTexts(const report::Document &doc)
    {
        QStringList t;
        for (int p = 0; p < doc.pageCount(); ++p)
            t += doc.texts(p);
        return t;
    }

    report::Document buildOwnerList(const QString &order)
    {
        TData &d = Data();
        d.ZQ33->setSql({"SELECT * FROM tulaj ORDER BY " + order});
        d.ZQ33->open();
        d.frNyomtat.load(TestDb::sourceDir() + "/templates/Tulaj.frf", "Tulaj.frf");
        return d.frNyomtat.build(d, d.variables);
    }

    void fixture()
    {
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('1','Bugac'),('2','Szank')");
        db->exec("INSERT INTO tulaj (nKod, nNev) VALUES ('1','Antal Péter'),('2','Baka Ödön')");
        db->exec("INSERT INTO tabla (tKod, tHrsz, tVkod, tMkod, tAK, tHA) VALUES "
                 "('1','012/1','2','1',10,2),('2','045/7','1','1',20,3),('3','099','1','2',5,1)");
        db->exec("INSERT INTO haszn (hKod, hSzam, hNkod) VALUES "
                 "('1','HB-1','1'),('2','HB-2','2'),('3','HB-3','1')");
        db->exec("INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES "
                 "('1','1','1','1',4.5,1.25),('2','1','2','1',6,0.5),('3','2','3','2',5,1)");
    }

private slots:
    void init()
    {
        mv() = ModuleValues();
        db = std::make_unique<TestDb>(true);
        db->exec("INSERT INTO berlo (BNeve) VALUES ('Próba Kft.')");
        db->data().reopenTableViews();
    }
    void cleanup() { db.reset(); }

    void ownersAreGroupedByTheirExactInitial()
    {
        db->exec("INSERT INTO tulaj (nKod, nNev) VALUES ('1','Antal'),('2','Ábel'),('3','antal')");
        const auto doc = buildOwnerList("IDn");
        const QStringList t = allTexts(doc);
        // The group letters, each followed by its owners.
        const int a = t.indexOf("A"), aa = t.indexOf("Á"), small = t.indexOf("a");
        QVERIFY(a >= 0 && aa > a && small > aa);
        QVERIFY(t.indexOf("Antal") > a && t.indexOf("Antal") < aa);
        QVERIFY(t.indexOf("Ábel") > aa && t.indexOf("Ábel") < small);
        QVERIFY(t.indexOf("antal") > small);
        QCOMPARE(Data().variables.value("betu").toString(), QString("a"));
    }

    void aSingleOwnerGivesOneGroupAndOneRow()
    {
        db->exec("INSERT INTO tulaj (nKod, nNev, nSzido) VALUES ('7','Őry Ödön','1950-03-05')");
        const auto doc = buildOwnerList("nNev, nSzido");
        const QStringList t = allTexts(doc);
        QCOMPARE(t.count("Ő"), 1);
        QCOMPARE(t.count("Őry Ödön"), 1);
        QVERIFY(t.contains("Sz.idő: 1950.03.05"));
    }

    void twoRunsOfTheSameInitialMakeTwoGroups()
    {
        db->exec("INSERT INTO tulaj (nKod, nNev) VALUES ('1','Bak'),('2','Cser'),('3','Bor')");
        const QStringList t = allTexts(buildOwnerList("IDn"));
        QCOMPARE(t.count("B"), 2);
        QCOMPARE(t.count("C"), 1);
    }

    void detailQueriesFollowTheMasterRow_data()
    {
        QTest::addColumn<QString>("master");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("sums");
        QTest::newRow("contract 1") << "SELECT * FROM haszn WHERE hKod = '1'"
                                    << "contract" << QStringList{"045/7", "012/1"} << "10,5|1,75";
        QTest::newRow("contract without items") << "SELECT * FROM haszn WHERE hKod = '3'"
                                                << "contract" << QStringList{} << "";
        QTest::newRow("owner 1") << "SELECT * FROM tulaj WHERE nKod = '1'"
                                 << "owner" << QStringList{"045/7", "012/1"} << "10,5|1,75";
        QTest::newRow("parcel 3") << "SELECT * FROM alresz WHERE aKod = '3'"
                                  << "parcel" << QStringList{"099"} << "5|1";
        QTest::newRow("town Bugac") << "SELECT * FROM tabla WHERE tKod = '2'"
                                    << "town" << QStringList{"045/7", "099"} << "11|1,5";
    }
    void detailQueriesFollowTheMasterRow()
    {
        QFETCH(QString, master);
        QFETCH(QString, kind);
        QFETCH(QStringList, items);
        QFETCH(QString, sums);
        fixture();
        TData &d = Data();
        d.ZQ13->setSql({master});
        d.ZQ13->open();
        if (kind == "contract") {
            d.alreszTeteles();
            d.sumAK_aHkod();
        } else if (kind == "owner") {
            d.alreszTetelesNev();
            d.sumAK_hNkod();
        } else if (kind == "parcel") {
            d.alreszTetelesHrsz();
            d.sumAK_aTkod();
        } else {
            // The town pair reads vKod and tVKod: a parcel row joined with its town.
            d.ZQ13->setSql({master.replace("FROM tabla", "FROM tabla JOIN varos ON vKod = tVkod")});
            d.ZQ13->open();
            d.alreszTetelesVaros();
            d.sumAK_tVkod();
        }
        QStringList lots;
        for (d.ZQ12->first(); !d.ZQ12->eof(); d.ZQ12->next())
            lots << d.ZQ12->fieldText("tHrsz");
        if (kind == "parcel")
            lots.sort();
        QCOMPARE(lots, items);
        const QString got =
            d.ZQ11->eof() ? QString() : d.ZQ11->fieldText("sum_AK") + "|" + d.ZQ11->fieldText("sum_HA");
        QCOMPARE(got, sums);
    }

    void theContractCallbacksRunOncePastTheLastRow()
    {
        fixture();
        TData &d = Data();
        d.ZQ13->setSql({"SELECT * FROM haszn ORDER BY hKod"});
        d.ZQ13->open();
        report::QueryDataset *ds5 = d.frDBDataSet(5);
        ds5->first();
        ds5->next(); // contract 2
        QCOMPARE(d.ZQ11->fieldText("sum_AK"), QString("5"));
        ds5->next(); // contract 3: no items
        QVERIFY(d.ZQ12->isEmpty());
        ds5->next(); // past the last row: the last contract is prepared again
        QVERIFY(ds5->eof());
        QVERIFY(d.ZQ12->isEmpty());
        QCOMPARE(d.ZQ12->sqlText().contains("aHkod = :p0"), true);
        d.frDBDataSet(6)->close(); // closing the items prepares the totals of the current contract
        QVERIFY(d.ZQ11->eof());
    }

    void aMasterWithoutTheKeyFieldStopsThePrint()
    {
        fixture();
        UiDriver driver;
        TData &d = Data();
        d.ZQ13->setSql({"SELECT nKod, nNev FROM tulaj"});
        d.ZQ13->open();
        QFile::remove("kulcs.frf");
        QFile f("kulcs.frf");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<report><masterData dataset=\"frDBDataSet5\" height=\"5\">"
                "<text width=\"50\" height=\"5\">[ZQ13.nNev]</text></masterData></report>");
        f.close();
        QVERIFY(!printTemplate("kulcs.frf", QPageLayout::Portrait));
        QCOMPARE(driver.modalCount(), 0);
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes[0].title, QString("Error"));
        QCOMPARE(driver.boxes[0].text, QString("Field 'hKod' not found"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestReportCallbacks t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_report_callbacks.moc"
