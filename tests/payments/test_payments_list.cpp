// The payment list TForm20 driven as the clerk drives it: its controls, the opening position, the
// search by voucher number, the sorts, "Új" and "Módosít", "Töröl" with its refusal, the pick left
// in ZQ90, and the print of every payment with its owner and the total.

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "payments/payments.h"
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

// Payment 7 names an owner that does not exist: it counts in the total but prints no row.
const char *kPayments = R"(
INSERT INTO tulaj (nKod, nNev, nSzido) VALUES ('1', 'Antal József', '1948-03-12'), ('2', 'Kiss Anna', '1950-03-07');
INSERT INTO kifiz (kKod, kDatum, kMegnev, kMenny, kMe, kEar, kFt, kNkod, kFeladas) VALUES
  ('12', '2025-03-01', 'búza', 2.5, 'q', 7600, 19000, '1', ''),
  ('123', '2025-01-15', 'Bérleti díj 2024', 0, '', 0, 45000.5, '2', 'x'),
  ('5', '2025-06-30', 'kukorica', 3, 'q', 0.333, 0.999, '2', ''),
  ('7', '2024-12-01', 'előleg', 0, '', 0, 1000, '99', '');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam)
  VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03');
)";

QString current(const QString &field)
{
    return Data().ZQ90->fieldText(field);
}

} // namespace

class TestPaymentList : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsControlsInVoucherOrder()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(w.windowTitle(), QString("Termény, egyedi kifizetés"));
        QCOMPARE(w.Label19->text(), QString("Bizonylatszám:"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Bizonylatszám\" szerint"));
        QCOMPARE(wt::gridTitles(w.DBGrid1),
                 (QStringList{"Bizonylatszám", "Dátum", "Megnevezés", "Mennyiség", "Mennyiség egység",
                              "Egységár", "Kifizetés (Ft)", "Néckód", "kfeladas", "IDk"}));
        QStringList adata;
        for (QLabel *l : w.GroupBox1->findChildren<QLabel *>())
            adata << l->text();
        QCOMPARE(adata, (QStringList{"ID:", "Bizonylatszám::", "Névkódja::", "Megnevezés:", "Kelt:",
                                     "Mennyiség:", "M.egység:", "Egységár:", "Kifizetett:"}));
        QCOMPARE(w.Button2->toolTip(), QString("Új kifizetés. Ablak nyitás"));
        QCOMPARE(w.Button7->toolTip(), QString("Teljes lista a kifizetésről."));
        // Voucher order is the text order of the column: 12, 123, 5, 7.
        QStringList order;
        for (int r = 0; r < Data().ZQ90->rowCount(); ++r)
            order << w.DBGrid1->model()->index(r, 0).data().toString();
        QCOMPARE(order, (QStringList{"12", "123", "5", "7"}));
        QCOMPARE(current("kKod"), QString("12"));
    }

    void opensOnThePaymentSavedLast()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        mv().kifizCode = "123";
        TForm20 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(current("kKod"), QString("123"));
    }

    void searchRunsOneKeyBehindWithItsCaption()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        Data().ZQ90->last();
        wt::type(w.Edit1, "5"); // searches "": the first row
        QCOMPARE(current("kKod"), QString("12"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Biz.szám\" szerint"));
        wt::type(w.Edit1, "x"); // searches "5"
        QCOMPARE(current("kKod"), QString("5"));
        w.Edit1->setText("9");
        w.Button6->click(); // no voucher begins with 9: the first row
        QCOMPARE(current("kKod"), QString("12"));
        w.Edit1->setText("12");
        w.Button6->click(); // 12 and 123: whichever comes first in voucher order
        QCOMPARE(current("kKod"), QString("12"));
    }

    void sortingByTitles_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("first");
        QTest::newRow("voucher") << 0 << "A lista, \"Bizonylatszám\" szerint"
                                 << "12";
        QTest::newRow("date") << 1 << "A lista, \"Dátum\" szerint"
                              << "7";
        QTest::newRow("owner code") << 7 << "A lista, \"Névkód\" szerint"
                                    << "12";
        QTest::newRow("description does nothing") << 2 << "A lista, \"Bizonylatszám\" szerint"
                                                  << "";
    }
    void sortingByTitles()
    {
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, first);
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        Data().ZQ90->last();
        wt::clickTitle(w.DBGrid1, column);
        QCOMPARE(w.Label18->text(), caption);
        if (first.isEmpty()) {
            QCOMPARE(Data().ZQ90->rowIndex(), Data().ZQ90->rowCount() - 1);
        } else {
            QCOMPARE(Data().ZQ90->rowIndex(), 0);
            QCOMPARE(current("kKod"), first);
        }
    }

    void newAndChangeOpenTheEntryWindowInTheirModes()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        QString caption, voucher, amount, owner;
        driver.onModal([&](QDialog &d) {
            auto &e = static_cast<TForm19 &>(d);
            caption = e.windowTitle();
            voucher = e.box("Edit8")->text();
            amount = e.box("Edit5")->text();
            owner = e.box("Edit10")->text();
        });
        w.Button3->click();
        QCOMPARE(driver.modalClasses(), QStringList{"TForm19"});
        QCOMPARE(caption, QString("Kifizetés módositás"));
        QCOMPARE(voucher, QString("12"));
        QCOMPARE(amount, QString("19000"));
        QCOMPARE(owner, QString("1"));
        driver.onModal([&](QDialog &d) {
            auto &e = static_cast<TForm19 &>(d);
            caption = e.windowTitle();
            voucher = e.box("Edit8")->text();
            owner = e.box("Edit10")->text();
        });
        w.Button2->click();
        QCOMPARE(caption, QString("Új kifizetés"));
        QCOMPARE(voucher, QString("124"));
        QCOMPARE(owner, QString());
    }

    void deleteRemovesThePaymentAndRefusesTheLastOne()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        QVERIFY(Data().ZQ90->locateCode("kKod", "5"));
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"A kifizetéssor törlölve!"});
        QCOMPARE(driver.modalCount(), 0);
        QCOMPARE(db.rows("SELECT kKod FROM kifiz ORDER BY kKod"), (QStringList{"12", "123", "7"}));
        QCOMPARE(current("kKod"), QString("12"));

        db.exec("DELETE FROM kifiz WHERE kKod <> '7'");
        w.Button6->click();
        driver.clear();
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"Egy sornak maradni kell, nem törölhető ki."});
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("1"));
    }

    void aRefusedDeleteShowsItsMessageAndKeepsTheList()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.exec("CREATE TRIGGER no_delete BEFORE DELETE ON kifiz FOR EACH ROW "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'tilos'");
        db.data();
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        Data().ZQ90->last();
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"Hiba: kifiz DELETE törlésekor"});
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("4"));
        QCOMPARE(current("kKod"), QString("7")); // not re-read
    }

    void pickAndCancelLeaveTheListOnItsRow()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        for (bool pick : {true, false}) {
            TForm20 w;
            QVERIFY(wt::showActive(w));
            QVERIFY(Data().ZQ90->locateCode("kKod", "123"));
            (pick ? w.Button1 : w.Button5)->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(current("kKod"), QString("123"));
        }
    }

    void printListsEveryPaymentWithItsOwnerAndTheTotal()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data().reopenTableViews();
        QVERIFY(wt::copyTemplate("Kifizetes.frf"));
        UiDriver driver;
        TForm20 w;
        QVERIFY(wt::showActive(w));
        const QStringList texts = wt::printedTexts(driver, w.Button7);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        for (const char *part :
             {"Antal József (1)", "Kiss Anna (2)", "búza", "Bérleti díj 2024", "2025.03.01", "19\u00a0000,00",
              "45\u00a0000,50", "7\u00a0600,00", "1,00", "0,33"})
            QVERIFY2(wt::printed(texts, QString::fromUtf8(part)), part);
        // The payment of an owner that does not exist prints no row but counts in the total.
        QVERIFY(!wt::printed(texts, "előleg"));
        QVERIFY(wt::printed(texts, "65\u00a0001,50 Ft"));
        QCOMPARE(Data().variables.value("v_mFt").toDouble(), 65001.499);
        QVERIFY(wt::printed(texts, "Homokhát Mezőgazdasági Kft."));
    }

    void menuItemOpensThePaymentList()
    {
        TestDb db(true);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        auto *item = form.findChild<QAction *>("Bizonylat1");
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QCOMPARE(driver.modalClasses(), QStringList{"TForm20"});
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestPaymentList t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_payments_list.moc"
