// The contract list TForm15 driven as the clerk drives it: its controls, the opening position, the
// search by contract number, the five sorts, "Új" and "Módosít", "Töröl" of the header alone, the
// pick left in ZQ10, and the print of every contract with its items.

#include "app/registry.h"
#include "app/tform1.h"
#include "contracts/contracts.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Four contracts; 2 and 10 share the number A-2019/5; 3 has no item; item 5 belongs to a contract
// that no longer exists (it still counts in the grand totals).
const char *kContracts = R"(
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Szank');
INSERT INTO tulaj (nKod, nNev, nSzido, nIrszam, nHely, nUtca) VALUES
  ('1', 'Antal József', '1948-03-12', '6114', 'Bugac', 'Fő u. 1.'),
  ('2', 'Kiss Anna', '1950-03-07', '6131', 'Szank', 'Béke u. 2.'),
  ('3', 'Őry Ödön', '1955-01-01', '6131', 'Szank', 'Kút u. 3.');
INSERT INTO tabla (tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES
  ('1', '0123/4', '1', 30, 2, '1', '1', '2'), ('2', '0456/7', '2', 20, 3, '1', '2', '2'),
  ('3', '789', '1', 10, 1, '1', '2', '1');
INSERT INTO haszn (hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj) VALUES
  ('1', 'B-2020/1', '1', '2020-10-01', '2030-09-30', '2020-09-15', ''),
  ('2', 'A-2019/5', '2', '2019-10-01', '2029-09-30', '2019-09-10', 'elővásárlási jog'),
  ('3', 'C-2021/2', '3', '2021-01-01', '2025-12-31', '2020-12-20', ''),
  ('10', 'A-2019/5', '3', '2018-01-01', '2033-12-31', '2017-12-20', '');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA, aDatum, aJog, aTeljes, aVazlat) VALUES
  ('1', '1', '1', '1', 30, 2, '2020-09-15', 'Bérlet', 'Igen', 'Igen'),
  ('2', '1', '2', '2', 10, 1.5, '2020-09-15', 'Bérlet', 'Nem', 'Igen'),
  ('3', '2', '3', '1', 10, 1, '2019-09-10', 'Bérlet', 'Igen', 'Nem'),
  ('4', '10', '2', '2', 5, 0.5, '2017-12-20', 'Részarány', 'Nem', 'Nem'),
  ('5', '99', '1', '1', 7, 0.7, '2015-01-01', 'Bérlet', 'Igen', 'Igen');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam)
  VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03');
)";

QString current(const QString &field)
{
    return Data().ZQ10->fieldText(field);
}

} // namespace

class TestContractList : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsControls()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm15");
        QCOMPARE(w.windowTitle(), QString("Haszonbérlet bevitel"));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.Label19->text(), QString("Szerződésszám:"));
        QCOMPARE(w.Label19->buddy(), w.Edit1);
        QCOMPARE(w.Label18->text(), QString("A lista, \"Szerződés\" szerint"));
        QCOMPARE(mv().listOrderText, QString("A lista, \"Szerződés\" szerint"));
        QCOMPARE(w.DBGrid1->toolTip(), QString("Rendezéshez klikk az oszlop fejrészre"));
        QCOMPARE(wt::gridTitles(w.DBGrid1),
                 (QStringList{"Kód", "Szerz.szám", "Névkód", "Tól", "Ig", "Kelt", "Megjegyzés", "IDh"}));
        QStringList adata;
        for (QLabel *l : w.GroupBox1->findChildren<QLabel *>())
            adata << l->text();
        QCOMPARE(adata, (QStringList{"Szerződésszám::", "Névkódja::", "Bérleti időtartam", "-",
                                     "Kelt:", "Megjegyzés:", "ID:", "Hkod:"}));
        struct B
        {
            QPushButton *button;
            const char *caption, *hint;
        };
        const B buttons[] = {{w.Button1, "Kiválaszt", "Ablak záráskor a megjelölt sort átemeli"},
                             {w.Button2, "Új", "Új tétel bevitele. Ablak nyitás"},
                             {w.Button3, "Módosít", "Kiválasztott sor módositása"},
                             {w.Button4, "Töröl", "Kiválasztott sort törli"},
                             {w.Button7, "Nyomtat", "Teljes lista a szerződésekrőlről."},
                             {w.Button5, "Mégsem", "Kilépés, ablak bezárás"}};
        int x = -1;
        for (const B &b : buttons) {
            QCOMPARE(b.button->text(), QString(b.caption));
            QCOMPARE(b.button->toolTip(), QString(b.hint));
            QVERIFY2(b.button->x() > x, b.caption);
            x = b.button->x();
        }
        // Opened before any contract was saved: the first by number.
        QCOMPARE(current("hSzam"), QString("A-2019/5"));
    }

    void opensOnTheContractSavedLast()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        mv().hasznCode = "1"; // not 10, whose code begins with 1 and comes first by number
        TForm15 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(current("hKod"), QString("1"));
    }

    void searchByNumberRunsOneKeyBehindAndEnterSearchesTheWholeText()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        w.DBGrid1->setFocus();
        wt::clickRow(w.DBGrid1, 3);
        w.Edit1->setFocus();
        wt::type(w.Edit1, "c"); // searches ""
        QCOMPARE(current("hSzam"), QString("A-2019/5"));
        wt::type(w.Edit1, "-"); // searches "c"
        QCOMPARE(current("hSzam"), QString("C-2021/2"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Szerződés\" szerint"));
        w.Edit1->setText("b-2");
        QTest::keyClick(w.Edit1, Qt::Key_Return);
        QCOMPARE(current("hSzam"), QString("B-2020/1"));
        QCOMPARE(QApplication::focusWidget(), w.Edit1); // Enter does not move the focus here
    }

    void sortingByTitles_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstCode");
        QTest::newRow("code") << 0 << "A lista, \"Kód\" szerint"
                              << "1";
        QTest::newRow("number") << 1 << "A lista, \"Szerződésszám\" szerint"
                                << "";
        QTest::newRow("owner code") << 2 << "A lista, \"Névkód\" szerint"
                                    << "1";
        QTest::newRow("from") << 3 << "A lista, \"Tól\" szerint"
                              << "10";
        QTest::newRow("to") << 4 << "A lista, \"Ig\" szerint"
                            << "3";
    }
    void sortingByTitles()
    {
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, firstCode);
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        Data().ZQ10->last();
        wt::clickTitle(w.DBGrid1, column);
        QCOMPARE(w.Label18->text(), caption);
        QCOMPARE(Data().ZQ10->rowIndex(), 0);
        if (firstCode.isEmpty())
            QCOMPARE(current("hSzam"), QString("A-2019/5"));
        else
            QCOMPARE(current("hKod"), firstCode);
        QCOMPARE(mv().listOrderText, QString("A lista, \"Szerződés\" szerint")); // not changed by a sort
    }

    void otherTitlesDoNothing()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        Data().ZQ10->last();
        const QStringList sql = Data().ZQ10->sql();
        for (int column : {5, 6, 7}) {
            wt::clickTitle(w.DBGrid1, column);
            QCOMPARE(w.Label18->text(), QString("A lista, \"Szerződés\" szerint"));
            QCOMPARE(Data().ZQ10->sql(), sql);
            QCOMPARE(Data().ZQ10->rowIndex(), Data().ZQ10->rowCount() - 1);
        }
    }

    void newAndChangeOpenTheEditWindowInTheirModes()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "B-2020/1"));
        QString caption, number;
        driver.onModal([&](QDialog &d) {
            caption = d.windowTitle();
            number = d.findChild<QLineEdit *>("Edit1")->text();
        });
        w.Button3->click();
        // No use check before a change.
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(driver.modalClasses(), QStringList{"TForm16"});
        QCOMPARE(mv().hasznEditMode, QString("Haszonbérlet módositás"));
        QCOMPARE(mv().hasznEditCode, QString("1"));
        QCOMPARE(caption, QString("Haszonbérlet módositás"));
        QCOMPARE(number, QString("B-2020/1"));

        driver.onModal([&](QDialog &d) {
            caption = d.windowTitle();
            number = d.findChild<QLineEdit *>("Edit7")->text();
        });
        w.Button2->click();
        QCOMPARE(mv().hasznEditMode, QString("Új haszonbérlet"));
        QCOMPARE(caption, QString("Haszonbérleti szerződés bevitel"));
        QCOMPARE(number, QString("11")); // the next code, shown already
    }

    void deleteRemovesTheHeaderAloneAndRefusesTheLastContract()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "B-2020/1"));
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"A szerződéssor törlölve!"});
        QCOMPARE(driver.modalCount(), 0); // no question
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn WHERE hKod = '1'"), QString("0"));
        // Its items stay, still naming the deleted contract.
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz WHERE aHkod = '1'"), QString("2"));
        QCOMPARE(Data().ZQ10->rowIndex(), 0);
        QCOMPARE(wt::rowOf(w.DBGrid1, "B-2020/1"), -1);

        db.exec("DELETE FROM haszn WHERE hKod <> '3'");
        driver.clear();
        w.Button6->click(); // read the list again
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"Egy sornak maradni kell, nem törölhető ki."});
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn"), QString("1"));
    }

    void aRefusedDeleteShowsItsMessage()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.exec("CREATE TRIGGER no_delete BEFORE DELETE ON haszn FOR EACH ROW "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'tilos'");
        db.data();
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"Hiba: haszn DELETE törlésekor"});
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn"), QString("4"));
        QVERIFY(w.isVisible());
    }

    void pickAndCancelLeaveTheListOnItsRow()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data();
        UiDriver driver;
        for (bool pick : {true, false}) {
            TForm15 w;
            QVERIFY(wt::showActive(w));
            wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "C-2021/2"));
            (pick ? w.Button1 : w.Button5)->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(current("hKod"), QString("3"));
        }
    }

    void printListsEveryContractWithItsItemsAndTheTotals()
    {
        TestDb db(true);
        db.exec(kContracts);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("haszn1.frf"));
        UiDriver driver;
        TForm15 w;
        QVERIFY(wt::showActive(w));
        const QStringList texts = wt::printedTexts(driver, w.Button7);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QVERIFY(wt::printed(texts, "Homokhát Mezőgazdasági Kft."));
        // Contracts in number order, each followed by its own items and totals; two contracts that
        // share a number are both there, and a contract without items is not.
        auto at = [&](const QString &part, int from = 0) {
            for (int i = from; i < texts.size(); ++i)
                if (texts[i].contains(part))
                    return i;
            return -1;
        };
        const int a1 = texts.indexOf("Kód: 2"), a2 = texts.indexOf("Kód: 10"), b = texts.indexOf("Kód: 1");
        QVERIFY(a1 >= 0 && a2 >= 0 && b >= 0);
        QVERIFY(a1 < b && a2 < b);
        QCOMPARE(at("Szerződésszám: A-2019/5", qMax(a1, a2) + 1), -1);
        QCOMPARE(texts.filter("Szerződésszám: A-2019/5").size(), 2);
        QVERIFY(!wt::printed(texts, "C-2021/2"));
        // Contract 1: its two items and its totals after its header.
        QVERIFY(at("0123/4", b) > b);
        QVERIFY(at("0456/7", b) > b);
        QVERIFY(at("40,00", b) > b);
        QVERIFY(at("3,5000", b) > b);
        // Contract 10's item (Szank, rét, 5 AK) lies between its header and the next contract.
        const int next10 = a2 < a1 ? a1 : b;
        const int item10 = at("5,00", a2);
        QVERIFY2(item10 > a2 && item10 < next10, qPrintable(texts.mid(a2, next10 - a2).join('|')));
        QVERIFY(wt::printed(texts, "Bérbeadó: Őry Ödön (3)"));
        // The grand totals count every item, also the one whose contract is gone.
        QVERIFY(wt::printed(texts, "62,00 AK"));
        QVERIFY(wt::printed(texts, "5,7000 ha"));
        QCOMPARE(Data().variables.value("v_mAK").toDouble(), 62.0);
    }

    void menuItemOpensTheContractList()
    {
        TestDb db(true);
        db.exec(kContracts);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        auto *item = form.findChild<QAction *>("Haszonbrlet1");
        QVERIFY(item && item->isEnabled());
        QString title;
        driver.onModal([&](QDialog &d) { title = d.windowTitle(); });
        item->trigger();
        QCOMPARE(driver.modalClasses(), QStringList{"TForm15"});
        QCOMPARE(title, QString("Haszonbérlet bevitel"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestContractList t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_contracts_list.moc"
