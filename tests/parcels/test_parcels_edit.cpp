// The parcel edit window TForm14: its boxes, the number boxes' filter and "0", the four picks from
// the code-table lists, the fill step with the code names, the checks of OK in order, new and
// change saves with the rows they leave, and the failure paths.

#include "codetables/codetables.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "parcels/parcels.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

const char *kParcels = R"(
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Kiskunfélegyháza'), ('3', 'Szank');
INSERT INTO tabla (tKod, tHrsz, tTabla, tMegnev, tMkod, tAK, tHA, tMuvAK, tMuvHA, tUkod, tVkod, tFkod)
VALUES ('1203', '0123/4', 'Feketeszél', 'szántó', '1', 12.5, 2.3456, 11.25, 2.0001, '1', '2', '2'),
       ('1204', '102',    'Faluvég',    'kert',   '6', 3.25, 0.5,    NULL,  NULL,   '2', '1', '1');
)";

const QString kNew = QStringLiteral("Új helyrajziszám");
const QString kChange = QStringLiteral("Helyrajziszám módositás");
const QStringList kHrszOrder{"SELECT * FROM tabla ", "         ORDER BY tHrsz "};

std::unique_ptr<TForm14> openNew()
{
    return wt::openEditor<TForm14>(mv().tablaEditMode, kNew);
}

// As the list opens it on "Módosít": the list query on the row, the fill step, then shown.
std::unique_ptr<TForm14> openChange(const QString &code)
{
    return wt::openEditorOn<TForm14>(Data().ZQ40, kHrszOrder, "tKod", code, mv().tablaEditMode, kChange);
}

// Every box that OK checks filled in, the picks as if made.
void fillValid(TForm14 &w)
{
    const struct
    {
        const char *box, *text;
    } values[] = {{"Edit1", "0999/1"}, {"Edit2", "Új tábla"},      {"Edit3", "szántó"}, {"Edit4", "12,5"},
                  {"Edit5", "2,3456"}, {"Edit6", "szántó"},        {"Edit12", "1"},     {"Edit7", "Szank"},
                  {"Edit13", "3"},     {"Edit8", "magántulajdon"}, {"Edit14", "1"},     {"Edit9", "zártkert"},
                  {"Edit15", "3"}};
    for (const auto &v : values)
        w.box(v.box)->setText(QString::fromUtf8(v.text));
}

QStringList rowOf(TestDb &db, const QString &where)
{
    return db.rows(
        "SELECT IDt, tKod, tHrsz, tTabla, tMegnev, tAK, tHA, tMkod, tVkod, tUkod, tFkod, tMuvAK, tMuvHA "
        "FROM tabla WHERE " +
        where);
}

QStringList texts(TForm14 &w, const QStringList &boxes)
{
    QStringList out;
    for (const auto &b : boxes)
        out << w.box(b)->text();
    return out;
}

} // namespace

class TestParcelEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsControls()
    {
        TestDb db(true);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        wt::shot(*w, "TForm14");
        QCOMPARE(w->windowTitle(), QString("Helyrajziszám bevitel"));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        const struct
        {
            const char *box, *label, *initial;
        } typed[] = {{"Edit1", "Hrsz:", ""},
                     {"Edit2", "Táblanév", ""},
                     {"Edit3", "Megnevezés", ""},
                     {"Edit4", "AK:", "0"},
                     {"Edit5", "Ha,m2:", "0"}};
        for (const auto &t : typed) {
            QLineEdit *e = w->box(t.box);
            QCOMPARE(wt::labelOf(w.get(), e), QString::fromUtf8(t.label));
            QCOMPARE(e->text(), QString(t.initial));
            QVERIFY(!e->isReadOnly());
            QCOMPARE(e->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
        }
        const struct
        {
            QPushButton *button;
            const char *caption, *nameBox, *codeBox;
        } picks[] = {{w->Button1, "Műv.ág", "Edit6", "Edit12"},
                     {w->Button2, "Helységnév", "Edit7", "Edit13"},
                     {w->Button3, "Tul.forma", "Edit8", "Edit14"},
                     {w->Button4, "Fekvés", "Edit9", "Edit15"}};
        for (const auto &p : picks) {
            QCOMPARE(p.button->text(), QString::fromUtf8(p.caption));
            QCOMPARE(p.button->toolTip(), QString("Lista ablak megnyitása. és választás a listából."));
            for (const char *b : {p.nameBox, p.codeBox}) {
                QVERIFY2(w->box(b)->isVisible(), b);
                QVERIFY2(w->box(b)->isReadOnly(), b);
            }
            QCOMPARE(w->box(p.nameBox)->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0)); // silver
            QCOMPARE(w->box(p.codeBox)->palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80)); // grey
            // The name and the code box stand beside the button, on its row.
            QVERIFY(qAbs(w->box(p.nameBox)->y() - p.button->y()) < p.button->height());
            QVERIFY(w->box(p.codeBox)->x() > w->box(p.nameBox)->x());
        }
        QCOMPARE(w->okButton()->objectName(), QString("Button5"));
        QCOMPARE(w->okButton()->text(), QString("OK"));
        QCOMPARE(w->okButton()->toolTip(), QString("Adatok letárolása"));
        QCOMPARE(w->cancelButton()->objectName(), QString("Button6"));
        QCOMPARE(w->cancelButton()->text(), QString("Mégsem"));
        QCOMPARE(w->cancelButton()->toolTip(), QString("Kilépés letárolás nélkül"));
        for (const char *hidden : {"Edit10", "Edit11"}) {
            QVERIFY(!w->box(hidden)->isVisible());
            QVERIFY(w->box(hidden)->isReadOnly());
        }
        const QStringList order{"Edit1",   "Edit2",   "Edit3",  "Edit4",  "Edit5", "Button1", "Button2",
                                "Button3", "Button4", "Edit6",  "Edit7",  "Edit8", "Edit9",   "Button5",
                                "Button6", "Edit12",  "Edit13", "Edit14", "Edit15"};
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
        QTest::newRow("lot number") << "Edit1"
                                    << "tHrsz";
        QTest::newRow("parcel name") << "Edit2"
                                     << "tTabla";
        QTest::newRow("description") << "Edit3"
                                     << "tMegnev";
        QTest::newRow("branch code") << "Edit12"
                                     << "tMkod";
        QTest::newRow("town code") << "Edit13"
                                   << "tVkod";
        QTest::newRow("ownership form code") << "Edit14"
                                             << "tUkod";
        QTest::newRow("location code") << "Edit15"
                                       << "tFkod";
        QTest::newRow("parcel code") << "Edit11"
                                     << "tKod";
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
        const int width = wt::columnWidth(db, "tabla", column);
        QVERIFY(width > 0);
        QLineEdit *e = w->box(box);
        QCOMPARE(e->maxLength(), width);
        if (!e->isReadOnly()) {
            wt::type(e, QString(width + 5, QChar('7')));
            QCOMPARE(e->text().size(), width);
        }
    }

    void numberBoxesTakeDigitsAndTheComma_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("gold crowns with fillér") << "Edit4"
                                                 << "12a,5"
                                                 << "12,5";
        QTest::newRow("a point is not the decimal comma") << "Edit4"
                                                          << "1.5"
                                                          << "15";
        QTest::newRow("no sign, no blank") << "Edit5"
                                           << "-3 4"
                                           << "34";
        QTest::newRow("area in ha,m2") << "Edit5"
                                       << "2,3456x"
                                       << "2,3456";
    }
    void numberBoxesTakeDigitsAndTheComma()
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
        QCOMPARE(e->text(), QString("0"));
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), QString());
        wt::type(e, typed);
        QCOMPARE(e->text(), shown);
        // Enter is dropped by the box (it moves the focus on).
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(e->text(), shown);
        QVERIFY(QApplication::focusWidget() != e);
    }

    void numberBoxLeftEmptyShowsZero_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("shown");
        QTest::newRow("AK emptied") << "Edit4"
                                    << ""
                                    << "0";
        QTest::newRow("AK of blanks") << "Edit4"
                                      << "   "
                                      << "0";
        QTest::newRow("area emptied") << "Edit5"
                                      << ""
                                      << "0";
        QTest::newRow("area kept") << "Edit5"
                                   << "1,5"
                                   << "1,5";
    }
    void numberBoxLeftEmptyShowsZero()
    {
        QFETCH(QString, box);
        QFETCH(QString, left);
        QFETCH(QString, shown);
        TestDb db;
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QLineEdit *e = w->box(box);
        e->setFocus();
        e->setText(left);
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != e);
        QCOMPARE(e->text(), shown);
    }

    void enterMovesTheFocus_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("to");
        QTest::newRow("lot number to parcel name") << "Edit1" << false << "Edit2";
        QTest::newRow("area to the first pick") << "Edit5" << false << "Button1";
        QTest::newRow("back from the parcel name") << "Edit2" << true << "Edit1";
        QTest::newRow("location name to OK") << "Edit9" << false << "Button5";
    }
    void enterMovesTheFocus()
    {
        QFETCH(QString, from);
        QFETCH(bool, back);
        QFETCH(QString, to);
        TestDb db(true);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QWidget *e = w->box(from);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Return, back ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        QVERIFY(w->isVisible());
        QCOMPARE(driver.modalCount(), 0);
        QVERIFY(driver.boxes.isEmpty());
    }

    void okChecksInOrder_data()
    {
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("everything empty")
            << QStringList{"Edit1", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"}
            << "Üres helyrajziszám!"
            << "Edit1";
        QTest::newRow("lot number of blanks") << QStringList{"Edit1"} << "Üres helyrajziszám!"
                                              << "Edit1";
        QTest::newRow("AK") << QStringList{"Edit4", "Edit5", "Edit9"} << "Üres AK!"
                            << "Edit4";
        QTest::newRow("area") << QStringList{"Edit5", "Edit6"} << "Üres Ha,m2!"
                              << "Edit5";
        QTest::newRow("branch") << QStringList{"Edit6", "Edit7", "Edit8", "Edit9"} << "Üres műv.ág !"
                                << "Edit6";
        QTest::newRow("town") << QStringList{"Edit7", "Edit8", "Edit9"} << "Üres helységnév kódja!"
                              << "Edit7";
        QTest::newRow("ownership form") << QStringList{"Edit8", "Edit9"} << "Üres tulajdonforma kódja!"
                                        << "Edit8";
        QTest::newRow("location") << QStringList{"Edit9"} << "Üres fekvés kódja!"
                                  << "Edit9";
    }
    void okChecksInOrder()
    {
        QFETCH(QStringList, emptied);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillValid(*w);
        for (const auto &b : emptied)
            w->box(b)->setText(b == "Edit1" && emptied.size() == 1 ? "   " : "");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QVERIFY(w->isVisible());
        QCOMPARE(QApplication::focusWidget(), w->box(focus));
        QCOMPARE(db.scalar("SELECT count(*) FROM tabla"), QString("2"));
    }

    void checksLookAtTheNamesNotTheCodes()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillValid(*w);
        w->box("Edit13")->clear(); // a town name without its code passes the checks
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(db.scalar("SELECT IFNULL(tVkod, 'NULL') FROM tabla WHERE tHrsz = '0999/1'"), QString(""));
    }

    void picksTakeTheListsCurrentRowHoweverItCloses_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("how"); // the list's button; empty: the close box
        QTest::addColumn<QString>("row"); // the name to stand on in the list
        QTest::addColumn<QString>("nameBox");
        QTest::addColumn<QString>("codeBox");
        QTest::addColumn<QString>("code");
        for (const char *how : {"Button1", "Button5", ""}) {
            const QString tag = *how ? QString(how) : QString("close box");
            QTest::addRow("branch, %s", qPrintable(tag)) << "Button1" << how << "legelő"
                                                         << "Edit6"
                                                         << "Edit12"
                                                         << "3";
            QTest::addRow("town, %s", qPrintable(tag)) << "Button2" << how << "Szank"
                                                       << "Edit7"
                                                       << "Edit13"
                                                       << "3";
            QTest::addRow("ownership form, %s", qPrintable(tag)) << "Button3" << how << "állami tulajdon"
                                                                 << "Edit8"
                                                                 << "Edit14"
                                                                 << "3";
        }
    }
    void picksTakeTheListsCurrentRowHoweverItCloses()
    {
        QFETCH(QString, button);
        QFETCH(QString, how);
        QFETCH(QString, row);
        QFETCH(QString, nameBox);
        QFETCH(QString, codeBox);
        QFETCH(QString, code);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        QString listClass;
        driver.onModal([&](QDialog &d) {
            auto *list = qobject_cast<ListWindow *>(&d);
            QVERIFY(list);
            listClass = d.metaObject()->className();
            // The clerk looks the row up by its first letters.
            list->Edit1->setFocus();
            wt::type(list->Edit1, row);
            QTest::mouseClick(list->Button6, Qt::LeftButton);
            if (how.isEmpty())
                d.close();
            else
                QTest::mouseClick(d.findChild<QPushButton *>(how), Qt::LeftButton);
        });
        QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(driver.modalCount(), 1);
        QCOMPARE(w->box(nameBox)->text(), row);
        QCOMPARE(w->box(codeBox)->text(), code);
        QVERIFY(w->isVisible());
        QVERIFY(driver.boxes.isEmpty());
        const QStringList lists{"TForm5", "TForm7", "TForm9"};
        QCOMPARE(listClass, lists.at(button.back().digitValue() - 1));
    }

    void locationListWritesOnlyOnKivalaszt_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("Kiválaszt") << "Button1"
                                   << "zártkert"
                                   << "3";
        QTest::newRow("Mégsem hands nothing over") << "Button5"
                                                   << "belterület"
                                                   << "1";
        QTest::newRow("close box hands nothing over") << ""
                                                      << "belterület"
                                                      << "1";
    }
    void locationListWritesOnlyOnKivalaszt()
    {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(QString, code);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openChange("1204"); // located on belterület (1)
        QVERIFY(w);
        QCOMPARE(w->box("Edit9")->text(), QString("belterület"));
        driver.onModal([&](QDialog &d) {
            auto *list = qobject_cast<TForm11 *>(&d);
            QVERIFY(list);
            list->Edit1->setFocus();
            wt::type(list->Edit1, "zárt");
            QTest::mouseClick(list->Button6, Qt::LeftButton);
            QCOMPARE(Data().ZQ100->fieldText("fFekves"), QString("zártkert"));
            if (how.isEmpty())
                d.close();
            else
                QTest::mouseClick(d.findChild<QPushButton *>(how), Qt::LeftButton);
        });
        QTest::mouseClick(w->Button4, Qt::LeftButton);
        QCOMPARE(driver.modalClasses(), QStringList{"TForm11"});
        QCOMPARE(w->box("Edit9")->text(), name);
        QCOMPARE(w->box("Edit15")->text(), code);
    }

    void fillShowsTheParcelWithTheNamesOfItsCodes()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openChange("1203");
        QVERIFY(w);
        wt::shot(*w, "TForm14-change");
        QCOMPARE(w->windowTitle(), kChange);
        QCOMPARE(texts(*w, {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit10", "Edit11"}),
                 (QStringList{"0123/4", "Feketeszél", "szántó", "12,5", "2,3456", "1", "1203"}));
        QCOMPARE(
            texts(*w, {"Edit6", "Edit12", "Edit7", "Edit13", "Edit8", "Edit14", "Edit9", "Edit15"}),
            (QStringList{"szántó", "1", "Kiskunfélegyháza", "2", "magántulajdon", "1", "külterület", "2"}));
        // The look-ups ran on the code tables' work queries.
        QCOMPARE(Data().ZQ53->sql(), (QStringList{"SELECT * FROM muvag      ", "  WHERE mkod = :p1 "}));
        QCOMPARE(Data().ZQ63->sql(), (QStringList{"SELECT * FROM varos      ", "  WHERE vkod = :p1 "}));
        QCOMPARE(Data().ZQ73->sql(), (QStringList{"SELECT * FROM tforma      ", "  WHERE ukod = :p1 "}));
        QCOMPARE(Data().ZQ103->sql(), (QStringList{"SELECT * FROM fekves      ", "  WHERE fkod = :p1 "}));
        QVERIFY(driver.boxes.isEmpty());
    }

    void aCodeThatNoLongerExistsGivesAnEmptyNameThatOkStopsAt()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.exec("DELETE FROM varos WHERE vKod = '2'");
        db.data();
        UiDriver driver;
        auto w = openChange("1203");
        QVERIFY(w);
        QCOMPARE(w->box("Edit7")->text(), QString());
        QCOMPARE(w->box("Edit13")->text(), QString("2"));
        QCOMPARE(w->box("Edit6")->text(), QString("szántó"));
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Üres helységnév kódja!"});
        QCOMPARE(QApplication::focusWidget(), w->box("Edit7"));
        QVERIFY(w->isVisible());
    }

    void fillFailureClosesTheWindow()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        Query *q = Data().ZQ40;
        q->close();
        q->setSql(kHrszOrder);
        q->open();
        db.exec("RENAME TABLE fekves TO fekves_old"); // the last look-up fails
        mv().tablaEditMode = kChange;
        TForm14 w;
        QVERIFY(!w.fill());
        QVERIFY(w.fillFailed());
        QCOMPARE(driver.texts(), QStringList{"Hiba az tábla módosítás Edit-ben való megjelenitésekor!"});
        QVERIFY(!w.isVisible());
    }

    void newParcelGetsTheNumericallyNextCode_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty table: the first parcel") << QStringList{} << "1";
        QTest::newRow("after 1204") << QStringList{"1203", "1204"} << "1205";
        QTest::newRow("9 and 10: 10 is the greatest") << QStringList{"9", "10"} << "11";
    }
    void newParcelGetsTheNumericallyNextCode()
    {
        QFETCH(QStringList, codes);
        QFETCH(QString, expected);
        TestDb db(true);
        db.exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('3', 'Szank')");
        for (const auto &c : codes)
            db.exec(QString("INSERT INTO tabla (tKod, tHrsz) VALUES ('%1', 'régi %1')").arg(c));
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillValid(*w);
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        const QString id = QString::number(codes.size() + 1);
        QCOMPARE(rowOf(db, "tHrsz = '0999/1'"),
                 QStringList{id + "|" + expected + "|0999/1|Új tábla|szántó|12.5|2.3456|1|3|1|3|NULL|NULL"});
        QCOMPARE(mv().tablaCode, expected);
        QCOMPARE(Data().ZQ40->sql(), kHrszOrder);
        QCOMPARE(Data().ZQ40->fieldText("tKod"), expected);
    }

    void numberThatDoesNotConvertFailsAtTheStoreAndTheWindowCloses_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        QTest::newRow("new, AK with two commas") << false << "Edit4"
                                                 << "Hiba: Újban, INSERT-append a tabla-ban ";
        QTest::newRow("new, area with two commas") << false << "Edit5"
                                                   << "Hiba: Újban, INSERT-append a tabla-ban ";
        QTest::newRow("change, AK with two commas") << true << "Edit4"
                                                    << "Hiba: Módisitás, REPLACE-edit a tabla-ban ";
    }
    void numberThatDoesNotConvertFailsAtTheStoreAndTheWindowCloses()
    {
        QFETCH(bool, change);
        QFETCH(QString, box);
        QFETCH(QString, message);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        const QStringList before = rowOf(db, "1=1 ORDER BY IDt");
        UiDriver driver;
        auto w = change ? openChange("1204") : openNew();
        QVERIFY(w);
        if (!change)
            fillValid(*w);
        QLineEdit *e = w->box(box);
        e->setFocus();
        e->clear();
        wt::type(e, "1,2,3");
        QCOMPARE(e->text(), QString("1,2,3"));
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QVERIFY(!w->isVisible());
        QCOMPARE(rowOf(db, "1=1 ORDER BY IDt"), before); // nothing stored
        QCOMPARE(Data().ZQ40->sql(), kHrszOrder);        // the list is re-read all the same
        QVERIFY(Data().ZQ40->isOpen());
    }

    void changeKeepsIdCodeAndTheColumnsTheWindowDoesNotShow_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept"); // tMuvAK|tMuvHA as stored
        QTest::newRow("cultivated values set") << "1203"
                                               << "11.25|2.0001";
        QTest::newRow("cultivated values empty") << "1204"
                                                 << "NULL|NULL";
    }
    void changeKeepsIdCodeAndTheColumnsTheWindowDoesNotShow()
    {
        QFETCH(QString, code);
        QFETCH(QString, kept);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        const QString id = db.scalar(QString("SELECT IDt FROM tabla WHERE tKod = '%1'").arg(code));
        UiDriver driver;
        auto w = openChange(code);
        QVERIFY(w);
        w->box("Edit1")->setText("0777/7");
        w->box("Edit4")->setText("40,25");
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QVERIFY(!w->isVisible());
        QCOMPARE(db.scalar("SELECT count(*) FROM tabla"), QString("2"));
        QCOMPARE(db.rows("SELECT IDt, tKod, tHrsz, tAK, tMuvAK, tMuvHA FROM tabla WHERE tHrsz = '0777/7'"),
                 QStringList{QString("%1|%2|0777/7|40.25|%3").arg(id, code, kept)});
        QCOMPARE(mv().tablaCode, code);
        QCOMPARE(Data().ZQ40->sql(), kHrszOrder);
        QCOMPARE(Data().ZQ40->fieldText("tHrsz"), QString("0777/7"));
    }

    void changeThroughAPickStoresTheNewCode()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openChange("1204");
        QVERIFY(w);
        driver.onModal([&](QDialog &d) {
            auto *list = qobject_cast<ListWindow *>(&d);
            QVERIFY(list);
            wt::type(list->Edit1, "Sza");
            QTest::mouseClick(list->Button6, Qt::LeftButton);
            QTest::mouseClick(list->Button1, Qt::LeftButton);
        });
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(db.scalar("SELECT tVkod FROM tabla WHERE tKod = '1204'"), QString("3"));
    }

    void otherFailureKeepsTheWindowOpen()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        auto w = openNew();
        QVERIFY(w);
        fillValid(*w);
        db.exec("RENAME TABLE tabla TO tabla_old"); // the highest code cannot be read
        QTest::mouseClick(w->okButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Hiba az append vagy edit közben az tabla-ban!"});
        QVERIFY(w->isVisible());
        QVERIFY(!Data().ZQ40->isOpen());
    }

    void cancelStoresNothing()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        const QStringList before = rowOf(db, "1=1 ORDER BY IDt");
        UiDriver driver;
        auto w = openChange("1203");
        QVERIFY(w);
        w->box("Edit1")->setText("más");
        QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(rowOf(db, "1=1 ORDER BY IDt"), before);
        QVERIFY(mv().tablaCode.isEmpty());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestParcelEdit t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_parcels_edit.moc"
