// Group posting TForm21 and the payment register TForm22 driven as the clerk drives them: the
// ticks and lines, posting and revocation, the bad date, a rebuild that fails, the register's
// overpayment notice and red names, and its print with the banknote count.

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
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// Balances by name: Antal 12345 (to pay), Bakos 7 (to pay), Csonka −500 (overpaid), Dénes 0,
// Erdei payments only, Fazekas 1100,55 (to pay, in fillér).
const char *kRegister = R"(
UPDATE muvag SET mDij = 1000 WHERE mKod = '1';
UPDATE muvag SET mDij = 1 WHERE mKod = '2';
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nAdoazon) VALUES
  ('1', 'Antal József', '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '8296555883'),
  ('2', 'Bakos Ferenc', '1961-11-23', 'Vincze Ilona', '6114', 'Bugac', 'Fő u. 66.', '8346593279'),
  ('3', 'Csonka Irén', '1950-01-01', 'Kiss Ilona', '6131', 'Szank', 'Béke u. 1.', '8300000003'),
  ('4', 'Dénes Dávid', '1960-06-06', 'Tóth Éva', '6120', 'Kiskunmajsa', 'Ady u. 2.', '8300000004'),
  ('5', 'Erdei Erzsébet', '1955-05-05', 'Nagy Anna', '6000', 'Kecskemét', 'Fő tér 1.', '8300000005'),
  ('6', 'Fazekas Ferenc', '1957-07-07', 'Vass Éva', '6100', 'Kiskunfélegyháza', 'Tó u. 3.', '8300000006');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', 'A', '1'), ('2', 'B', '2'), ('3', 'C', '3'), ('4', 'D', '4'), ('6', 'F', '6');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 12.345, 1), ('2', '2', '1', '2', 7, 1), ('3', '3', '1', '1', 1, 1),
  ('4', '4', '1', '1', 2, 1), ('5', '6', '1', '2', 1100.55, 1);
INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) VALUES
  ('1039', '2025-01-10', 'előleg', '3', 1500, ''), ('1040', '2025-01-10', 'díj', '4', 2000, ''),
  ('1041', '2025-02-01', 'termény', '5', 800, '');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam)
  VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03');
)";

QStringList lineNames(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text().section("  ", 1, 1).trimmed();
    return out;
}

QList<bool> lineTicks(SettlementWindow &w)
{
    const auto t = w.ticks();
    return QList<bool>(t.begin(), t.end());
}

} // namespace

class TestSettlementWindows : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void postingListsEveryOwnerTickedWhenTheyAreStillOwed()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm21");
        QCOMPARE(w.windowTitle(), QString("Bérleti díj csoportos feladása"));
        QCOMPARE(lineNames(w.CheckListBox1),
                 (QStringList{"Antal József", "Bakos Ferenc", "Csonka Irén", "Dénes Dávid", "Erdei Erzsébet",
                              "Fazekas Ferenc"}));
        QCOMPARE(lineTicks(w), (QList<bool>{true, true, false, false, false, true}));
        QVERIFY(w.CheckListBox1->item(5)->text().contains("Fizetendö = 1100,55 Ft"));
        QVERIFY(QFontInfo(w.CheckListBox1->font()).fixedPitch());
        QCOMPARE(w.Edit1->text(), QDate::currentDate().toString("yyyy.MM.dd"));
        QCOMPARE(w.Edit2->text(), QString("Bérleti dij (csoportos feladás)"));
        QCOMPARE(w.Label5->text(), QString("A megjelöltek kerülnek  feladásra."));
        QVERIFY(!w.failureLabel->isVisible());
        w.Button8->click();
        QCOMPARE(lineTicks(w), QList<bool>(6, true));
        w.Button2->click();
        QCOMPARE(lineTicks(w), QList<bool>(6, false));
    }

    void postingStoresOnePaymentPerTickedOwnerUnderConsecutiveVouchers()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        {
            TForm21 w;
            QVERIFY(wt::showActive(w));
            // The overpaid owner ticked by hand is posted with a negative amount.
            w.CheckListBox1->item(2)->setCheckState(Qt::Checked);
            w.Edit1->setText("2025.11.30");
            w.Edit2->setText("Átutalás 2025");
            QTest::mousePress(w.Button6, Qt::LeftButton);
            QCOMPARE(w.Label5->text(),
                     QString(" Adatfeldolgozás... Kérem várjon az üzenet ablak bezáródásáig!"));
            QTest::mouseRelease(w.Button6, Qt::LeftButton);
            QCOMPARE(driver.texts(), QStringList{"A csoportos feladás befejeződött "});
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(db.rows("SELECT kKod, kNkod, kFt, kMenny, kMe, kEar, kDatum, kMegnev, kFeladas FROM kifiz "
                         "WHERE kFeladas = 'x' ORDER BY kKod"),
                 (QStringList{"1042|1|12345|0||0|2025-11-30|Átutalás 2025|x",
                              "1043|2|7|0||0|2025-11-30|Átutalás 2025|x",
                              "1044|3|-500|0||0|2025-11-30|Átutalás 2025|x",
                              "1045|6|1100.55|0||0|2025-11-30|Átutalás 2025|x"}));
        // Opened again: every posted owner is at 0 and no longer ticked.
        driver.clear();
        TForm21 again;
        QVERIFY(wt::showActive(again));
        QCOMPARE(lineTicks(again), QList<bool>(6, false));
        for (int line : {0, 1, 2, 5})
            QVERIFY2(again.CheckListBox1->item(line)->text().contains("Fizetendö = 0 Ft"),
                     qPrintable(again.CheckListBox1->item(line)->text()));
    }

    void nothingTickedPostsNothingAndSaysItIsDone()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        w.Button2->click();
        w.Button6->click();
        QCOMPARE(driver.texts(), QStringList{"A csoportos feladás befejeződött "});
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("3"));
    }

    void aDateThatDoesNotReadPostsNothing()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setText("2025.02.30");
        w.Button6->click();
        // One message, not one per ticked owner, and the window stays open.
        QCOMPARE(driver.texts(), QStringList{"Hibás dátum!"});
        QCOMPARE(w.focusWidget(), w.Edit1);
        QVERIFY(w.isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("3"));
        QCOMPARE(w.Label5->text(), QString("A megjelöltek kerülnek  feladásra."));
    }

    void aRefusedInsertFailsThatOwnerAndTheOthersGoOn()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.exec("CREATE TRIGGER refuse BEFORE INSERT ON kifiz FOR EACH ROW "
                "IF NEW.kNkod = '2' THEN SIGNAL SQLSTATE '45000'; END IF");
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        w.Button6->click();
        QCOMPARE(driver.texts(), (QStringList{"Hiba: Csoportos újban, INSERT-append a kifiz-ben ",
                                              "A csoportos feladás befejeződött "}));
        // Consecutive numbers still: the refused owner's number goes to the next one.
        QCOMPARE(db.rows("SELECT kKod, kNkod FROM kifiz WHERE kFeladas = 'x' ORDER BY kKod"),
                 (QStringList{"1042|1", "1043|6"}));
    }

    void revocationRemovesEveryGroupPostingAndKeepsTheOthers()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.exec("INSERT INTO kifiz (kKod, kNkod, kFt, kFeladas) VALUES ('900', '1', 100, 'x'), ('901', '2', "
                "7, 'x')");
        db.data();
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        QTest::mousePress(w.Button3, Qt::LeftButton);
        QCOMPARE(w.Label5->text(),
                 QString(" Adatfeldolgozás... Kérem várjon az üzenet ablak megjelenitéséig!"));
        QTest::mouseRelease(w.Button3, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"A csoportos feladás VISSZAVONÁSA befejeződött "});
        QVERIFY(!w.isVisible());
        QCOMPARE(db.rows("SELECT kKod FROM kifiz ORDER BY kKod"), (QStringList{"1039", "1040", "1041"}));
    }

    void aFailingRebuildDisablesPostingAndSaysWhy()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        db.exec("INSERT INTO munk (xnKod, xnNev, xkFt) VALUES ('1', 'régi sor', 5)");
        db.exec("CREATE TRIGGER refuse BEFORE INSERT ON munk FOR EACH ROW "
                "IF NEW.xkKod IS NOT NULL THEN SIGNAL SQLSTATE '45000'; END IF");
        UiDriver driver;
        TForm21 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(driver.texts(), QStringList{"Hiba: kifiz, INSERT-append a munk-ba "});
        QVERIFY(!w.Button6->isEnabled());
        QVERIFY(w.Button3->isEnabled()); // revocation does not read the work table
        QVERIFY(w.failureLabel->isVisible());
        QVERIFY(w.failureLabel->text().contains("kifiz, INSERT-append a munk-ba"));
        QCOMPARE(w.CheckListBox1->count(), 0);
        // The table is as it was before the window opened.
        QCOMPARE(db.rows("SELECT xnKod, xnNev, xkFt FROM munk"), QStringList{"1|régi sor|5"});

        TForm22 r;
        QVERIFY(wt::showActive(r));
        QVERIFY(!r.Button1->isEnabled());
        QVERIFY(r.failureLabel->isVisible());
        QCOMPARE(r.DBGrid1->model()->rowCount(), 0);
    }

    void registerShowsEveryOwnerWithOverpaidNamesInRed()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.exec("INSERT INTO kifiz (kKod, kNkod, kFt) VALUES ('2000', '1', 20000), ('2001', '2', 10)");
        db.data();
        UiDriver driver;
        TForm22 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm22");
        QCOMPARE(w.windowTitle(), QString("Kifizetési jegyzék"));
        QCOMPARE(w.Label3->text(), QString(" Túlfizetés: 3 személynél. Neve pirossal megjelölve."));
        QCOMPARE(wt::gridTitles(w.DBGrid1),
                 (QStringList{"xNKod", "xnNev", "sum_AK", "sum_Dij", "sum_kifiz", "sum_fizetni", "xnSzido",
                              "xnAnyja", "xnIrszam", "xnHely", "xnUtca", "xnAdoazon"}));
        Query *q = Data().ZQ110;
        QCOMPARE(q->rowCount(), 6);
        QCOMPARE(q->rowIndex(), 5); // the last owner, by code
        for (int row = 0; row < q->rowCount(); ++row) {
            const bool overpaid = q->cellValue(row, 5).toDouble() < 0;
            QCOMPARE(settlement::registerCellBackground(*q, row, 1), overpaid ? QBrush(Qt::red) : QBrush());
            QCOMPARE(settlement::registerCellBackground(*q, row, 0), overpaid ? QBrush(Qt::white) : QBrush());
        }
    }

    void registerPrintLeavesOutOwnersWithNothingToPayAndCountsTheNotes()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("jegyzek.frf"));
        UiDriver driver;
        TForm22 w;
        QVERIFY(wt::showActive(w));
        for (int print = 0; print < 2; ++print) { // twice: the same counts
            const QStringList texts = wt::printedTexts(driver, w.Button1);
            QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
            for (const char *name : {"Antal József", "Bakos Ferenc", "Fazekas Ferenc"})
                QVERIFY2(wt::printed(texts, QString::fromUtf8(name)), name);
            for (const char *name : {"Csonka Irén", "Dénes Dávid", "Erdei Erzsébet"})
                QVERIFY2(!wt::printed(texts, QString::fromUtf8(name)), name);
            // 12345 + 7 → 5 + 1100,55 → 1100: one 10000, one 2000, one 1000, one 200, two 100 …
            for (const char *line : {"20000 Ft =   0 db", "10000 Ft =   1 db", " 2000 Ft =   1 db",
                                     " 1000 Ft =   1 db", "  200 Ft =   1 db", "  100 Ft =   2 db",
                                     "   50 Ft =   0 db", "   20 Ft =   2 db", "    5 Ft =   2 db"})
                QVERIFY2(texts.contains(QString::fromUtf8(line)), line);
            QVERIFY(wt::printed(texts, "13\u00a0450 Ft")); // the cash: 12345 + 5 + 1100
            // The grand total nets every owner: 16 452,55 of rent less 4300 paid (Erdei's too).
            QVERIFY(wt::printed(texts, "12\u00a0152,55"));
            QVERIFY(wt::printed(texts, "Homokhát Mezőgazdasági Kft."));
            QCOMPARE(mv().count10000, 1);
            QCOMPARE(mv().count5, 2);
        }
        QCOMPARE(Data().ZQ110->sql().last(), QString("  ORDER BY xnNev   "));
    }

    void menuItemsOpenTheWindows()
    {
        TestDb db(true);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        for (const char *item : {"Csoportos1", "Jegyzk1"}) {
            auto *a = form.findChild<QAction *>(item);
            QVERIFY2(a && a->isEnabled(), item);
            a->trigger();
        }
        QCOMPARE(driver.modalClasses(), (QStringList{"TForm21", "TForm22"}));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestSettlementWindows t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_settlement_windows.moc"
