// The certificate TForm24 and the land-use notification sheet TForm30: their check lists, and the
// prints of the ticked owners read back from the built pages, one owner per page with the owner's
// own rows and totals; nothing ticked; a selection that fails stops the print.

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "settlement/windows.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// Kiss Anna: 10 AK at 300 and 5,5 AK at 200 (two parcels), paid 2000 and 1000. Antal: one item,
// a payment and a negative group posting. Bakos: items on two parcels, no payment. Csonka: an item
// of 0 AK only.
const char *kRegister = R"(
UPDATE muvag SET mDij = 300 WHERE mKod = '1';
UPDATE muvag SET mDij = 200 WHERE mKod = '2';
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Szank');
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nAdoazon, nSzemszam) VALUES
  ('1', 'Kiss Anna', '1950-01-01', 'Nagy Ilona', '2000', 'Szentendre', 'Fő u. 1', '8300000001', '2-500101-1111'),
  ('2', 'Antal József', '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '8300000002', ''),
  ('3', 'Bakos Ferenc', '1961-11-23', 'Vincze Ilona', '6114', 'Bugac', 'Fő u. 66.', '8300000003', ''),
  ('4', 'Csonka Irén', '1950-02-02', 'Kiss Ilona', '6131', 'Szank', 'Béke u. 1.', '8300000004', '');
INSERT INTO tabla (tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES
  ('1', '0123/4', '1', 30, 2, '1', '1', '2'), ('2', '0456/7', '2', 20, 3, '2', '2', '2'),
  ('3', '789', '1', 10, 1, '1', '2', '1');
INSERT INTO haszn (hKod, hSzam, hNkod, hTol, hIg) VALUES
  ('1', 'K-2020/1', '1', '2020-10-01', '2030-09-30'), ('2', 'A-2019/5', '2', '2019-10-01', '2029-09-30'),
  ('3', 'B-2021/3', '3', '2021-10-01', '2031-09-30'), ('4', 'C-2022/4', '4', '2022-10-01', '2032-09-30');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 10, 1), ('2', '1', '2', '2', 5.5, 0.5),
  ('3', '2', '3', '1', 4, 0.4),
  ('4', '3', '1', '1', 7, 0.7), ('5', '3', '3', '2', 3, 0.3),
  ('6', '4', '2', '1', 0, 0.2);
INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) VALUES
  ('101', '2025-03-01', 'előleg', '1', 2000, ''), ('102', '2025-09-01', 'Bérleti díj 2025', '1', 1000, 'x'),
  ('103', '2025-03-02', 'termény', '2', 900, ''), ('104', '2025-12-01', 'visszafizetés', '2', -300, 'x');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam)
  VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03');
)";

void tick(SettlementWindow &w, const QStringList &names)
{
    for (int i = 0; i < w.CheckListBox1->count(); ++i)
        for (const QString &n : names)
            if (w.CheckListBox1->item(i)->text().contains("  " + n + " "))
                w.CheckListBox1->item(i)->setCheckState(Qt::Checked);
}

// The pages of a print, each as its texts.
std::vector<QStringList> printPages(UiDriver &driver, QPushButton *print)
{
    std::vector<QStringList> pages;
    wt::printedTexts(driver, print, nullptr, &pages);
    return pages;
}

bool onPage(const QStringList &page, const QString &part)
{
    return wt::printed(page, part);
}

} // namespace

class TestSettlementPrints : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void certificateListsEveryOwnerUnticked()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        TForm24 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm24");
        QCOMPARE(w.windowTitle(), QString("Igazolás a földbérleti díj kifizetésről"));
        QCOMPARE(w.Label5->text(), QString("A megjelöltek kerülnek  nyomtatásra."));
        QCOMPARE(w.Label1->text(),
                 QString("Ha a lista nem fér rá egy lapra, a fej- és lábrész megismétlésre kerül."));
        QCOMPARE(w.CheckListBox1->count(), 4);
        QCOMPARE(w.CheckListBox1->item(0)->text(), "2  " + QString("Antal József").leftJustified(40) +
                                                       "    Lakcim: 6100  Kiskunfélegyháza  Petőfi u. 12.");
        QCOMPARE(w.ticks(), std::vector<bool>(4, false));
        w.Button8->click();
        QCOMPARE(w.ticks(), std::vector<bool>(4, true));
        w.Button3->click();
        QCOMPARE(w.ticks(), std::vector<bool>(4, false));
    }

    void threeTickedOwnersGetThreeCertificatesOfTheirOwn()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("igazolas.frf"));
        UiDriver driver;
        TForm24 w;
        QVERIFY(wt::showActive(w));
        tick(w, {"Kiss Anna", "Antal József", "Bakos Ferenc"});
        const std::vector<QStringList> pages = printPages(driver, w.Button1);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QVERIFY(!w.isVisible());
        QCOMPARE(pages.size(), size_t(3)); // one page each, none empty after the last
        // By name: Antal, Bakos, Kiss.
        const QStringList &antal = pages[0], &bakos = pages[1], &kiss = pages[2];
        QVERIFY(onPage(antal, "Antal József") && !onPage(antal, "Kiss Anna"));
        QVERIFY(onPage(kiss, "I G A Z O L Á S") && onPage(kiss, "Homokhát Mezőgazdasági Kft."));
        // Kiss Anna: 10 AK at 300 and 5,5 AK at 200; paid 2000 and 1000.
        for (const char *part : {"K-2020/1",
                                 "0123/4",
                                 "0456/7",
                                 "Bugac",
                                 "Szank",
                                 "10,00",
                                 "5,50",
                                 "300,00",
                                 "200,00",
                                 "3\u00a0000,00",
                                 "1\u00a0100,00",
                                 "15,50 AK",
                                 "4\u00a0100,00 Ft",
                                 "101",
                                 "102",
                                 "előleg",
                                 "Bérleti díj 2025",
                                 "3\u00a0000,00 Ft",
                                 "8300000001",
                                 "1950.01.01",
                                 "Nagy Ilona",
                                 "2000 Szentendre, Fő u. 1"})
            QVERIFY2(onPage(kiss, QString::fromUtf8(part)), part);
        QVERIFY(!onPage(kiss, "termény") && !onPage(kiss, "789"));
        // Antal: the negative group posting is not listed; his payment total is the positive one.
        QVERIFY(onPage(antal, "termény"));
        QVERIFY(!onPage(antal, "visszafizetés"));
        QVERIFY(onPage(antal, "900,00 Ft"));
        QVERIFY(onPage(antal, "4,00 AK"));
        // Bakos: two parcels, no payment: no payment line, the total is empty.
        QVERIFY(onPage(bakos, "0123/4") && onPage(bakos, "789"));
        QVERIFY(onPage(bakos, "10,00 AK"));
        QVERIFY(onPage(bakos, "Kifizetve összesen (0 bizonylat):"));
        QVERIFY(!onPage(bakos, "előleg") && !onPage(bakos, "termény"));
        // The work table holds the ticked owners only now.
        QCOMPARE(db.rows("SELECT DISTINCT xnKod FROM munk ORDER BY xnKod"), (QStringList{"1", "2", "3"}));
    }

    void anOwnerWithOnlyAZeroItemStillGetsACertificate()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("igazolas.frf"));
        UiDriver driver;
        TForm24 w;
        QVERIFY(wt::showActive(w));
        tick(w, {"Csonka Irén"});
        const std::vector<QStringList> pages = printPages(driver, w.Button1);
        QCOMPARE(pages.size(), size_t(1));
        QVERIFY(onPage(pages[0], "Csonka Irén"));
        QVERIFY(!onPage(pages[0], "0456/7")); // the item of 0 AK is not listed
    }

    void nothingTickedPrintsNoOwner()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("igazolas.frf"));
        QVERIFY(wt::copyTemplate("foldhasznalat.frf"));
        UiDriver driver;
        {
            TForm24 w;
            QVERIFY(wt::showActive(w));
            const std::vector<QStringList> pages = printPages(driver, w.Button1);
            for (const QStringList &p : pages)
                QVERIFY(!onPage(p, "Bérbeadó:"));
            QCOMPARE(db.scalar("SELECT count(*) FROM munk"), QString("0"));
        }
        TForm30 l;
        QVERIFY(wt::showActive(l));
        const std::vector<QStringList> pages = printPages(driver, l.Button1);
        for (const QStringList &p : pages)
            QVERIFY(!onPage(p, "2. A földtulajdonos"));
    }

    void aSelectionThatFailsPrintsNothing()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        TForm24 w;
        QVERIFY(wt::showActive(w));
        db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON munk FOR EACH ROW SIGNAL SQLSTATE '45000'");
        tick(w, {"Kiss Anna"});
        w.Button1->click();
        QCOMPARE(driver.texts(), QStringList{"Hiba:  munk UPDATE ! "});
        QCOMPARE(driver.modalCount(), 0); // no preview
        QVERIFY(w.isVisible());
        QCOMPARE(db.scalar("SELECT count(DISTINCT xnKod) FROM munk"), QString("4")); // as it was
    }

    void landUseSheetsListEveryParcelAndItemWithTheOwnersOwnTotals()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("foldhasznalat.frf"));
        UiDriver driver;
        TForm30 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm30");
        QCOMPARE(w.windowTitle(), QString("Földhasználati bejelentési adatlap "));
        // Owners who lease out items, by name; an owner with payments only would not be here.
        QCOMPARE(w.CheckListBox1->count(), 4);
        QVERIFY(w.CheckListBox1->item(1)->text().startsWith("3  Bakos Ferenc"));
        tick(w, {"Kiss Anna", "Bakos Ferenc"});
        const std::vector<QStringList> pages = printPages(driver, w.Button1);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QCOMPARE(pages.size(), size_t(2));
        // In owner-code order: Kiss (1), Bakos (3); each sheet its own parcels, items and totals.
        const QStringList &kiss = pages[0], &bakos = pages[1];
        QVERIFY(onPage(kiss, "Kiss Anna") && onPage(kiss, "Homokhát Mezőgazdasági Kft."));
        for (const char *part :
             {"0123/4", "0456/7", "külterület", "magántulajdon", "osztatlan közös tulajdon", "szántó", "rét",
              "15,50 AK", "1,5000 ha", "2-500101-1111"})
            QVERIFY2(onPage(kiss, QString::fromUtf8(part)), part);
        // The second sheet lists the items of both of Bakos's parcels, and his own totals.
        for (const char *part :
             {"Bakos Ferenc", "0123/4", "789", "belterület", "7,00", "3,00", "10,00 AK", "1,0000 ha"})
            QVERIFY2(onPage(bakos, QString::fromUtf8(part)), part);
        QVERIFY(!onPage(bakos, "15,50 AK"));
        QVERIFY(!onPage(bakos, "0456/7"));
    }

    void menuItemsOpenTheWindows()
    {
        TestDb db(true);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        for (const char *item : {"Igazols1", "Bejelents1"}) {
            auto *a = form.findChild<QAction *>(item);
            QVERIFY2(a && a->isEnabled(), item);
            a->trigger();
        }
        QCOMPARE(driver.modalClasses(), (QStringList{"TForm24", "TForm30"}));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestSettlementPrints t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_settlement_prints.moc"
