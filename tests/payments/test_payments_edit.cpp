// The payment entry window TForm19: the new-mode show state with its voucher number, the produce
// arithmetic when the quantity or the unit price is left, the date check, the checks of OK in
// order, the owner pick with what the owner has been paid, new and change stores.

#include "foundation/application.h"
#include "foundation/codes.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "payments/payments.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

const char *kPayments = R"(
INSERT INTO tulaj (nKod, nNev, nSzido, nIrszam, nHely, nUtca) VALUES
  ('1', 'Antal József', '1948-03-12', '6114', 'Bugac', 'Fő u. 1.'),
  ('2', 'Kiss Anna', '1950-03-07', '6131', 'Szank', 'Béke u. 2.');
INSERT INTO kifiz (kKod, kDatum, kMegnev, kMenny, kMe, kEar, kFt, kNkod, kFeladas) VALUES
  ('1039', '2025-03-01', 'búza', 2.5, 'q', 7600, 19000, '1', ''),
  ('1040', '2025-01-15', 'Bérleti dij (csoportos feladás)', 0, '', 0, 12345.5, '2', 'x'),
  ('1041', '2025-06-30', 'kukorica', 3, 'q', 7000, 21000, '2', '');
)";

const QString kNew = QStringLiteral("Új kifizetés");
const QString kChange = QStringLiteral("Kifizetés módositás");

std::unique_ptr<TForm19> openNew()
{
    return wt::openEditor<TForm19>(mv().kifizEditMode, kNew);
}

std::unique_ptr<TForm19> openChange(const QString &voucher)
{
    return wt::openEditorOn<TForm19>(Data().ZQ90, {"SELECT * FROM kifiz ", "         ORDER BY kKod "}, "kKod",
                                     voucher, mv().kifizEditMode, kChange);
}

void pickOwner(UiDriver &driver, TForm19 &w, const QString &code, bool cancel = false)
{
    driver.onModal([code, cancel](QDialog &list) {
        QVERIFY(Data().ZQ30->locateCode("nKod", code));
        list.findChild<QPushButton *>(cancel ? "Button5" : "Button1")->click();
    });
    w.Button3->click();
}

// Moves the focus from `from` to `to` as a Tab would (so that `from` is left).
void leave(QWidget *from, QWidget *to)
{
    QVERIFY(activate(from->window())); // after a pick list the window is active again
    from->setFocus();
    to->setFocus(Qt::TabFocusReason);
}

QString paidSoFar(TForm19 &w)
{
    return w.findChild<QLineEdit *>("Edit11")->text();
}

} // namespace

class TestPaymentEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void newPaymentOpensWithTheNextVoucherAndToday_data()
    {
        QTest::addColumn<QString>("vouchers");
        QTest::addColumn<QString>("next");
        QTest::newRow("after 1039 to 1041") << "1039,1040,1041"
                                            << "1042";
        QTest::newRow("after 9 and 10: numbers, not text") << "9,10"
                                                           << "11";
        QTest::newRow("the first payment") << ""
                                           << "1";
    }
    void newPaymentOpensWithTheNextVoucherAndToday()
    {
        QFETCH(QString, vouchers);
        QFETCH(QString, next);
        TestDb db(true);
        for (const QString &v : vouchers.split(',', Qt::SkipEmptyParts))
            db.exec(QString("INSERT INTO kifiz (kKod, kFt, kNkod) VALUES ('%1', 1, '1')").arg(v));
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        wt::shot(*w, "TForm19");
        QCOMPARE(w->windowTitle(), kNew);
        QCOMPARE(w->box("Edit8")->text(), next);
        QCOMPARE(nextVoucherNumber(), next);
        QCOMPARE(w->box("Edit6")->text(), QDate::currentDate().toString("yyyy.MM.dd"));
        QCOMPARE(w->box("Edit10")->text(), QString());
        for (const char *zero : {"Edit2", "Edit4", "Edit5"})
            QCOMPARE(w->box(zero)->text(), QString("0"));
        QCOMPARE(w->focusWidget(), w->box("Edit6"));
        QCOMPARE(w->okButton()->objectName(), QString("Button1"));
        QCOMPARE(w->cancelButton()->toolTip(), QString("Lap bezárása"));
        QCOMPARE(w->Button3->text(), QString("Név választás"));
        QCOMPARE(w->box("Edit5")->toolTip(), QString("Számított vagy beírt összeg."));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit8")), QString("Kifizetési bizonylatszáma:"));
    }

    void leavingQuantityOrPriceSetsTheAmount_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("left"); // Edit2 or Edit4
        QTest::addColumn<QString>("leftText");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("error");
        QTest::newRow("no rounding to the fillér") << "3"
                                                   << "0,333"
                                                   << "Edit2"
                                                   << "3"
                                                   << "0,999"
                                                   << "";
        QTest::newRow("half a unit") << "2,5"
                                     << "1200"
                                     << "Edit4"
                                     << "1200"
                                     << "3000"
                                     << "";
        QTest::newRow("an empty quantity becomes 0") << ""
                                                     << "1200"
                                                     << "Edit2"
                                                     << "0"
                                                     << "0"
                                                     << "";
        QTest::newRow("an empty price becomes 0") << "4"
                                                  << " "
                                                  << "Edit4"
                                                  << "0"
                                                  << "0"
                                                  << "";
        QTest::newRow("two commas: the error, the amount stays") << "1,2,3"
                                                                 << "10"
                                                                 << "Edit2"
                                                                 << "1,2,3"
                                                                 << "777"
                                                                 << "Hibás szám: „1,2,3”";
    }
    void leavingQuantityOrPriceSetsTheAmount()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, left);
        QFETCH(QString, leftText);
        QFETCH(QString, amount);
        QFETCH(QString, error);
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        w->box("Edit2")->setText(quantity);
        w->box("Edit4")->setText(price);
        w->box("Edit5")->setText("777");
        leave(w->box(left), w->box("Edit3"));
        QCOMPARE(w->box(left)->text(), leftText);
        QCOMPARE(w->box("Edit5")->text(), amount);
        if (error.isEmpty()) {
            QVERIFY(driver.boxes.isEmpty());
        } else {
            QCOMPARE(driver.texts(), QStringList{error});
            QCOMPARE(driver.boxes[0].kind, ui::BoxKind::Message);
        }
    }

    void anAmountTypedStaysUntilQuantityOrPriceIsLeft()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        w->box("Edit5")->setText("25000");
        leave(w->box("Edit5"), w->box("Edit8"));
        QCOMPARE(w->box("Edit5")->text(), QString("25000"));
        leave(w->box("Edit4"), w->box("Edit5"));
        QCOMPARE(w->box("Edit5")->text(), QString("0"));
    }

    void aBadDateIsReportedWhenItsBoxIsLeft()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        w->box("Edit6")->setText("2025.02.30");
        leave(w->box("Edit6"), w->box("Edit1"));
        QCOMPARE(driver.texts(), QStringList{"Hibás dátum!"});
        QCOMPARE(w->focusWidget(), w->box("Edit6"));
        driver.clear();
        w->box("Edit6")->setText("2025.02.28");
        leave(w->box("Edit6"), w->box("Edit1"));
        QVERIFY(driver.boxes.isEmpty());
    }

    void enterMovesTheFocusBothWays()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QVERIFY(activate(w.get()));
        w->box("Edit1")->setFocus();
        QTest::keyClick(w->box("Edit1"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->box("Edit2"));
        QTest::keyClick(w->box("Edit2"), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), w->box("Edit1"));
    }

    void checksOfOkInTheirOrder_data()
    {
        QTest::addColumn<QStringList>("boxes"); // Edit2, Edit4, Edit5, owner code
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("zeroed"); // the box set to "0", if any
        QTest::newRow("empty quantity") << QStringList{" ", "", "", ""} << "Nem lehet üres!"
                                        << "Edit2"
                                        << "Edit2";
        QTest::newRow("empty unit price") << QStringList{"1", "", "", ""} << "Nem lehet üres!"
                                          << "Edit4"
                                          << "Edit4";
        QTest::newRow("empty amount") << QStringList{"1", "1", "", ""} << "Nincs kifizetendő összeg!"
                                      << "Edit5"
                                      << "Edit5";
        QTest::newRow("zero amount") << QStringList{"1", "1", "0", "1"} << "Nulla a kifizetendő összeg!"
                                     << "Edit5"
                                     << "";
        QTest::newRow("no owner") << QStringList{"1", "1", "10", ""} << "Nincs személy kiválasztva !"
                                  << "Button3"
                                  << "";
    }
    void checksOfOkInTheirOrder()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, zeroed);
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        const char *names[] = {"Edit2", "Edit4", "Edit5", "Edit10"};
        for (int i = 0; i < 4; ++i)
            w->box(names[i])->setText(boxes[i]);
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{message});
        QCOMPARE(w->focusWidget(), w->findChild<QWidget *>(focus));
        if (!zeroed.isEmpty())
            QCOMPARE(w->box(zeroed)->text(), QString("0"));
        QVERIFY(w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("3"));
    }

    void ownerPickShowsTheOwnerAndWhatTheOwnerWasPaid()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        // Closed with "Mégsem": the list's current row is the owner all the same.
        pickOwner(driver, *w, "2", true);
        QCOMPARE(w->box("Edit10")->text(), QString("2"));
        QCOMPARE(w->GroupBox1->findChild<QLineEdit *>("DBEdit3")->text(), QString("Kiss Anna"));
        // Group-posted payments count too: 12 345,50 + 21 000.
        QCOMPARE(paidSoFar(*w), QString("33\u00a0345,50"));
        pickOwner(driver, *w, "1");
        QCOMPARE(paidSoFar(*w), QString("19\u00a0000,00"));
        db.exec("INSERT INTO tulaj (nKod, nNev) VALUES ('3', 'Új Ember')");
        Data().ZQ30->setSql({"SELECT * FROM tulaj WHERE nKod = '3'"});
        Data().ZQ30->open();
        w->f_reszosszes();
        QCOMPARE(paidSoFar(*w), QString("0,00"));
    }

    void aNewPaymentIsStoredUnderTheNextVoucher()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QCOMPARE(w->box("Edit8")->text(), QString("1042"));
        // Another payment was stored meanwhile: the number is computed again at OK.
        db.exec("INSERT INTO kifiz (kKod, kFt, kNkod) VALUES ('1042', 5, '1')");
        pickOwner(driver, *w, "2");
        w->box("Edit6")->setText("2025.11.03");
        w->box("Edit1")->setText("napraforgó");
        w->box("Edit2")->setText("2,5");
        w->box("Edit3")->setText("q");
        w->box("Edit4")->setText("17200");
        leave(w->box("Edit4"), w->box("Edit5"));
        QCOMPARE(w->box("Edit5")->text(), QString("43000"));
        w->okButton()->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QVERIFY(!w->isVisible());
        QCOMPARE(db.rows("SELECT kKod, kNkod, kMegnev, kMenny, kMe, kEar, kFt, kDatum, kFeladas FROM kifiz "
                         "WHERE kKod = '1043'"),
                 QStringList{"1043|2|napraforgó|2.5|q|17200|43000|2025-11-03|"});
        QCOMPARE(mv().kifizCode, QString("1043"));
        QCOMPARE(Data().ZQ90->sql(), (QStringList{"SELECT * FROM kifiz   ", "         ORDER BY kDatum   "}));
        QCOMPARE(Data().ZQ90->fieldText("kKod"), QString("1043"));
        QVERIFY(!Data().ZQ30->isOpen());
    }

    void anAmountOfZeroWrittenOtherwisePassesTheCheck()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        pickOwner(driver, *w, "1");
        w->box("Edit5")->setText("0,0");
        w->okButton()->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QCOMPARE(db.scalar("SELECT kFt FROM kifiz WHERE kKod = '1042'"), QString("0"));
    }

    void aDateThatDoesNotReadAtOkFailsTheStoreAndClosesTheWindow()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        pickOwner(driver, *w, "1");
        w->box("Edit5")->setText("100");
        w->box("Edit6")->setText("2025.13.01");
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{"Hiba: Újban, INSERT-append a kifiz-ben "});
        QVERIFY(!w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("3"));
        QCOMPARE(Data().ZQ90->sql(), (QStringList{"SELECT * FROM kifiz   ", "         ORDER BY kDatum   "}));
    }

    void aChangeKeepsIdentifierAndVoucherAndClearsTheGroupMark()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.data();
        UiDriver driver;
        const QString id = db.scalar("SELECT IDk FROM kifiz WHERE kKod = '1040'");
        auto w = openChange("1040");
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), kChange);
        QCOMPARE(w->box("Edit8")->text(), QString("1040"));
        QCOMPARE(w->box("Edit5")->text(), QString("12345,5"));
        QCOMPARE(w->box("Edit6")->text(), QString("2025.01.15"));
        QCOMPARE(w->box("Edit10")->text(), QString("2"));
        QCOMPARE(paidSoFar(*w), QString("33\u00a0345,50"));
        w->box("Edit1")->setText("Bérleti díj 2024 (javítva)");
        w->okButton()->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        // The group-posted row corrected by hand is a single payment now: its mark is gone.
        QCOMPARE(db.rows("SELECT IDk, kKod, kNkod, kMegnev, kFt, kFeladas FROM kifiz WHERE kKod = '1040'"),
                 QStringList{id + "|1040|2|Bérleti díj 2024 (javítva)|12345.5|"});
        QCOMPARE(mv().kifizCode, QString("1040"));
        QCOMPARE(Data().ZQ90->fieldText("kKod"), QString("1040"));
    }

    void aPaymentWhoseOwnerIsGoneOpensWithoutOwner()
    {
        TestDb db(true);
        db.exec(kPayments);
        db.exec("DELETE FROM tulaj WHERE nKod = '2'");
        db.data();
        UiDriver driver;
        auto w = openChange("1041");
        QVERIFY(w);
        QCOMPARE(w->box("Edit10")->text(), QString());
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{"Nincs személy kiválasztva !"});
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestPaymentEdit t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_payments_edit.moc"
