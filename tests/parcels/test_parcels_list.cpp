// The parcel list TForm13 driven as the clerk drives it: search by lot number, sorting, opening
// position, "Módosít" and "Töröl" with their refusals, the pick left in ZQ40, and the print data
// with its totals.

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/formats.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "parcels/parcels.h"
#include "reports/engine/preview.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// Five parcels whose lot-number, code (text) and town orders start with different parcels:
// by lot number 0123/4, by code 1/2 (code '12'), by town 100 (town '1'). Parcel 102 (code '7')
// is leased by a contract item; parcel 100 names a cultivation branch that does not exist, so
// the printed list leaves it out while the totals count it.
const char *kParcels = R"(
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac'), ('2', 'Kiskunfélegyháza');
INSERT INTO tabla (tKod, tHrsz, tTabla, tMegnev, tMkod, tAK, tHA, tMuvAK, tMuvHA, tUkod, tVkod, tFkod)
VALUES ('8',  '0123/4', 'Feketeszél', 'szántó', '1',  12.5,    2.3456,  NULL, NULL, '1', '2', '2'),
       ('7',  '102',    'Faluvég',    'kert',   '6',  3.25,    0.5,     1.5,  0.25, '2', '2', '1'),
       ('12', '1/2',    'Rétföld',    'rét',    '2',  20,      4,       NULL, NULL, '1', '2', '3'),
       ('25', '25',     'Homokos',    'szántó', '1',  1000.75, 10.1234, NULL, NULL, '1', '1', '1'),
       ('15', '100',    'Vízállás',   'nádas',  '99', 5,       1,       NULL, NULL, '1', '1', '1');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', '1/2020', '1');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES ('1', '1', '7', '6', 3.25, 0.5);
)";

QString currentHrsz(TForm13 &w)
{
    return wt::currentCell(w.DBGrid1, QStringLiteral("tHrsz"));
}

QStringList shownOrder(DbGrid *grid)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, 1).data().toString();
    return out;
}

} // namespace

class TestParcelList : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsControls()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm13");

        QCOMPARE(w.windowTitle(), QString("Helyrajziszám bevitel"));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.Label19->text(), QString("Hrsz:"));
        QCOMPARE(w.Label19->buddy(), w.Edit1);
        QCOMPARE(w.Edit1->toolTip(), QString("Kezdö betükre rákeres"));
        QCOMPARE(w.Button6->text(), QString("Keres"));
        QCOMPARE(w.Button6->toolTip(), QString("Keresés inditása"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Hrsz\" szerint"));
        QCOMPARE(mv().listOrderText, QString("A lista, \"Hrsz\" szerint"));
        QCOMPARE(w.DBGrid1->toolTip(), QString("Sorbarendezéshez klikk az oszlop fejlécre."));
        QCOMPARE(wt::gridTitles(w.DBGrid1),
                 (QStringList{"Kód", "Helyrajziszám", "Megnevezés", "Tábla", "Müv.ág kód", "AK,fillér",
                              "HA, m2", "Túl.kód", "Városkód", "Fekvéskód", "IDt"}));
        QCOMPARE(w.GroupBox1->title(), QString("Adata"));
        QStringList adata;
        for (QLabel *l : w.GroupBox1->findChildren<QLabel *>())
            adata << l->text();
        QCOMPARE(adata, (QStringList{"ID:", "Kód:", "Hrsz:", "Táblanév:", "Megnevezés:", "AK:", "Ha,m2:"}));
        QStringList shown;
        for (QLineEdit *e : w.GroupBox1->findChildren<QLineEdit *>())
            shown << e->text();
        QCOMPARE(shown, (QStringList{"1", "8", "0123/4", "Feketeszél", "szántó", "12,5", "2,3456"}));

        struct B
        {
            QPushButton *button;
            const char *caption, *hint;
        };
        const B buttons[] = {{w.Button1, "Kiválaszt", "Ablak záráskor a megjelölt sort átemeli"},
                             {w.Button2, "Új", "Új helyrajziszám. Ablak nyitás"},
                             {w.Button3, "Módosít", "Kiválasztott sor módositása"},
                             {w.Button4, "Töröl", "Kiválasztott sort törli"},
                             {w.Button7, "Nyomtat", "Teljes lista a helyrajziszámokról"},
                             {w.Button5, "Mégsem", "Kilépés, ablak bezárás"}};
        int x = -1;
        for (const B &b : buttons) {
            QCOMPARE(b.button->text(), QString(b.caption));
            QCOMPARE(b.button->toolTip(), QString(b.hint));
            QVERIFY2(b.button->x() > x, b.caption);
            x = b.button->x();
        }
        wt::clickRow(w.DBGrid1, 2);
        QList<QWidget *> chain{w.Edit1};
        while (chain.size() < 13)
            chain << wt::nextTab(chain.last());
        QCOMPARE(chain[1], w.Button6);
        QCOMPARE(chain[2], w.DBGrid1);
        QCOMPARE(chain.mid(7),
                 (QList<QWidget *>{w.Button2, w.Button3, w.Button4, w.Button7, w.Button5, w.Button1}));
    }

    void gridShowsNumbersWithTheDecimalComma()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "25"));
        QCOMPARE(wt::currentCell(w.DBGrid1, "tAK"), QString("1000,75"));
        QCOMPARE(wt::currentCell(w.DBGrid1, "tHA"), QString("10,1234"));
        QCOMPARE(wt::currentCell(w.DBGrid1, "tKod"), QString("25"));
    }

    void openingPositionsOnTheLastSavedCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("hrsz");
        QTest::newRow("nothing saved yet: first by lot number") << ""
                                                                << "0123/4";
        QTest::newRow("saved parcel") << "25"
                                      << "25";
        // The whole code, not its first characters: code 1 is neither 12 nor 15 (an item or a
        // contract would otherwise be handed another parcel).
        QTest::newRow("a code that only begins others: first row") << "1"
                                                                   << "0123/4";
        QTest::newRow("no such code: first row") << "99"
                                                 << "0123/4";
    }
    void openingPositionsOnTheLastSavedCode()
    {
        QFETCH(QString, code);
        QFETCH(QString, hrsz);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        mv().tablaCode = code;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(currentHrsz(w), hrsz);
        QCOMPARE(shownOrder(w.DBGrid1), (QStringList{"0123/4", "1/2", "100", "102", "25"}));
    }

    void searchRunsOneKeyBehind_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("afterTyping");
        QTest::addColumn<QString>("afterKeres");
        QTest::newRow("1") << "1"
                           << "0123/4"
                           << "1/2";
        QTest::newRow("10") << "10"
                            << "1/2"
                            << "100";
        QTest::newRow("102") << "102"
                             << "100"
                             << "102";
        QTest::newRow("2") << "2"
                           << "0123/4"
                           << "25";
        QTest::newRow("no match leaves the first row") << "9"
                                                       << "0123/4"
                                                       << "0123/4";
        QTest::newRow("match, then none") << "1x"
                                          << "1/2"
                                          << "0123/4";
    }
    void searchRunsOneKeyBehind()
    {
        QFETCH(QString, typed);
        QFETCH(QString, afterTyping);
        QFETCH(QString, afterKeres);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickTitle(w.DBGrid1, 0);
        QCOMPARE(w.Label18->text(), QString("A lista, \"Kód\" szerint"));
        w.Edit1->setFocus();
        wt::type(w.Edit1, typed);
        QCOMPARE(w.Edit1->text(), typed);
        QCOMPARE(currentHrsz(w), afterTyping);
        QCOMPARE(shownOrder(w.DBGrid1).first(), QString("0123/4")); // back in lot-number order
        QCOMPARE(w.Label18->text(), QString("A lista, \"Hrsz\" szerint"));
        QTest::mouseClick(w.Button6, Qt::LeftButton);
        QCOMPARE(currentHrsz(w), afterKeres);
        QVERIFY(driver.boxes.isEmpty());
    }

    void enterInTheSearchBoxSearchesTheWholeTextAndKeepsTheFocus()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setFocus();
        wt::type(w.Edit1, "102");
        QCOMPARE(currentHrsz(w), QString("100"));
        QTest::keyClick(w.Edit1, Qt::Key_Return);
        QCOMPARE(currentHrsz(w), QString("102"));
        QCOMPARE(QApplication::focusWidget(), w.Edit1);
        QVERIFY(w.isVisible());
    }

    void titleClickSorts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Kód") << 0 << "A lista, \"Kód\" szerint"
                             << QStringList{"1/2", "100", "25", "102", "0123/4"};
        QTest::newRow("Helyrajziszám")
            << 1 << "A lista, \"Helyrajziszám\" szerint" << QStringList{"0123/4", "1/2", "100", "102", "25"};
        QTest::newRow("Városkód") << 8 << "A lista, \"Település\" szerint"
                                  << QStringList{"100", "25", "0123/4", "1/2", "102"};
    }
    void titleClickSorts()
    {
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QStringList, order);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        QTest::mouseClick(w.DBNavigator1->lastButton, Qt::LeftButton);
        wt::clickTitle(w.DBGrid1, column);
        QCOMPARE(w.Label18->text(), caption);
        QCOMPARE(shownOrder(w.DBGrid1), order);
        QCOMPARE(Data().ZQ40->rowIndex(), 0);
        QCOMPARE(mv().listOrderText, QString("A lista, \"Hrsz\" szerint"));
    }

    void titleClickOnOtherColumnsChangesNothing()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickTitle(w.DBGrid1, 0);
        QTest::mouseClick(w.DBNavigator1->lastButton, Qt::LeftButton);
        const QStringList sql = Data().ZQ40->sql();
        for (int column : {2, 3, 4, 5, 6, 7, 9, 10}) {
            wt::clickTitle(w.DBGrid1, column);
            QCOMPARE(w.Label18->text(), QString("A lista, \"Kód\" szerint"));
            QCOMPARE(Data().ZQ40->sql(), sql);
            QCOMPARE(currentHrsz(w), QString("0123/4"));
        }
    }

    void changeWarnsOnALeasedParcelAndOpensTheEditorAnyway_data()
    {
        QTest::addColumn<QString>("hrsz");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("names"); // branch, town, ownership form, location
        QTest::newRow("leased parcel")
            << "102" << QStringList{"A hrsz már használatban van ! Javitja ?"}
            << QStringList{"kert", "Kiskunfélegyháza", "osztatlan közös tulajdon", "belterület"};
        QTest::newRow("free parcel") << "1/2" << QStringList{}
                                     << QStringList{"rét", "Kiskunfélegyháza", "magántulajdon", "zártkert"};
    }
    void changeWarnsOnALeasedParcelAndOpensTheEditorAnyway()
    {
        QFETCH(QString, hrsz);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, names);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, hrsz));
        QString caption, shownHrsz;
        QStringList shownNames;
        driver.onModal([&](QDialog &d) {
            auto *e = qobject_cast<TForm14 *>(&d);
            QVERIFY(e);
            caption = e->windowTitle();
            shownHrsz = e->box("Edit1")->text();
            for (const char *b : {"Edit6", "Edit7", "Edit8", "Edit9"})
                shownNames << e->box(b)->text();
        });
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(driver.texts(), boxes);
        for (const auto &b : driver.boxes)
            QCOMPARE(b.kind, ui::BoxKind::Confirm);
        QCOMPARE(driver.modalClasses(), QStringList{"TForm14"});
        QCOMPARE(mv().tablaEditMode, QString("Helyrajziszám módositás"));
        QCOMPARE(caption, QString("Helyrajziszám módositás"));
        QCOMPARE(shownHrsz, hrsz);
        QCOMPARE(shownNames, names);
    }

    void deleteRefusesUsedAndLastRowsAndDeletesFreeOnes_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("hrsz");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("confirmBox");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("leased parcel")
            << ""
            << "102"
            << "A hrsz már szerepel a haszonbérleti nyilvántartásban !" << true << false;
        QTest::newRow("free parcel") << ""
                                     << "25"
                                     << "A hrsz törlölve!" << false << true;
        QTest::newRow("the last parcel") << "DELETE FROM tabla WHERE tKod <> '8'"
                                         << "0123/4"
                                         << "Egy sornak maradni kell, nem törölhető ki." << false << false;
        QTest::newRow("the last parcel, leased")
            << "DELETE FROM tabla WHERE tKod <> '7'"
            << "102"
            << "A hrsz már szerepel a haszonbérleti nyilvántartásban !" << true << false;
    }
    void deleteRefusesUsedAndLastRowsAndDeletesFreeOnes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, hrsz);
        QFETCH(QString, message);
        QFETCH(bool, confirmBox);
        QFETCH(bool, deleted);
        TestDb db(true);
        db.exec(kParcels);
        if (!setup.isEmpty())
            db.exec(setup);
        db.data();
        const int before = db.scalar("SELECT count(*) FROM tabla").toInt();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, hrsz));
        QCOMPARE(currentHrsz(w), hrsz);
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QCOMPARE(driver.boxes[0].kind, confirmBox ? ui::BoxKind::Confirm : ui::BoxKind::Message);
        QCOMPARE(driver.modalCount(), 0);
        QCOMPARE(db.scalar(QString("SELECT count(*) FROM tabla WHERE tHrsz = '%1'").arg(hrsz)),
                 QString(deleted ? "0" : "1"));
        QCOMPARE(db.scalar("SELECT count(*) FROM tabla").toInt(), before - (deleted ? 1 : 0));
        if (deleted) {
            QCOMPARE(wt::rowOf(w.DBGrid1, hrsz), -1);
            QCOMPARE(currentHrsz(w), QString("0123/4"));
        } else {
            QCOMPARE(currentHrsz(w), hrsz);
        }
    }

    void failingDeleteIsReportedAndTheListStays()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.exec("CREATE TRIGGER no_delete BEFORE DELETE ON tabla FOR EACH ROW "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'archived'");
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "25"));
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Hiba: tabla DELETE törlésekor"});
        QCOMPARE(db.scalar("SELECT count(*) FROM tabla"), QString("5"));
        QCOMPARE(currentHrsz(w), QString("25"));
        QVERIFY(w.isVisible());
    }

    void newParcelIsCurrentNowAndAtTheNextOpening()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        {
            TForm13 w;
            QVERIFY(wt::showActive(w));
            driver.onModal([&](QDialog &d) {
                auto *e = qobject_cast<TForm14 *>(&d);
                QVERIFY(e);
                QCOMPARE(e->windowTitle(), QString("Helyrajziszám bevitel"));
                wt::type(e->box("Edit1"), "0456/7");
                const struct
                {
                    const char *name, *code;
                } picked[] = {
                    {"Edit6", "Edit12"}, {"Edit7", "Edit13"}, {"Edit8", "Edit14"}, {"Edit9", "Edit15"}};
                for (const auto &p : picked) {
                    e->box(p.name)->setText("x");
                    e->box(p.code)->setText("1");
                }
                QTest::mouseClick(e->okButton(), Qt::LeftButton);
            });
            QTest::mouseClick(w.Button2, Qt::LeftButton);
            QCOMPARE(driver.modalClasses(), QStringList{"TForm14"});
            QVERIFY(driver.boxes.isEmpty());
            QCOMPARE(mv().tablaEditMode, QString("Új helyrajziszám"));
            QCOMPARE(mv().tablaCode, QString("26")); // the greatest code is 25
            QCOMPARE(currentHrsz(w), QString("0456/7"));
            QTest::mouseClick(w.Button5, Qt::LeftButton);
        }
        TForm13 again;
        QVERIFY(wt::showActive(again));
        QCOMPARE(currentHrsz(again), QString("0456/7"));
    }

    void closingLeavesTheListOnItsRowForTheCaller_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Kiválaszt") << "Button1";
        QTest::newRow("Mégsem") << "Button5";
        QTest::newRow("close box") << "";
    }
    void closingLeavesTheListOnItsRowForTheCaller()
    {
        QFETCH(QString, how);
        TestDb db(true);
        db.exec(kParcels);
        db.data();
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "25"));
        if (how.isEmpty())
            w.close();
        else
            QTest::mouseClick(w.findChild<QPushButton *>(how), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(Data().ZQ40->isOpen());
        QCOMPARE(Data().ZQ40->fieldText("tKod"), QString("25"));
        QCOMPARE(Data().ZQ40->fieldText("tAK"), QString("1000,75"));
        QVERIFY(driver.boxes.isEmpty());
    }

    void printDataHasTotalsOverEveryParcelAndTheNamedLines_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<double>("ak");
        QTest::addColumn<double>("ha");
        QTest::addColumn<QStringList>("lines");
        // 100 names a branch that does not exist: out of the lines, in the totals.
        QTest::newRow("five parcels")
            << false << 1041.5 << 17.969
            << QStringList{"25|Bugac|szántó|magántulajdon|belterület",
                           "0123/4|Kiskunfélegyháza|szántó|magántulajdon|külterület",
                           "1/2|Kiskunfélegyháza|rét|magántulajdon|zártkert",
                           "102|Kiskunfélegyháza|kert|osztatlan közös tulajdon|belterület"};
        QTest::newRow("no parcels") << true << 0.0 << 0.0 << QStringList{};
    }
    void printDataHasTotalsOverEveryParcelAndTheNamedLines()
    {
        QFETCH(bool, empty);
        QFETCH(double, ak);
        QFETCH(double, ha);
        QFETCH(QStringList, lines);
        TestDb db(true);
        db.exec(kParcels);
        if (empty)
            db.exec("DELETE FROM tabla");
        db.data();
        parcels::preparePrint();
        const QVariant vak = Data().variables.value("v_mAK"), vha = Data().variables.value("v_mHA");
        QCOMPARE(vak.typeId(), int(QMetaType::Double));
        QCOMPARE(vha.typeId(), int(QMetaType::Double));
        QCOMPARE(vak.toDouble(), ak);
        QCOMPARE(vha.toDouble(), ha);
        Query *q = Data().ZQ43;
        QStringList shown;
        for (q->first(); !q->eof(); q->next())
            shown << QStringList{q->fieldText("tHrsz"), q->fieldText("vHelyseg"), q->fieldText("mMuvag"),
                                 q->fieldText("uTulforma"), q->fieldText("fFekves")}
                         .join('|');
        QCOMPARE(shown, lines);
    }

    void printListsEveryParcelWithTheTotals()
    {
        TestDb db(true);
        db.exec(kParcels);
        db.exec("INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam) "
                "VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', "
                "'12345678-2-03')");
        db.data().reopenTableViews();
        // The template is part of the program: a missing one is a failure.
        QVERIFY(wt::copyTemplate("tabla.frf"));
        UiDriver driver;
        TForm13 w;
        QVERIFY(wt::showActive(w));
        QStringList texts;
        driver.onModal([&](QDialog &d) {
            auto *p = qobject_cast<report::PreviewDialog *>(&d);
            QVERIFY(p);
            texts = wt::allTexts(p->document());
        });
        QTest::mouseClick(w.Button7, Qt::LeftButton);
        QCOMPARE(driver.modalClasses(), QStringList{"report::PreviewDialog"});
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        for (const char *hrsz : {"0123/4", "102", "1/2", "25"})
            QVERIFY2(wt::printed(texts, hrsz), hrsz);
        for (const char *name :
             {"Feketeszél", "Faluvég", "Rétföld", "Homokos", "Bugac", "osztatlan közös tulajdon"})
            QVERIFY2(wt::printed(texts, QString::fromUtf8(name)), name);
        // The parcel with an unknown branch is not a line of the list ...
        QVERIFY(!wt::printed(texts, QString::fromUtf8("Vízállás")));
        // ... but its gold crowns and area are in the totals, written with the decimal comma (and
        // whatever thousands separator and decimals the template asks for).
        QVERIFY2(wt::printed(texts, "041,5"), qPrintable(texts.join(" / ")));
        QVERIFY2(wt::printed(texts, "17,969"), qPrintable(texts.join(" / ")));
        QVERIFY(!wt::printed(texts, "1041.5"));
    }

    void menuItemOpensTheParcelList()
    {
        TestDb db(true);
        db.exec(kParcels);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        auto *item = form.findChild<QAction *>("Tbla1");
        QVERIFY(item);
        QVERIFY(item->isEnabled());
        QString title;
        driver.onModal([&](QDialog &d) { title = d.windowTitle(); });
        item->trigger();
        QCOMPARE(driver.modalClasses(), QStringList{"TForm13"});
        QCOMPARE(title, QString("Helyrajziszám bevitel"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestParcelList t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_parcels_list.moc"
