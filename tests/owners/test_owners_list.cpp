// The owner list TForm3 driven as the clerk drives it: search, sorting, opening position, the
// edit window from "Új" and "Módosít", "Töröl" with its refusals, the pick left in ZQ30, "Nyomtat".

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "owners/owners.h"
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

// Five owners whose name, code (as text) and town orders all start with a different owner:
// by name Antal, by code Csizmadia ('1' < '10' < '2'), by town Bakos (Bugac). Bakos has a
// contract; Csizmadia has a payment but no contract.
const char *kOwners = R"(
INSERT INTO tulaj (nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, nAdoazon, nSzla, nSzja, nMin, nSzemszam)
VALUES ('5',  'Antal József',     '1948-03-12', 'Szabó Rozália', '6100', 'Kiskunfélegyháza', 'Petőfi u. 12.', '', '8296555883', '11720094-47130762', NULL, '', '1-480312-4549'),
       ('2',  'Bakos Ferenc',     '1961-11-23', 'Vincze Ilona',  '6114', 'Bugac',            'Fő u. 66.',     '', '8346593279', '', NULL, '', '1-611123-9804'),
       ('3',  'Balogh Lajosné',   '1944-02-08', 'Kálmán Julianna', '6000', 'Kecskemét',      'Izsáki út 9.',  'Szűts Ilona', '8281618388', '', NULL, '', '2-440208-2346'),
       ('1',  'Csizmadia Sándor', '1956-09-17', 'Rigó Anna',     '6131', 'Szank',            'Dózsa u. 45.',  '', '8327663488', '', NULL, '', '1-560917-1631'),
       ('10', 'Dudás Erzsébet',   '1965-12-01', 'Gulyás Piroska', '6120', 'Kiskunmajsa',     'Béke u. 7.',    '', '8361286152', '', NULL, '', '2-651201-0623');
INSERT INTO haszn (hKod, hSzam, hNkod, hTol, hIg) VALUES ('1', '1/2020', '2', '2020-01-01', '2030-12-31');
INSERT INTO kifiz (kKod, kDatum, kMegnev, kFt, kNkod) VALUES ('1', '2024-03-01', 'bérleti díj', 12000, '1');
)";

QString currentName(TForm3 &w)
{
    return wt::currentCell(w.DBGrid1, QStringLiteral("nNev"));
}

} // namespace

class TestOwnerList : public QObject
{
    Q_OBJECT

private slots:
    void init() { mv() = ModuleValues{}; }

    void windowShowsItsControls()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, QStringLiteral("TForm3"));

        QCOMPARE(w.windowTitle(), QString("Tulajdonos"));
        QCOMPARE(w.minimumSize(), w.maximumSize()); // a fixed-size dialog
        QCOMPARE(w.Label19->text(), QString("Név:"));
        QCOMPARE(w.Label19->buddy(), w.Edit1);
        QCOMPARE(w.Edit1->toolTip(), QString("Kezdö betükre rákeres"));
        QCOMPARE(w.Button6->text(), QString("Keres"));
        QCOMPARE(w.Button6->toolTip(), QString("Keresés inditása"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Név\" szerint"));
        QCOMPARE(mv().listOrderText, QString("A lista, \"Név\" szerint"));
        QCOMPARE(w.DBGrid1->toolTip(), QString("Sorbarendezéshez klikk az oszlop fejlécre."));
        QCOMPARE(wt::gridTitles(w.DBGrid1),
                 (QStringList{"Kód", "Név", "Születési idö", "Anyja neve", "Ir.szám", "Helységnév", "Utca",
                              "Leánykori név", "Adóazonositó", "Bank szla", "Szja", "nMin", "IDn"}));
        QCOMPARE(w.GroupBox1->title(), QString("Adata"));
        QStringList adata;
        for (QLabel *l : w.GroupBox1->findChildren<QLabel *>())
            adata << l->text();
        QCOMPARE(adata, (QStringList{"ID:", "Kód:", "Tulajdonos neve:", "Születési dátuma:", "Anyja neve:",
                                     "L.név:", "Cime:", "Adóazonositó: ", "Számlaszám:", "Személyiszám:"}));
        // The "Adata" fields follow the current row: the address is three fields side by side.
        QStringList shown;
        for (QLineEdit *e : w.GroupBox1->findChildren<QLineEdit *>())
            shown << e->text();
        QCOMPARE(shown, (QStringList{"1", "5", "Antal József", "1948.03.12", "Szabó Rozália", "", "6100",
                                     "Kiskunfélegyháza", "Petőfi u. 12.", "8296555883", "11720094-47130762",
                                     "1-480312-4549"}));

        struct B
        {
            QPushButton *button;
            const char *caption, *hint;
        };
        const B buttons[] = {{w.Button1, "Kiválaszt", "Ablak záráskor a megjelölt sort átemeli"},
                             {w.Button2, "Új", "Új tulajdonos. Ablak nyitás"},
                             {w.Button3, "Módosít", "Kiválasztott név módositása"},
                             {w.Button4, "Töröl", "Kiválasztott sort törli"},
                             {w.Button7, "Nyomtat", "Teljes lista a nevekről."},
                             {w.Button5, "Mégsem", "Kilépés, ablak bezárás"}};
        int x = -1;
        for (const B &b : buttons) {
            QCOMPARE(b.button->text(), QString(b.caption));
            QCOMPARE(b.button->toolTip(), QString(b.hint));
            // They stand in one row in this order.
            QVERIFY2(b.button->x() > x, b.caption);
            x = b.button->x();
        }
        // Tab order: search box, search button, the grid, the navigator, then the buttons in the order
        // Új, Módosít, Töröl, Nyomtat, Mégsem, Kiválaszt.
        // (On a middle row, so that every navigator button is enabled.)
        wt::clickRow(w.DBGrid1, 2);
        QList<QWidget *> chain{w.Edit1};
        while (chain.size() < 13)
            chain << wt::nextTab(chain.last());
        QCOMPARE(chain[1], w.Button6);
        QCOMPARE(chain[2], w.DBGrid1);
        QCOMPARE(chain.mid(3, 4), (QList<QWidget *>{w.DBNavigator1->firstButton, w.DBNavigator1->priorButton,
                                                    w.DBNavigator1->nextButton, w.DBNavigator1->lastButton}));
        QCOMPARE(chain.mid(7),
                 (QList<QWidget *>{w.Button2, w.Button3, w.Button4, w.Button7, w.Button5, w.Button1}));
    }

    void openingPositionsOnTheLastSavedCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("nothing saved yet: first by name") << ""
                                                          << "Antal József";
        QTest::newRow("saved owner") << "3"
                                     << "Balogh Lajosné";
        // The whole code: 1 is Csizmadia, although Dudás (10) also begins with 1.
        QTest::newRow("code 1 beside code 10") << "1"
                                               << "Csizmadia Sándor";
        QTest::newRow("no such code: first row") << "99"
                                                 << "Antal József";
    }
    void openingPositionsOnTheLastSavedCode()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        mv().tulajCode = code;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        QCOMPARE(currentName(w), name);
        QCOMPARE(Data().ZQ30->fieldText("nNev"), name);
        // The list is in name order.
        QCOMPARE(w.DBGrid1->model()->index(0, 1).data().toString(), QString("Antal József"));
    }

    void searchRunsOneKeyBehind_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("afterTyping"); // the search saw all but the last key
        QTest::addColumn<QString>("afterKeres");  // "Keres" searches the whole text
        QTest::newRow("b") << "b"
                           << "Antal József"
                           << "Bakos Ferenc";
        QTest::newRow("ba") << "ba"
                            << "Bakos Ferenc"
                            << "Bakos Ferenc";
        QTest::newRow("bal") << "bal"
                             << "Bakos Ferenc"
                             << "Balogh Lajosné";
        QTest::newRow("upper case") << "BAL"
                                    << "Bakos Ferenc"
                                    << "Balogh Lajosné";
        QTest::newRow("no match leaves the first row") << "x"
                                                       << "Antal József"
                                                       << "Antal József";
        QTest::newRow("match, then none") << "bx"
                                          << "Bakos Ferenc"
                                          << "Antal József";
    }
    void searchRunsOneKeyBehind()
    {
        QFETCH(QString, typed);
        QFETCH(QString, afterTyping);
        QFETCH(QString, afterKeres);
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        // Sorted by code first: the search goes back to name order.
        wt::clickTitle(w.DBGrid1, 0);
        QCOMPARE(w.Label18->text(), QString("A lista, \"Kód\" szerint"));
        w.Edit1->setFocus();
        wt::type(w.Edit1, typed);
        QCOMPARE(w.Edit1->text(), typed);
        QCOMPARE(currentName(w), afterTyping);
        QCOMPARE(w.DBGrid1->model()->index(0, 1).data().toString(), QString("Antal József"));
        QCOMPARE(w.Label18->text(), QString("A lista, \"Név\" szerint"));
        QTest::mouseClick(w.Button6, Qt::LeftButton);
        QCOMPARE(currentName(w), afterKeres);
        QCOMPARE(w.Label18->text(), QString("A lista, \"Név\" szerint"));
        QVERIFY(driver.boxes.isEmpty());
    }

    void enterInTheSearchBoxSearchesTheWholeTextAndMovesTheFocus()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setFocus();
        wt::type(w.Edit1, "bal");
        QCOMPARE(currentName(w), QString("Bakos Ferenc"));
        QTest::keyClick(w.Edit1, Qt::Key_Return);
        QCOMPARE(currentName(w), QString("Balogh Lajosné"));
        QCOMPARE(QApplication::focusWidget(), w.Button6);
        // Shift+Enter goes back.
        QTest::keyClick(w.Button6, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), w.Edit1);
    }

    void titleClickSorts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Kód") << 0 << "A lista, \"Kód\" szerint"
                             << QStringList{"Csizmadia Sándor", "Dudás Erzsébet", "Bakos Ferenc",
                                            "Balogh Lajosné", "Antal József"};
        QTest::newRow("Név") << 1 << "A lista, \"Név\" szerint"
                             << QStringList{"Antal József", "Bakos Ferenc", "Balogh Lajosné",
                                            "Csizmadia Sándor", "Dudás Erzsébet"};
        QTest::newRow("Helységnév") << 5 << "A lista, \"Település\" szerint"
                                    << QStringList{"Bakos Ferenc", "Balogh Lajosné", "Antal József",
                                                   "Dudás Erzsébet", "Csizmadia Sándor"};
    }
    void titleClickSorts()
    {
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QStringList, order);
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        QTest::mouseClick(w.DBNavigator1->lastButton, Qt::LeftButton);
        wt::clickTitle(w.DBGrid1, column);
        QCOMPARE(w.Label18->text(), caption);
        QStringList shown;
        for (int r = 0; r < w.DBGrid1->model()->rowCount(); ++r)
            shown << w.DBGrid1->model()->index(r, 1).data().toString();
        QCOMPARE(shown, order);
        QCOMPARE(Data().ZQ30->rowIndex(), 0); // the first row becomes current
        QCOMPARE(currentName(w), order.first());
        QCOMPARE(mv().listOrderText, QString("A lista, \"Név\" szerint"));
    }

    void titleClickOnOtherColumnsChangesNothing()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickTitle(w.DBGrid1, 0);
        QTest::mouseClick(w.DBNavigator1->lastButton, Qt::LeftButton);
        const QStringList sql = Data().ZQ30->sql();
        for (int column : {2, 3, 4, 6, 7, 8, 9, 10, 11, 12}) {
            wt::clickTitle(w.DBGrid1, column);
            QCOMPARE(w.Label18->text(), QString("A lista, \"Kód\" szerint"));
            QCOMPARE(Data().ZQ30->sql(), sql);
            QCOMPARE(currentName(w), QString("Antal József")); // still the last row by code
        }
    }

    void changeWarnsOnAnOwnerWithAContractAndOpensTheEditorAnyway_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("owner with a contract")
            << "Bakos Ferenc" << QStringList{"A név már használatban van ! Javitja ?"};
        QTest::newRow("owner with a payment only") << "Csizmadia Sándor" << QStringList{};
    }
    void changeWarnsOnAnOwnerWithAContractAndOpensTheEditorAnyway()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, boxes);
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, name));
        QString caption, shownName, code;
        driver.onModal([&](QDialog &d) {
            auto *e = qobject_cast<TForm4 *>(&d);
            QVERIFY(e);
            caption = e->windowTitle();
            shownName = e->box("Edit1")->text();
            code = e->box("Edit10")->text();
        });
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(driver.texts(), boxes);
        for (const auto &b : driver.boxes)
            QCOMPARE(b.kind, ui::BoxKind::Confirm);
        QCOMPARE(driver.modalClasses(), QStringList{"TForm4"});
        QCOMPARE(mv().tulajEditMode, QString("Tulajdonos módositás"));
        QCOMPARE(caption, QString("Tulajdonos módositás"));
        QCOMPARE(shownName, name);
        QCOMPARE(code, Data().ZQ30->fieldText("nKod"));
    }

    void deleteRefusesUsedAndLastRowsAndDeletesFreeOnes_data()
    {
        QTest::addColumn<QString>("setup"); // run after the five owners
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("confirmBox");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("owner with a contract")
            << ""
            << "Bakos Ferenc"
            << "A név már szerepel a haszonbérlet nyilvántartásban !" << true << false;
        // Payments name the owner too: deleting them would leave the payments pointing at nobody,
        // and the next owner given the freed code would inherit them.
        QTest::newRow("owner with payments but no contract")
            << ""
            << "Csizmadia Sándor"
            << "A név már szerepel a kifizetések között !" << true << false;
        QTest::newRow("free owner") << ""
                                    << "Dudás Erzsébet"
                                    << "A név törlölve!" << false << true;
        QTest::newRow("the last owner") << "DELETE FROM tulaj WHERE nKod <> '5'"
                                        << "Antal József"
                                        << "Egy sornak maradni kell, nem törölhető ki." << false << false;
        // The contract check comes before the last-row check.
        QTest::newRow("the last owner, with a contract")
            << "DELETE FROM tulaj WHERE nKod <> '2'"
            << "Bakos Ferenc"
            << "A név már szerepel a haszonbérlet nyilvántartásban !" << true << false;
    }
    void deleteRefusesUsedAndLastRowsAndDeletesFreeOnes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, confirmBox);
        QFETCH(bool, deleted);
        TestDb db(true);
        db.exec(kOwners);
        if (!setup.isEmpty())
            db.exec(setup);
        db.data();
        const int before = db.scalar("SELECT count(*) FROM tulaj").toInt();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, name));
        QCOMPARE(currentName(w), name);
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{message});
        QCOMPARE(driver.boxes[0].kind, confirmBox ? ui::BoxKind::Confirm : ui::BoxKind::Message);
        QCOMPARE(driver.modalCount(), 0); // no question before the delete
        const QString stored = db.scalar(QString("SELECT count(*) FROM tulaj WHERE nNev = '%1'").arg(name));
        QCOMPARE(stored, QString(deleted ? "0" : "1"));
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj").toInt(), before - (deleted ? 1 : 0));
        // Payments are not touched by the delete.
        QCOMPARE(db.scalar("SELECT count(*) FROM kifiz"), QString("1"));
        if (deleted) {
            // The refreshed list: the row is gone and the first row is current.
            QCOMPARE(wt::rowOf(w.DBGrid1, name), -1);
            QCOMPARE(currentName(w), QString("Antal József"));
        } else {
            QCOMPARE(currentName(w), name);
        }
    }

    void failingDeleteIsReportedAndTheListStays()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.exec("CREATE TRIGGER no_delete BEFORE DELETE ON tulaj FOR EACH ROW "
                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'archived'");
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "Dudás Erzsébet"));
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Hiba: tulaj DELETE törlésekor"});
        QCOMPARE(db.scalar("SELECT count(*) FROM tulaj"), QString("5"));
        QCOMPARE(currentName(w), QString("Dudás Erzsébet")); // not refreshed
        QVERIFY(w.isVisible());
    }

    void newOwnerIsCurrentNowAndAtTheNextOpening()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        QString caption;
        {
            TForm3 w;
            QVERIFY(wt::showActive(w));
            driver.onModal([&](QDialog &d) {
                auto *e = qobject_cast<TForm4 *>(&d);
                QVERIFY(e);
                caption = e->windowTitle();
                wt::type(e->box("Edit1"), "Bárány Ödön");
                wt::type(e->box("Edit4"), "1970.01.02");
                QTest::mouseClick(e->okButton(), Qt::LeftButton);
            });
            QTest::mouseClick(w.Button2, Qt::LeftButton);
            QCOMPARE(driver.modalClasses(), QStringList{"TForm4"});
            QCOMPARE(mv().tulajEditMode, QString("Új tulajdonos"));
            QCOMPARE(caption, QString("Tulajdonos bevitel"));
            QVERIFY(driver.boxes.isEmpty());
            // Codes are compared as numbers: after 10 comes 11.
            QCOMPARE(mv().tulajCode, QString("11"));
            QCOMPARE(currentName(w), QString("Bárány Ödön"));
            QCOMPARE(wt::currentCell(w.DBGrid1, "nKod"), QString("11"));
            QTest::mouseClick(w.Button5, Qt::LeftButton);
        }
        TForm3 again;
        QVERIFY(wt::showActive(again));
        QCOMPARE(currentName(again), QString("Bárány Ödön"));
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
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "Balogh Lajosné"));
        if (how.isEmpty())
            w.close();
        else
            QTest::mouseClick(w.findChild<QPushButton *>(how), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), how == "Button1" ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QVERIFY(Data().ZQ30->isOpen());
        QCOMPARE(Data().ZQ30->fieldText("nKod"), QString("3"));
        QVERIFY(driver.boxes.isEmpty());
    }

    void printListsEveryOwner()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.exec("INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam) "
                "VALUES ('Homokhát Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', "
                "'12345678-2-03')");
        db.data().reopenTableViews();
        // The template is part of the program: a missing one is a failure.
        QVERIFY(wt::copyTemplate("Tulaj.frf"));
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        QStringList texts;
        int pages = 0;
        driver.onModal([&](QDialog &d) {
            auto *p = qobject_cast<report::PreviewDialog *>(&d);
            QVERIFY(p);
            pages = p->document().pageCount();
            texts = wt::allTexts(p->document());
        });
        QTest::mouseClick(w.Button7, Qt::LeftButton);
        QCOMPARE(driver.modalClasses(), QStringList{"report::PreviewDialog"});
        QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join('\n')));
        QVERIFY(pages >= 1);
        QCOMPARE(Data().ZQ33->sql(), QStringList{"SELECT * FROM tulaj ORDER BY nNev, nSzido"});
        for (const QString &row : db.rows("SELECT nNev, nSzla FROM tulaj")) {
            const QString name = row.section('|', 0, 0), account = row.section('|', 1, 1);
            QVERIFY2(wt::printed(texts, name), qPrintable(name));
            if (!account.isEmpty())
                QVERIFY2(wt::printed(texts, account), qPrintable(account));
        }
        QVERIFY(wt::printed(texts, "Homokhát Mezőgazdasági Kft."));
        // The print leaves the list as it was.
        QCOMPARE(currentName(w), QString("Antal József"));
    }

    void menuItemOpensTheOwnerList()
    {
        TestDb db(true);
        db.exec(kOwners);
        windows::registerAll();
        UiDriver driver;
        TForm1 form;
        QVERIFY(form.startedUp());
        auto *item = form.findChild<QAction *>("Bevitel1");
        QVERIFY(item);
        QVERIFY(item->isEnabled());
        QString title;
        driver.onModal([&](QDialog &d) { title = d.windowTitle(); });
        item->trigger();
        QCOMPARE(driver.modalClasses(), QStringList{"TForm3"});
        QCOMPARE(title, QString("Tulajdonos"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestOwnerList t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_owners_list.moc"
