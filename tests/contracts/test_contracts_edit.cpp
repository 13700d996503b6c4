// The contract edit window TForm16 and the item edit window TForm17: the new contract's show step
// (its code, the clean-up, today's dates), the owner pick, the items with their totals, the checks
// of OK in order, new and change stores, and the mended faults (the header under its items' code,
// item buttons on an empty grid, an item keeping the parcel and branch it shows).

#include "contracts/contracts.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

const char *kRegister = R"(
UPDATE muvag SET mDij = 1000 WHERE mKod = '1';
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac');
INSERT INTO tulaj (nKod, nNev, nSzido, nIrszam, nHely, nUtca) VALUES
  ('1', 'Antal József', '1948-03-12', '6114', 'Bugac', 'Fő u. 1.'),
  ('2', 'Kiss Anna', '1950-03-07', '6131', 'Szank', 'Béke u. 2.');
INSERT INTO tabla (tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES
  ('1', '0123/4', '1', 30, 2, '1', '1', '2'), ('2', '0456/7', '2', 20, 3, '1', '1', '2');
INSERT INTO haszn (hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj) VALUES
  ('10041', 'B-2020/1', '1', '2020-10-01', '2030-09-30', '2020-09-15', 'régi'),
  ('10057', 'B-2021/7', '2', '2021-10-01', '2031-09-30', '2021-09-15', '');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA, aDatum, aJog, aTeljes, aVazlat, aSzoveg) VALUES
  ('1', '10041', '1', '1', 30, 2, '2020-09-15', 'Bérlet', 'Igen', 'Igen', ''),
  ('2', '10057', '2', '2', 20, 3, '2021-09-15', 'Bérlet', 'Igen', 'Nem', '');
)";

const QString kNew = QStringLiteral("Új haszonbérlet");
const QString kChange = QStringLiteral("Haszonbérlet módositás");
const QString kNewItem = QStringLiteral("Új alrészlet");
const QString kChangeItem = QStringLiteral("Alrészlet módosítás");

QString today()
{
    return QDate::currentDate().toString("yyyy.MM.dd");
}

std::unique_ptr<TForm16> openNew()
{
    return wt::openEditor<TForm16>(mv().hasznEditMode, kNew);
}

std::unique_ptr<TForm16> openChange(const QString &code)
{
    mv().hasznEditCode = code;
    return wt::openEditorOn<TForm16>(Data().ZQ10, {"SELECT * FROM haszn ", "         ORDER BY hSzam "},
                                     "hKod", code, mv().hasznEditMode, kChange);
}

// Answers the parcel and branch lists that the item window opens: the row with the given code
// becomes current and the list closes with "Kiválaszt" (or "Mégsem").
void pickRow(QDialog &list, Query *q, const QString &field, const QString &code, bool cancel = false)
{
    QVERIFY(q->locateCode(field, code));
    list.findChild<QPushButton *>(cancel ? "Button5" : "Button1")->click();
}

// Stores a new item through the item window of `contract` (the contract window's Új).
void addItem(UiDriver &driver, TForm16 &contract, const QString &parcel, const QString &branch,
             const QString &ak, const QString &ha)
{
    driver.onModal([&, parcel, branch, ak, ha](QDialog &d) {
        auto &item = static_cast<TForm17 &>(d);
        driver.onModal([&, parcel](QDialog &list) { pickRow(list, Data().ZQ40, "tKod", parcel); });
        item.Button1->click();
        driver.onModal([&, branch](QDialog &list) { pickRow(list, Data().ZQ50, "mKod", branch); });
        item.Button2->click();
        item.box("Edit1")->setText(ak);
        item.box("Edit2")->setText(ha);
        item.okButton()->click();
    });
    contract.Button2->click();
}

} // namespace

class TestContractEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void newContractOpensWithItsCodeTodayAndNothingElse()
    {
        TestDb db(true);
        db.exec(kRegister);
        // Items left under the next code by an abandoned new contract.
        db.exec("INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK) VALUES ('7', '10058', '1', '1', 5)");
        db.data();
        UiDriver driver;
        Data().ZQ30->setSql({"SELECT * FROM tulaj"});
        Data().ZQ30->open();
        auto w = openNew();
        QVERIFY(w);
        wt::shot(*w, "TForm16");
        QCOMPARE(w->windowTitle(), QString("Haszonbérleti szerződés bevitel"));
        QCOMPARE(w->box("Edit7")->text(), QString("10058"));
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz WHERE aHkod = '10058'"), QString("0"));
        for (const char *date : {"Edit2", "Edit3", "Edit4"})
            QCOMPARE(w->box(date)->text(), today());
        QCOMPARE(w->box("Edit1")->text(), QString());
        QCOMPARE(w->box("Edit8")->text(), QString());
        QVERIFY(!Data().ZQ30->isOpen()); // the owner group shows nothing
        QCOMPARE(Data().ZQ20->rowCount(), 0);
        QCOMPARE(w->box("Edit9")->text(), QString("0,00"));
        QCOMPARE(w->box("Edit10")->text(), QString("0,0000"));
        QVERIFY(w->box("Edit9")->isReadOnly() && w->box("Edit10")->isReadOnly());
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit1")), QString("Szerződésszám:"));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit2")), QString("Szerződés"));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit3")), QString("-ig"));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit4")), QString("Kelte"));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit9")), QString("AK.filler"));
        QCOMPARE(wt::labelOf(w.get(), w->box("Edit10")), QString("Ha.m2"));
        QCOMPARE(w->okButton()->objectName(), QString("Button5"));
        QCOMPARE(w->cancelButton()->objectName(), QString("Button6"));
        QCOMPARE(w->Button1->text(), QString("Tulajdonos"));
        // Date boxes take digits and dots only.
        w->box("Edit2")->clear();
        wt::type(w->box("Edit2"), "2026a.b01.01");
        QCOMPARE(w->box("Edit2")->text(), QString("2026.01.01"));
    }

    void okWithoutItemsIsRefusedAndWithOneItemStoresTheHeaderUnderTheItemsCode()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        w->box("Edit1")->setText("HB-2026/001");
        driver.onModal([](QDialog &list) { pickRow(list, Data().ZQ30, "nKod", "2"); });
        w->Button1->click();
        QCOMPARE(w->box("Edit8")->text(), QString("2"));
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{"Nincs szerződésnek tételsora!"});
        QCOMPARE(w->focusWidget(), w->Button2);
        QVERIFY(w->isVisible());

        driver.clear();
        addItem(driver, *w, "1", "1", "1000", "2");
        QCOMPARE(db.rows("SELECT aHkod, aTkod, aMkod, aAK, aHA FROM alresz WHERE aHkod = '10058'"),
                 QStringList{"10058|1|1|1000|2"}); // stored at once, before the header
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn WHERE hKod = '10058'"), QString("0"));
        w->okButton()->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QVERIFY(!w->isVisible());
        QCOMPARE(
            db.rows("SELECT hKod, hSzam, hNkod, hTol, hIg, hKelt FROM haszn WHERE hSzam = 'HB-2026/001'"),
            QStringList{
                QString("10058|HB-2026/001|2|%1|%1|%1").arg(QDate::currentDate().toString("yyyy-MM-dd"))});
        QCOMPARE(mv().hasznCode, QString("10058"));
        // The list comes back in code order on the stored contract.
        QCOMPARE(Data().ZQ10->sql(), (QStringList{"SELECT * FROM haszn ", "         ORDER BY hKod "}));
        QCOMPARE(Data().ZQ10->fieldText("hKod"), QString("10058"));
    }

    void checksOfOkInTheirOrder_data()
    {
        QTest::addColumn<QStringList>("boxes"); // Edit1, Edit2, Edit3, Edit4, owner code
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty number") << QStringList{"", "", "x", "", ""} << "Üres szerződésszám!"
                                      << "Edit1";
        // An empty date is reported before an invalid one.
        QTest::newRow("empty start beats a bad end")
            << QStringList{"1/2026", "", "2026.13.01", "2026.01.01", "1"} << "Üres dátumtól!"
            << "Edit2";
        QTest::newRow("empty end") << QStringList{"1/2026", "2026.01.01", " ", "2026.01.01", "1"}
                                   << "Üres dátumig!"
                                   << "Edit3";
        QTest::newRow("empty signing")
            << QStringList{"1/2026", "2026.01.01", "2030.01.01", "", "1"} << "Üres kelt!"
            << "Edit4";
        QTest::newRow("no owner") << QStringList{"1/2026", "2026.01.01", "2030.01.01", "2025.12.01", ""}
                                  << "Üres tulajdonos!"
                                  << "";
        QTest::newRow("bad start") << QStringList{"1/2026", "2026.02.30", "2030.01.01", "2025.12.01", "1"}
                                   << "Hibás dátum!"
                                   << "Edit2";
        QTest::newRow("bad end") << QStringList{"1/2026", "2026.02.01", "2030.13.01", "2025.12.01", "1"}
                                 << "Hibás dátum!"
                                 << "Edit3";
        QTest::newRow("bad signing") << QStringList{"1/2026", "2026.02.01", "2030.01.01", "2025..01", "1"}
                                     << "Hibás dátum!"
                                     << "Edit4";
        QTest::newRow("no item") << QStringList{"1/2026", "2026.02.01", "2030.01.01", "2025.12.01", "1"}
                                 << "Nincs szerződésnek tételsora!"
                                 << "Button2";
    }
    void checksOfOkInTheirOrder()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        const char *names[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit8"};
        for (int i = 0; i < 5; ++i)
            w->box(names[i])->setText(boxes[i]);
        w->box("Edit5")->setFocus();
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{message});
        QWidget *expected = focus.isEmpty() ? w->box("Edit5") : w->findChild<QWidget *>(focus);
        QCOMPARE(QApplication::focusWidget(), expected);
        QVERIFY(w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn"), QString("2"));
    }

    void ownerPickTakesTheListsRowAlsoOnCancel()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        driver.onModal([](QDialog &list) { pickRow(list, Data().ZQ30, "nKod", "1", true); });
        w->Button1->click();
        QCOMPARE(w->box("Edit8")->text(), QString("1"));
        QCOMPARE(w->GroupBox1->findChild<QLineEdit *>("DBEdit3")->text(), QString("Antal József"));
    }

    void itemsNewChangeAndDeleteWithTheirTotals()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        addItem(driver, *w, "1", "1", "1000", "2");
        addItem(driver, *w, "2", "2", "234,5", "0,5");
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QCOMPARE(Data().ZQ20->rowCount(), 2);
        QCOMPARE(w->box("Edit9")->text(), QString("1\u00a0234,50"));
        QCOMPARE(w->box("Edit10")->text(), QString("2,5000"));

        // Change the second item: the window re-reads the items in code order, on the changed one.
        QVERIFY(Data().ZQ20->locateCode("aTkod", "2"));
        driver.onModal([](QDialog &d) {
            auto &item = static_cast<TForm17 &>(d);
            QCOMPARE(item.windowTitle(), kChangeItem);
            QCOMPARE(item.box("Edit1")->text(), QString("234,5"));
            item.box("Edit1")->setText("34,5");
            item.okButton()->click();
        });
        w->Button3->click();
        QCOMPARE(w->box("Edit9")->text(), QString("1\u00a0034,50"));
        QCOMPARE(Data().ZQ20->fieldText("aAK"), QString("34,5"));

        w->Button4->click();
        QCOMPARE(driver.texts(), QStringList{"A alrészlet sor törlölve!"});
        QCOMPARE(Data().ZQ20->rowCount(), 1);
        QCOMPARE(w->box("Edit9")->text(), QString("1\u00a0000,00"));
        QCOMPARE(w->box("Edit10")->text(), QString("2,0000"));
    }

    void itemButtonsOnAnEmptyGridDoNothing()
    {
        // A new contract starts with no item: neither a change nor a delete may send a statement.
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        const quint64 sent = Data().ZCon1->statementsSent();
        w->Button3->click();
        w->Button4->click();
        QCOMPARE(Data().ZCon1->statementsSent(), sent);
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(driver.modalCount(), 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz"), QString("2"));
    }

    void anAbandonedNewContractsItemsStayUntilTheNextNewContract()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        {
            auto w = openNew();
            QVERIFY(w);
            addItem(driver, *w, "1", "1", "10", "1");
            addItem(driver, *w, "2", "1", "20", "2");
            w->cancelButton()->click();
        }
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz WHERE aHkod = '10058'"), QString("2"));
        auto again = openNew();
        QVERIFY(again);
        QCOMPARE(again->box("Edit7")->text(), QString("10058"));
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz WHERE aHkod = '10058'"), QString("0"));
        QCOMPARE(Data().ZQ20->rowCount(), 0);
    }

    void aCodeTakenMeanwhileRefusesTheHeaderAndKeepsTheItemsApart()
    {
        // The header is stored under the code its items carry; when another contract took that
        // code meanwhile, the unique index refuses it and the items never join another header.
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        addItem(driver, *w, "1", "1", "10", "1");
        db.exec("INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('10058', 'MÁSIK', '1')");
        w->box("Edit1")->setText("HB-2026/002");
        w->box("Edit8")->setText("2");
        w->okButton()->click();
        QCOMPARE(driver.texts(), QStringList{"Hiba: Újban, INSERT-append a haszn-ban "});
        QVERIFY(!w->isVisible());
        QCOMPARE(db.rows("SELECT hSzam FROM haszn WHERE hKod = '10058'"), QStringList{"MÁSIK"});
        QCOMPARE(db.scalar("SELECT count(*) FROM haszn WHERE hSzam = 'HB-2026/002'"), QString("0"));
    }

    void aChangeKeepsIdentifierAndCode()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        const QString id = db.scalar("SELECT IDh FROM haszn WHERE hKod = '10041'");
        auto w = openChange("10041");
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), kChange);
        QCOMPARE(w->box("Edit1")->text(), QString("B-2020/1"));
        QCOMPARE(w->box("Edit2")->text(), QString("2020.10.01"));
        QCOMPARE(w->box("Edit5")->text(), QString("régi"));
        QCOMPARE(w->box("Edit8")->text(), QString("1"));
        QCOMPARE(Data().ZQ20->rowCount(), 1);
        QCOMPARE(w->box("Edit9")->text(), QString("30,00"));
        w->box("Edit3")->setText("2035.09.30");
        // An end before the start is accepted.
        w->box("Edit2")->setText("2036.01.01");
        w->okButton()->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QCOMPARE(db.rows("SELECT IDh, hKod, hSzam, hNkod, hTol, hIg FROM haszn WHERE hKod = '10041'"),
                 QStringList{id + "|10041|B-2020/1|1|2036-01-01|2035-09-30"});
        QCOMPARE(Data().ZQ10->fieldText("hKod"), QString("10041"));
    }

    void itemWindowOpensEmptyWithItsDefaults()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        mv().alreszEditMode = kNewItem;
        TForm17 w("10058");
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm17");
        QCOMPARE(w.windowTitle(), kNewItem);
        QCOMPARE(w.box("Edit7")->text(), QString("10058"));
        QCOMPARE(w.box("Edit3")->text(), today());
        QCOMPARE(w.box("Edit1")->text(), QString("0"));
        QCOMPARE(w.box("Edit2")->text(), QString("0"));
        QVERIFY(!Data().ZQ40->isOpen() && !Data().ZQ50->isOpen());
        auto *jog = w.findChild<QComboBox *>("ComboBox1");
        QCOMPARE(jog->currentText(), QString("Bérlet"));
        QCOMPARE(jog->count(), 9);
        QCOMPARE(jog->itemText(0), QString(" "));
        QCOMPARE(w.findChild<QComboBox *>("ComboBox2")->currentText(), QString("Igen"));
        QCOMPARE(w.findChild<QComboBox *>("ComboBox3")->currentText(), QString("Igen"));
        for (const char *grey : {"Edit5", "Edit6", "Edit7"})
            QVERIFY(w.box(grey)->isVisible() && w.box(grey)->isReadOnly());
        QVERIFY(!w.box("Edit8")->isVisible() && !w.box("Edit9")->isVisible());
        // The AK box takes a point too, the area box only the comma.
        w.box("Edit1")->clear();
        wt::type(w.box("Edit1"), "1a2.5,3");
        QCOMPARE(w.box("Edit1")->text(), QString("12.5,3"));
        w.box("Edit2")->clear();
        wt::type(w.box("Edit2"), "1.2,5");
        QCOMPARE(w.box("Edit2")->text(), QString("12,5"));
        // Before a parcel is picked, OK says so first, whatever else is empty.
        w.box("Edit3")->clear();
        w.box("Edit1")->clear();
        w.okButton()->click();
        QCOMPARE(driver.texts(), QStringList{"Nincs tábla kiválasztva!"});
        QCOMPARE(QApplication::focusWidget(), w.Button1);
    }

    void itemChecksInTheirOrder_data()
    {
        QTest::addColumn<QStringList>("boxes"); // Edit8, Edit9, Edit3, Edit1, Edit2
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no branch") << QStringList{"1", "", "", "", ""} << "Nincs műv.ág kiválasztva!"
                                   << "Button2";
        QTest::newRow("no date") << QStringList{"1", "1", "", "", ""} << "Üres kelt!"
                                 << "Edit3";
        QTest::newRow("no AK") << QStringList{"1", "1", "x", " ", ""} << "Üres AK!"
                               << "Edit1";
        QTest::newRow("no area") << QStringList{"1", "1", "x", "1", ""} << "Üres Ha.m2!"
                                 << "Edit2";
        QTest::newRow("bad date") << QStringList{"1", "1", "2026.02.30", "1", "1"} << "Hibás dátum!"
                                  << "Edit3";
    }
    void itemChecksInTheirOrder()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        mv().alreszEditMode = kNewItem;
        TForm17 w("10058");
        QVERIFY(wt::showActive(w));
        const char *names[] = {"Edit8", "Edit9", "Edit3", "Edit1", "Edit2"};
        for (int i = 0; i < 5; ++i)
            w.box(names[i])->setText(boxes[i]);
        w.okButton()->click();
        QCOMPARE(driver.texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), w.findChild<QWidget *>(focus));
        QCOMPARE(db.scalar("SELECT count(*) FROM alresz"), QString("2"));
    }

    void itemStoresItsNumbersAndRefusesAPointInAk_data()
    {
        QTest::addColumn<QString>("ak");
        QTest::addColumn<QString>("jog");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("decimal comma") << "12,5"
                                       << "Bérlet"
                                       << "12.5|Bérlet";
        QTest::newRow("a point is no decimal comma") << "12.5"
                                                     << "Bérlet"
                                                     << "";
        QTest::newRow("a right typed in") << "3"
                                          << "Haszonélvezet"
                                          << "3|Haszonélvezet";
    }
    void itemStoresItsNumbersAndRefusesAPointInAk()
    {
        QFETCH(QString, ak);
        QFETCH(QString, jog);
        QFETCH(QString, stored);
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        mv().alreszEditMode = kNewItem;
        TForm17 w("10058");
        QVERIFY(wt::showActive(w));
        // Leaving the parcel list with "Mégsem" still makes its current row the parcel.
        driver.onModal([](QDialog &list) { pickRow(list, Data().ZQ40, "tKod", "2", true); });
        w.Button1->click();
        QCOMPARE(w.box("Edit8")->text(), QString("2"));
        driver.onModal([](QDialog &list) { pickRow(list, Data().ZQ50, "mKod", "1"); });
        w.Button2->click();
        w.box("Edit1")->setText(ak);
        w.box("Edit2")->setText("1,0001");
        w.findChild<QComboBox *>("ComboBox1")->setEditText(jog);
        w.okButton()->click();
        QVERIFY(!w.isVisible());
        const QStringList rows =
            db.rows("SELECT aAK, aJog, aTkod, aMkod, aHA, aHkod, aKod FROM alresz WHERE aHkod = '10058'");
        if (stored.isEmpty()) {
            QCOMPARE(driver.texts(), QStringList{"Hiba: Újban, INSERT-append a alresz-ban "});
            QVERIFY(rows.isEmpty());
        } else {
            QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
            QCOMPARE(rows, QStringList{stored + "|2|1|1.0001|10058|3"});
            QCOMPARE(mv().alreszCode, QString("3"));
            QCOMPARE(w.box("Edit6")->text(), QString("3"));
        }
    }

    void itemChangeKeepsTheParcelAndBranchItShows()
    {
        TestDb db(true);
        db.exec(kRegister);
        db.data();
        UiDriver driver;
        auto contract = openChange("10041");
        QVERIFY(contract);
        QVERIFY(Data().ZQ20->locateCode("aKod", "1"));
        driver.onModal([](QDialog &d) {
            auto &item = static_cast<TForm17 &>(d);
            QCOMPARE(item.box("Edit8")->text(), QString("1"));
            QCOMPARE(item.GroupBox1->findChild<QLineEdit *>("DBEdit3")->text(), QString("0123/4"));
            // The parcel and branch lists move on to other rows (as another window would leave them).
            Data().ZQ40->setSql({"SELECT * FROM tabla ORDER BY tKod DESC"});
            Data().ZQ40->open();
            Data().ZQ50->setSql({"SELECT * FROM muvag ORDER BY mKod DESC"});
            Data().ZQ50->open();
            item.box("Edit4")->setText("átmérve");
            item.okButton()->click();
        });
        contract->Button3->click();
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        QCOMPARE(db.rows("SELECT aKod, aHkod, aTkod, aMkod, aSzoveg FROM alresz WHERE aKod = '1'"),
                 QStringList{"1|10041|1|1|átmérve"});
        QCOMPARE(Data().ZQ20->sql(),
                 (QStringList{"SELECT * FROM alresz ", "  WHERE aHkod = :p1 ", "         ORDER BY aKod "}));
        QCOMPARE(Data().ZQ20->fieldText("aKod"), QString("1"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestContractEdit t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_contracts_edit.moc"
