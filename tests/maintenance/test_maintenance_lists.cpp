// The lists window TForm25: each of the five lists printed for a picked object, read back from the
// built pages (the object's data, its item lines in order, the totals); the pick through the list
// windows; a change of choice dropping the pick; a print before any pick.

#include "app/registry.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "maintenance/maintenance.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Kiss Anna: contract 1 with items on parcels 1 (Bugac) and 2 (Szank). Antal: contract 2, parcel 3
// (Szank). Bakos: contract 3 with items on parcels 3 and 1. Csonka: contract 4, an item of 0 AK on
// parcel 2. Payment 105 names an owner that does not exist.
const char *kRegister = R"(
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Szank');
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nAdoazon) VALUES
  ('1', 'Kiss Anna', '1950-01-01', 'Nagy Ilona', '2000', 'Szentendre', 'Fő u. 1', '8300000001'),
  ('2', 'Antal József', '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '8300000002'),
  ('3', 'Bakos Ferenc', '1961-11-23', 'Vincze Ilona', '6114', 'Bugac', 'Fő u. 66.', '8300000003'),
  ('4', 'Csonka Irén', '1950-02-02', 'Kiss Ilona', '6131', 'Szank', 'Béke u. 1.', '8300000004');
INSERT INTO tabla (tKod, tHrsz, tTabla, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES
  ('1', '0123/4', 'Homokos', '1', 30, 2, '1', '1', '2'), ('2', '0456/7', 'Rétek', '2', 20, 3, '2', '2', '2'),
  ('3', '789', 'Kertek', '1', 10, 1, '1', '2', '1');
INSERT INTO haszn (hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj) VALUES
  ('1', 'K-2020/1', '1', '2020-10-01', '2030-09-30', '2020-09-15', 'Tíz évre.'),
  ('2', 'A-2019/5', '2', '2019-10-01', '2029-09-30', NULL, ''),
  ('3', 'B-2021/3', '3', '2021-10-01', '2031-09-30', NULL, ''),
  ('4', 'C-2022/4', '4', '2022-10-01', '2032-09-30', NULL, ''),
  ('5', 'U-2023/1', '4', '2023-10-01', '2033-09-30', NULL, 'tétel nélkül');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA, aJog) VALUES
  ('1', '1', '2', '2', 5.5, 0.5, 'Bérlet'), ('2', '1', '1', '1', 10, 1, 'Bérlet'),
  ('3', '2', '3', '1', 4, 0.4, ''),
  ('4', '3', '3', '2', 3, 0.3, ''), ('5', '3', '1', '1', 7, 0.7, ''),
  ('6', '4', '2', '1', 0, 0.2, '');
INSERT INTO kifiz (kKod, kDatum, kMegnev, kMenny, kMe, kEar, kNkod, kFt, kFeladas) VALUES
  ('101', '2025-03-01', 'előleg', 0, '', 0, '1', 2000, ''),
  ('102', '2025-09-01', 'búza', 12.5, 'q', 4800, '3', 60000, ''),
  ('105', '2025-09-02', 'árva', 0, '', 0, '99', 700, '');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam)
  VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03');
)";

// The texts of `all` that are one of `wanted`, in the order printed.
QStringList inOrder(const QStringList &all, const QStringList &wanted)
{
    QStringList out;
    for (const QString &t : all)
        if (wanted.contains(t))
            out << t;
    return out;
}

struct Fixture
{
    TestDb db{true};
    UiDriver driver;
    Fixture()
    {
        db.exec(QString::fromUtf8(kRegister));
        db.data().reopenTableViews();
        for (int n = 3; n <= 7; ++n)
            wt::copyTemplate(QStringLiteral("lista%1.frf").arg(n));
    }
};

QRadioButton *choice(TForm25 &w, int list)
{
    return w.findChild<QRadioButton *>(QStringLiteral("RadioButton%1").arg(list - 2));
}

} // namespace

class TestMaintenanceLists : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void windowOpensOnTheContractChoiceWithNoPick()
    {
        Fixture f;
        TForm25 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm25");
        QCOMPARE(w.windowTitle(), QString("Lista készítés"));
        QVERIFY(w.RadioButton1->isChecked());
        QCOMPARE(w.Edit2->text(), QString("Edit2"));
        QVERIFY(!w.Edit2->isVisible());
        QCOMPARE(w.Button8->toolTip(), QString("Klikk a gombra.  Megnyíló ablakból válszt."));
    }

    // Each list for one object: its heading data, its item lines in the list's order, its totals.
    void eachListPrintsItsObjectWithItsLinesAndTotals_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("heading");
        QTest::addColumn<QStringList>("lineKeys"); // texts that mark the lines, in printed order
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("3 contract") << 3 << "1"
                                    << QStringList{"Szerződésszám: K-2020/1", "Bérbeadó: Kiss Anna (1)",
                                                   "Kelt: 2020.09.15", "Időtartam: 2020.10.01 – 2030.09.30",
                                                   "Megjegyzés: Tíz évre."}
                                    << QStringList{"0123/4", "0456/7"} // Bugac before Szank
                                    << QStringList{"789"}
                                    << QStringList{"Összesen (2 tétel):", "15,50 AK", "1,5000 ha"};
        QTest::newRow("4 owner") << 4 << "3"
                                 << QStringList{"Bakos Ferenc", "Kód: 3", "Anyja neve: Vincze Ilona",
                                                "Született: 1961.11.23", "Adóazonosító: 8300000003"}
                                 << QStringList{"0123/4", "789"} << QStringList{"0456/7"}
                                 << QStringList{"Összesen (2 tétel):", "10,00 AK", "1,0000 ha"};
        QTest::newRow("5 parcel") << 5 << "1"
                                  << QStringList{"Helyrajzi szám: 0123/4", "Település: Bugac",
                                                 "Tábla: Homokos", "Egész: 30,00 AK, 2,0000 ha"}
                                  << QStringList{"Kiss Anna", "Bakos Ferenc"} << QStringList{"Antal József"}
                                  << QStringList{"Összesen (2 tétel):", "17,00 AK", "1,7000 ha"};
        QTest::newRow("6 town, by owner")
            << 6 << "2" << QStringList{"Település: Szank", "Kód: 2"}
            << QStringList{"Antal József", "Bakos Ferenc", "Csonka Irén", "Kiss Anna"}
            << QStringList{"0123/4"} << QStringList{"Összesen (4 tétel):", "12,50 AK", "1,4000 ha"};
        QTest::newRow("7 payment") << 7 << "102"
                                   << QStringList{"Kifizetési bizonylat", "Bizonylatszám: 102",
                                                  "Bakos Ferenc", "Lakcím: 6114 Bugac, Fő u. 66.",
                                                  "Adóazonosító: 8300000003"}
                                   << QStringList{"2025.09.01", "búza",          "12,5",
                                                  "q",          "4\u00a0800,00", "60\u00a0000,00"}
                                   << QStringList{"Kiss Anna"} << QStringList{"60\u00a0000,00 Ft"};
    }
    void eachListPrintsItsObjectWithItsLinesAndTotals()
    {
        QFETCH(int, list);
        QFETCH(QString, code);
        QFETCH(QStringList, heading);
        QFETCH(QStringList, lineKeys);
        QFETCH(QStringList, absent);
        QFETCH(QStringList, totals);
        Fixture f;
        TForm25 w;
        QVERIFY(wt::showActive(w));
        choice(w, list)->setChecked(true);
        w.Edit2->setText(code);
        int pages = 0;
        const QStringList texts = wt::printedTexts(f.driver, w.Button7, &pages);
        QVERIFY2(f.driver.boxes.isEmpty(), qPrintable(f.driver.texts().join('\n')));
        QCOMPARE(pages, 1);
        QVERIFY(texts.contains("Homokhát Mezőgazdasági Kft.")); // the tenant's header
        for (const QString &h : heading)
            QVERIFY2(wt::printed(texts, h), qPrintable(h + " | " + texts.join(" | ")));
        QVERIFY2(inOrder(texts, lineKeys) == lineKeys, qPrintable(texts.join(" | ")));
        for (const QString &a : absent)
            QVERIFY2(!texts.contains(a), qPrintable(a));
        for (const QString &t : totals)
            QVERIFY2(texts.contains(t), qPrintable(t + " | " + texts.join(" | ")));
        QVERIFY(w.isVisible()); // the window stays for further lists
    }

    // Before any pick, and for objects that have nothing to list, no line prints and the totals
    // are 0; a payment whose owner is missing gives no voucher.
    void nothingToListPrintsNoLine_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("code");
        QTest::newRow("no pick") << 3 << "Edit2";
        QTest::newRow("contract without items") << 3 << "5";
        QTest::newRow("owner without contract") << 4 << "77";
        QTest::newRow("payment of a missing owner") << 7 << "105";
    }
    void nothingToListPrintsNoLine()
    {
        QFETCH(int, list);
        QFETCH(QString, code);
        Fixture f;
        TForm25 w;
        QVERIFY(wt::showActive(w));
        choice(w, list)->setChecked(true);
        w.Edit2->setText(code);
        const QStringList texts = wt::printedTexts(f.driver, w.Button7);
        QVERIFY2(f.driver.boxes.isEmpty(), qPrintable(f.driver.texts().join('\n')));
        if (list == 7) {
            QVERIFY(!texts.contains("Kifizetési bizonylat"));
            QVERIFY(!wt::printed(texts, "700,00"));
        } else {
            QVERIFY2(texts.contains("Összesen (0 tétel):"), qPrintable(texts.join(" | ")));
            QVERIFY(texts.contains("0,00 AK"));
            for (const char *lot : {"0123/4", "0456/7", "789"})
                QVERIFY(!texts.contains(lot));
        }
    }

    // The pick comes from the list window's current row, whichever button closed it; a change of
    // choice drops it, so a contract's code is never printed as an owner's.
    void pickTakesTheListRowAndAChangeOfChoiceDropsIt()
    {
        Fixture f;
        TForm25 w;
        QVERIFY(wt::showActive(w));
        f.driver.onModal([](QDialog &list) {
            QCOMPARE(list.metaObject()->className(), "TForm15");
            QVERIFY(Data().ZQ10->locateCode("hKod", "3"));
            list.findChild<QPushButton *>("Button1")->click();
        });
        w.Button8->click();
        QCOMPARE(w.Edit2->text(), QString("3"));
        // Owner 3 exists and has items: had the code stayed, list 4 would print Bakos' items.
        w.RadioButton2->setChecked(true);
        QCOMPARE(w.Edit2->text(), QString("Edit2"));
        QStringList texts = wt::printedTexts(f.driver, w.Button7);
        QVERIFY(!texts.contains("Bakos Ferenc"));
        QVERIFY(texts.contains("Összesen (0 tétel):"));
        // "Mégsem" also takes the row current at closing.
        f.driver.onModal([](QDialog &list) {
            QCOMPARE(list.metaObject()->className(), "TForm3");
            QVERIFY(Data().ZQ30->locateCode("nKod", "3"));
            list.findChild<QPushButton *>("Button5")->click();
        });
        w.Button8->click();
        QCOMPARE(w.Edit2->text(), QString("3"));
        texts = wt::printedTexts(f.driver, w.Button7);
        QVERIFY(texts.contains("Bakos Ferenc"));
        QVERIFY(texts.contains("10,00 AK"));
        // Each choice opens its own list window.
        const char *classes[] = {"TForm15", "TForm3", "TForm13", "TForm7", "TForm20"};
        for (int list = 3; list <= 7; ++list) {
            choice(w, list)->setChecked(true);
            f.driver.onModal(
                [&, list](QDialog &d) { QCOMPARE(d.metaObject()->className(), classes[list - 3]); });
            w.Button8->click();
        }
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestMaintenanceLists t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_maintenance_lists.moc"
