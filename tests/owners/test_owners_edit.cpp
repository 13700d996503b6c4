// The owner edit window TForm4: its boxes and their filters and widths, Enter moving the focus,
// the checks of OK in order, new and change saves with the rows they leave, and the failure paths.

#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "owners/owners.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

const char *kOwners = R"(
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, nAdoazon, nSzla, nSzja, nMin, nSzemszam)
VALUES ('1', 'Antal József', '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '', '8296555883', '11720094-47130762', NULL, NULL, '1-480312-4549'),
       ('2', 'Kiss Anna', '1950-03-07', 'Nagy Ilona', '6114', 'Bugac', 'Fő u. 3.', 'Tóth Anna', '8300000001', '', 16.5, 'nyugdíjas', '2-500307-1111');
)";

const QString kNew = QStringLiteral("Új tulajdonos");
const QString kChange = QStringLiteral("Tulajdonos módositás");
const QStringList kNameOrder{"SELECT * FROM tulaj ", "         ORDER BY nNev "};

std::unique_ptr<TForm4> openNew()
{
    return wt::openEditor<TForm4>(mv().tulajEditMode, kNew);
}

// As the list opens it on "Módosít": the list query on the row, the fill step, then shown.
std::unique_ptr<TForm4> openChange(const QString &code)
{
    return wt::openEditorOn<TForm4>(Data().ZQ30, kNameOrder, "nKod", code, mv().tulajEditMode, kChange);
}

void fillRequired(TForm4 &w, const QString &name, const QString &date)
{
    w.box("Edit1")->setText(name);
    w.box("Edit4")->setText(date);
}

QString row(TestDb &db, const QString &code)
{
    return db
        .rows(
            QString("SELECT IDn, nKod, CONCAT('[', nNev, ']'), nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, "
                    "nAdoazon, nSzla, nSzja, nMin, nSzemszam FROM tulaj WHERE nKod = '%1'")
                .arg(code))
        .value(0);
}

} // namespace

class TestOwnerEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::newRow("Edit1") << "Edit1"
                               << "Tulajdonos neve";
        QTest::newRow("Edit2") << "Edit2"
                               << "Leánykori neve";
        QTest::newRow("Edit3") << "Edit3"
                               << "Anyja neve";
        QTest::newRow("Edit4") << "Edit4"
                               << "Születési ideje";
        QTest::newRow("Edit5") << "Edit5"
                               << "Irányitószám";
        QTest::newRow("Edit6") << "Edit6"
                               << "Helységnév";
        QTest::newRow("Edit7") << "Edit7"
                               << "Utca";
        QTest::newRow("Edit8") << "Edit8"
                               << "Adóazonositó";
        QTest::newRow("Edit11") << "Edit11"
                                << "Számlaszám:";
        QTest::newRow("Edit12") << "Edit12"
                                << "Személyiszám:";
    }
    void windowShowsItsBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, label);
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QLineEdit *e = w->box(box);
        QVERIFY(e);
        QCOMPARE(e->objectName(), box);
        QCOMPARE(wt::labelOf(w.get(), e), label);
        QVERIFY(e->isVisible());
        QVERIFY(!e->isReadOnly());
        QCOMPARE(e->text(), QString());
        QCOMPARE(e->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0)); // yellow
    }

    void windowShowsItsButtonsAndHiddenBoxes()
    {
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        wt::shot(*w, "TForm4");
        QCOMPARE(w->windowTitle(), QString("Tulajdonos bevitel"));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->okButton()->objectName(), QString("Button2"));
        QCOMPARE(w->okButton()->text(), QString("OK"));
        QCOMPARE(w->okButton()->toolTip(), QString("Adatok letárolása"));
        QCOMPARE(w->cancelButton()->objectName(), QString("Button4"));
        QCOMPARE(w->cancelButton()->text(), QString("Mégsem"));
        QCOMPARE(w->cancelButton()->toolTip(), QString("Kilépés letárolás nélkül"));
        for (const char *hidden : {"Edit9", "Edit10"}) {
            QVERIFY(w->box(hidden));
            QVERIFY(!w->box(hidden)->isVisible());
            QVERIFY(w->box(hidden)->isReadOnly());
        }
        QCOMPARE(w->box("Edit9")->accessibleName(), QString("ID"));
        QCOMPARE(w->box("Edit10")->accessibleName(), QString("Nkód"));
        // Tab order: the boxes, the buttons, then the personal number.
        const QStringList order{"Edit1", "Edit2", "Edit3",  "Edit4",   "Edit5",   "Edit6",
                                "Edit7", "Edit8", "Edit11", "Button2", "Button4", "Edit12"};
        QWidget *t = w->box("Edit1");
        for (int i = 1; i < order.size(); ++i) {
            t = wt::nextTab(t);
            QCOMPARE(t->objectName(), order[i]);
        }
    }

    void boxesTakeAtMostTheirColumnsWidth_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::newRow("name") << "Edit1"
                              << "nNev";
        QTest::newRow("maiden name") << "Edit2"
                                     << "nLnev";
        QTest::newRow("mother") << "Edit3"
                                << "nAnyja";
        QTest::newRow("postcode") << "Edit5"
                                  << "nIrszam";
        QTest::newRow("town") << "Edit6"
                              << "nHely";
        QTest::newRow("street") << "Edit7"
                                << "nUtca";
        QTest::newRow("tax number") << "Edit8"
                                    << "nAdoazon";
        QTest::newRow("account") << "Edit11"
                                 << "nSzla";
        QTest::newRow("personal number") << "Edit12"
                                         << "nSzemszam";
        QTest::newRow("code") << "Edit10"
                              << "nKod";
    }
    void boxesTakeAtMostTheirColumnsWidth()
    {
        QFETCH(QString, box);
        QFETCH(QString, column);
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        const int width = wt::columnWidth(db, "tulaj", column);
        QVERIFY(width > 0);
        QLineEdit *e = w->box(box);
        QCOMPARE(e->maxLength(), width);
        if (e->isVisible()) {
            // Typing beyond the width stops at the width (digits pass every filter of this window).
            wt::type(e, QString(width + 7, QChar('1')));
            QCOMPARE(e->text().size(), width);
        }
    }

    void filteredBoxesDropOtherKeys_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("date: digits and dots") << "Edit4"
                                               << "19a50.-03/.07 "
                                               << "1950.03.07";
        QTest::newRow("postcode: digits") << "Edit5"
                                          << "61x0.0"
                                          << "6100";
        QTest::newRow("tax number: digits") << "Edit8"
                                            << "83-00a1"
                                            << "83001";
        QTest::newRow("personal number: digits and dash") << "Edit12"
                                                          << "2-5003.07x-1111"
                                                          << "2-500307-1111";
        QTest::newRow("name: anything") << "Edit1"
                                        << "O'Brien 2/a."
                                        << "O'Brien 2/a.";
    }
    void filteredBoxesDropOtherKeys()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QLineEdit *e = w->box(box);
        e->setFocus();
        wt::type(e, typed);
        QCOMPARE(e->text(), shown);
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), shown.chopped(1));
    }

    void enterMovesTheFocus_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("to");
        QTest::newRow("name to maiden name") << "Edit1" << false << "Edit2";
        QTest::newRow("filtered date box") << "Edit4" << false << "Edit5";
        QTest::newRow("filtered postcode box") << "Edit5" << false << "Edit6";
        QTest::newRow("account to OK") << "Edit11" << false << "Button2";
        QTest::newRow("back from maiden name") << "Edit2" << true << "Edit1";
        QTest::newRow("back from the personal number") << "Edit12" << true << "Button4";
    }
    void enterMovesTheFocus()
    {
        QFETCH(QString, from);
        QFETCH(bool, back);
        QFETCH(QString, to);
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QLineEdit *e = w->box(from);
        e->setFocus();
        QCOMPARE(QApplication::focusWidget(), e);
        e->setText("12");
        QTest::keyClick(e, Qt::Key_Return, back ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        QCOMPARE(e->text(), QString("12")); // Enter adds nothing to a box
        QVERIFY(w->isVisible());            // and does not press OK
        QVERIFY(driver.boxes.isEmpty());
    }

    void okChecksNameThenDate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty name") << ""
                                    << "1950.01.01"
                                    << "Üres a név!"
                                    << "Edit1";
        QTest::newRow("name of blanks") << "   "
                                        << "1950.01.01"
                                        << "Üres a név!"
                                        << "Edit1";
        QTest::newRow("blanks and control characters") << QString(" \t\x01") << "1950.01.01"
                                                       << "Üres a név!"
                                                       << "Edit1";
        QTest::newRow("the name comes first") << ""
                                              << ""
                                              << "Üres a név!"
                                              << "Edit1";
        QTest::newRow("empty date") << "Kiss Anna"
                                    << ""
                                    << "Hibás dátum!"
                                    << "Edit4";
        QTest::newRow("no such month") << "Kiss Anna"
                                       << "1950.13.01"
                                       << "Hibás dátum!"
                                       << "Edit4";
        QTest::newRow("no such day") << "Kiss Anna"
                                     << "1950.02.30"
                                     << "Hibás dátum!"
                                     << "Edit4";
        QTest::newRow("not a date") << "Kiss Anna"
                                    << "1950"
                                    << "Hibás dátum!"
                                    << "Edit4";
    }
    void okChecksNameThenDate()
    {
        QFETCH(QString, name);
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillRequired(*w, name, date);
        w->box("Edit7")->setFocus();
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QVERIFY(w->isVisible());
        QCOMPARE(QApplication::focusWidget(), w->box(focus));
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj"), QString("2"));
        QVERIFY(mv().tulajCode.isEmpty());
    }

    void newOwnerGetsTheNumericallyNextCode_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty table: the first owner") << QStringList{} << "1";
        QTest::newRow("after 10234") << QStringList{"10234"} << "10235";
        QTest::newRow("9 and 10: 10 is the greatest") << QStringList{"9", "10"} << "11";
        QTest::newRow("a code that is not a number") << QStringList{"X1", "3"} << "4";
    }
    void newOwnerGetsTheNumericallyNextCode()
    {
        QFETCH(QStringList, codes);
        QFETCH(QString, expected);
        TestDb db;
        for (const auto &c : codes)
            db.exec(QString("INSERT INTO tulaj (nKod, nNev) VALUES ('%1', 'Régi %1')").arg(c));
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillRequired(*w, "Új Ember", "1980.05.06");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(db.scalar("SELECT nKod FROM tulaj WHERE nNev = 'Új Ember'"), expected);
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj").toInt(), codes.size() + 1);
        QCOMPARE(mv().tulajCode, expected);
        // The list is re-read in name order and stands on the new owner.
        QCOMPARE(Data().ZQ30->sql(), kNameOrder);
        QCOMPARE(Data().ZQ30->fieldText("nKod"), expected);
        // The insert ran in a transaction that was committed: the row is seen by another connection.
        QCOMPARE(db.scalar(QString("SELECT nNev FROM tulaj WHERE nKod = '%1'").arg(expected)),
                 QString("Új Ember"));
    }

    void newOwnerIsStoredAsTyped()
    {
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        const struct
        {
            const char *box, *text;
        } typed[] = {{"Edit1", "O'Brien Patrick  "}, // trailing blanks stay
                     {"Edit2", "Szűts Ilona"},
                     {"Edit3", "Kovács \"Manci\" Mária"},
                     {"Edit4", "1950.3.7."},
                     {"Edit5", "6114"},
                     {"Edit6", "Bugac"},
                     {"Edit7", "Fő u. 3. \\ hátsó"},
                     {"Edit8", "8300000001"},
                     {"Edit11", "11720094-47130762"},
                     {"Edit12", "2-500307-1111"}};
        for (const auto &t : typed)
            wt::type(w->box(t.box), QString::fromUtf8(t.text));
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(row(db, "3"), QString("3|3|[O'Brien Patrick  ]|1950-03-07|Kovács \"Manci\" Mária|6114|Bugac|"
                                       "Fő u. 3. \\ hátsó|Szűts Ilona|8300000001|11720094-47130762|NULL|NULL|"
                                       "2-500307-1111"));
    }

    // After the name and date checks: a valid Hungarian number is stored hyphenated, an IBAN and
    // nothing as typed without a word, anything else with a warning in the "Confirm" box, as typed.
    void accountNumberIsCheckedAfterTheOtherChecks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("warned");
        QTest::newRow("16 digits together") << "1177301611111018"
                                            << "11773016-11111018" << false;
        QTest::newRow("24 digits with blanks") << "11773016 11111018 00000000"
                                               << "11773016-11111018-00000000" << false;
        QTest::newRow("IBAN") << "AT61 1904 3002 3457 3201"
                              << "AT61 1904 3002 3457 3201" << false;
        QTest::newRow("nothing") << ""
                                 << "" << false;
        QTest::newRow("two digits swapped") << "17173016-11111018"
                                            << "17173016-11111018" << true;
        QTest::newRow("15 digits") << "117730161111101"
                                   << "117730161111101" << true;
    }
    void accountNumberIsCheckedAfterTheOtherChecks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, warned);
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        w->box("Edit11")->setText(typed);
        // The name is checked first: no word about the account yet.
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Üres a név!"});
        driver.clear();
        fillRequired(*w, "Kiss Béla", "1950.01.01");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        if (warned) {
            QCOMPARE(driver.boxes.size(), 1);
            QCOMPARE(driver.boxes[0].kind, ui::BoxKind::Confirm);
            QVERIFY2(driver.lastText().startsWith("A számlaszám nem helyes: " + typed.trimmed()),
                     qPrintable(driver.lastText()));
        } else {
            QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('|')));
        }
        QCOMPARE(db.scalar("SELECT nSzla FROM tulaj WHERE nKod = '3'"), stored);
    }

    void changeKeepsIdCodeAndTheColumnsTheWindowDoesNotShow_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept"); // nSzja|nMin as stored
        QTest::newRow("tax and note set") << "2"
                                          << "16.5|nyugdíjas";
        QTest::newRow("tax and note empty") << "1"
                                            << "NULL|NULL";
    }
    void changeKeepsIdCodeAndTheColumnsTheWindowDoesNotShow()
    {
        QFETCH(QString, code);
        QFETCH(QString, kept);
        TestDb db;
        db.exec(kOwners);
        db.exec("UPDATE tulaj SET nSzja = 16.5 WHERE nKod = '2'");
        db.data();
        const QString id = db.scalar(QString("SELECT IDn FROM tulaj WHERE nKod = '%1'").arg(code));
        UiDriver driver;
        auto w = openChange(code);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), kChange);
        QCOMPARE(w->box("Edit9")->text(), id);
        QCOMPARE(w->box("Edit10")->text(), code);
        w->box("Edit1")->setText("Új Név");
        w->box("Edit7")->setText("Kossuth u. 1.");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QVERIFY(!w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj"), QString("2"));
        QCOMPARE(db.rows("SELECT IDn, nKod, nNev, nUtca, nSzja, nMin FROM tulaj WHERE nNev = 'Új Név'"),
                 QStringList{QString("%1|%2|Új Név|Kossuth u. 1.|%3").arg(id, code, kept)});
        QCOMPARE(mv().tulajCode, code);
        QCOMPARE(Data().ZQ30->sql(), kNameOrder);
        QCOMPARE(Data().ZQ30->fieldText("nNev"), QString("Új Név"));
    }

    void fillShowsTheCurrentOwner()
    {
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openChange("2");
        QVERIFY(w);
        wt::shot(*w, "TForm4-change");
        const QStringList boxes{"Edit1", "Edit2", "Edit3", "Edit4",  "Edit5",  "Edit6",
                                "Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit12"};
        QStringList shown;
        for (const auto &b : boxes)
            shown << w->box(b)->text();
        QCOMPARE(shown, (QStringList{"Kiss Anna", "Tóth Anna", "Nagy Ilona", "1950.03.07", "6114", "Bugac",
                                     "Fő u. 3.", "8300000001", "2", "2", "", "2-500307-1111"}));
        // Saving unchanged stores the same row.
        const QString before = row(db, "2");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(row(db, "2"), before);
    }

    void fillFailureClosesTheWindow()
    {
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        // A list without the columns the window shows.
        Query *q = Data().ZQ30;
        q->close();
        q->setSql({"SELECT nKod, nNev FROM tulaj"});
        q->open();
        mv().tulajEditMode = kChange;
        TForm4 w;
        QVERIFY(!w.fill());
        QVERIFY(w.fillFailed());
        QCOMPARE(driver.texts(), QStringList{"Hiba az tulajdonos módosítás Edit-ben való megjelenitésekor!"});
        QVERIFY(!w.isVisible());
    }

    void refusedStoreRollsBackReReadsTheListAndCloses_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("new owner") << false << "Hiba: Újban, INSERT-append a tulaj-ban ";
        QTest::newRow("change") << true << "Hiba: Módisitás, REPLACE-edit a tulaj-ban ";
    }
    void refusedStoreRollsBackReReadsTheListAndCloses()
    {
        QFETCH(bool, change);
        QFETCH(QString, message);
        TestDb db;
        db.exec(kOwners);
        // The server refuses the row (REPLACE of an existing row inserts it anew, too).
        db.exec("CREATE TRIGGER refuse BEFORE INSERT ON tulaj FOR EACH ROW "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused'");
        db.data();
        UiDriver driver;
        auto w = change ? openChange("2") : openNew();
        QVERIFY(w);
        fillRequired(*w, "Elutasított Név", "1960.01.01");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QVERIFY(!w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj"), QString("2"));
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj WHERE nNev = 'Elutasított Név'"), QString("0"));
        QCOMPARE(db.scalar("SELECT nNev FROM tulaj WHERE nKod = '2'"), QString("Kiss Anna"));
        QCOMPARE(Data().ZQ30->sql(), kNameOrder);
        QVERIFY(Data().ZQ30->isOpen());
        QCOMPARE(Data().ZQ30->rowCount(), 2);
    }

    void otherFailureKeepsTheWindowOpen()
    {
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        // The highest code cannot be read.
        db.exec("RENAME TABLE tulaj TO tulaj_old");
        fillRequired(*w, "Valaki", "1960.01.01");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Hiba az append vagy edit közben az tulaj-ban!"});
        QVERIFY(w->isVisible());
        QVERIFY(!Data().ZQ30->isOpen()); // not re-read
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj_old"), QString("2"));
    }

    void cancelStoresNothing()
    {
        TestDb db;
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        auto w = openChange("2");
        QVERIFY(w);
        w->box("Edit1")->setText("Más Név");
        QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(db.scalar("SELECT nNev FROM tulaj WHERE nKod = '2'"), QString("Kiss Anna"));
        QCOMPARE(Data().ZQ30->fieldText("nKod"), QString("2"));
        QVERIFY(mv().tulajCode.isEmpty());
        QVERIFY(driver.boxes.isEmpty());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestOwnerEdit t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_owners_edit.moc"
