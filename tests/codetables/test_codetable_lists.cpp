#include "app/registry.h"
#include "app/tform1.h"
#include "codetables/codetables.h"
#include "forms/dbwidgets.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "reports/engine/preview.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// The list window pattern, on the code tables.
class TestCodeTableLists : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<UiDriver> driver;

    template<class W> std::unique_ptr<W> openList()
    {
        auto w = std::make_unique<W>();
        w->show();
        return w;
    }
    static QString current(ListWindow &w, const QString &field) { return w.spec().list->fieldText(field); }

private slots:
    void init()
    {
        mv() = ModuleValues();
        db = std::make_unique<TestDb>(true);
        db->data();
        driver = std::make_unique<UiDriver>();
    }
    void cleanup()
    {
        driver.reset();
        db.reset();
    }

    void opensInNameOrderWithTheOpeningCaption()
    {
        auto w = openList<TForm5>();
        QCOMPARE(w->windowTitle(), QString("Művelési ág"));
        QCOMPARE(w->Label18->text(), QString("A lista, \"Megnevezés\" szerint"));
        QCOMPARE(mv().listOrderText, QString("A lista, \"Megnevezés\" szerint"));
        QCOMPARE(w->Label19->text(), QString("Megnevezés:"));
        // Hungarian order: erdő before fásított terület, szántó before szőlő.
        QCOMPARE(current(*w, "mMuvag"), QString("erdő"));
        QCOMPARE(w->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QString("Müvelési ág"));
        QCOMPARE(w->DBGrid1->model()->headerData(2, Qt::Horizontal).toString(), QString("Dij (Ft/AK)"));
        QCOMPARE(w->DBGrid1->model()->headerData(4, Qt::Horizontal).toString(), QString("IDm"));
        QCOMPARE(w->Button2->toolTip(), QString("Új művelési ág. Ablak nyitás"));
    }

    void searchRunsOneKeyBehind()
    {
        auto w = openList<TForm5>();
        w->spec().list->last();
        QTest::keyClick(w->Edit1, Qt::Key_S);
        QCOMPARE(current(*w, "mMuvag"), QString("erdő")); // searched for the empty text
        QCOMPARE(w->Label18->text(), QString("A lista, \"Művelési ág\" szerint"));
        QTest::keyClick(w->Edit1, Qt::Key_Z);
        QCOMPARE(current(*w, "mMuvag"), QString("szántó")); // searched for "s"
        typeText(w->Edit1, "ő");
        QCOMPARE(current(*w, "mMuvag"), QString("szántó")); // searched for "sz"
        w->Button6->click();
        QCOMPARE(current(*w, "mMuvag"), QString("szőlő")); // "Keres" takes the whole text
    }

    void tabAndEscapeAreNotSearchKeys()
    {
        auto w = openList<TForm5>();
        w->DBGrid1TitleClick(3); // code order
        w->spec().list->last();
        QTest::keyClick(w->Edit1, Qt::Key_Tab);
        QTest::keyClick(w->Edit1, Qt::Key_Left);
        QCOMPARE(w->Label18->text(), QString("A lista, \"Kód\" szerint"));
        QCOMPARE(current(*w, "mKod"), QString("9"));
    }

    void searchWithoutMatchLeavesTheFirstRow()
    {
        auto w = openList<TForm7>();
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('1','Bugac'),('2','Szank')");
        w->Edit1->setText("Xyz");
        w->Button6->click();
        QCOMPARE(current(*w, "vHelyseg"), QString("Bugac"));
    }

    void enterMovesTheFocusOnlyInTheBranchList()
    {
        auto w5 = openList<TForm5>();
        QVERIFY(activate(w5.get()));
        w5->Edit1->setFocus();
        QTest::keyClick(w5->Edit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w5->Button6));
        w5->close();
        auto w7 = openList<TForm7>();
        QVERIFY(activate(w7.get()));
        w7->Edit1->setFocus();
        QTest::keyClick(w7->Edit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w7->Edit1));
    }

    void sortingByTitles_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstCode");
        QTest::newRow("branch by code") << 5 << 3 << "A lista, \"Kód\" szerint"
                                        << "1";
        QTest::newRow("branch by name") << 5 << 0 << "A lista, \"Művelési ág\" szerint"
                                        << "8";
        QTest::newRow("branch, other title does nothing") << 5 << 2 << "A lista, \"Megnevezés\" szerint"
                                                          << "8";
        QTest::newRow("location by code") << 11 << 1 << "A lista, \"Kód\" szerint"
                                          << "1";
        QTest::newRow("location by name") << 11 << 0 << "A lista, \"Fekvés\" szerint"
                                          << "1";
        QTest::newRow("form by code") << 9 << 1 << "A lista, \"Kód\" szerint"
                                      << "1";
        QTest::newRow("form, identifier title does nothing") << 9 << 2 << "A lista, \"Tulajdonforma\" szerint"
                                                             << "3";
    }
    void sortingByTitles()
    {
        QFETCH(int, member);
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, firstCode);
        std::unique_ptr<ListWindow> w;
        if (member == 5)
            w = openList<TForm5>();
        else if (member == 9)
            w = openList<TForm9>();
        else
            w = openList<TForm11>();
        w->spec().list->last();
        w->DBGrid1TitleClick(column);
        QCOMPARE(w->Label18->text(), caption);
        if (column == 2) { // nothing happened: still on the last row
            QCOMPARE(w->spec().list->rowIndex(), w->spec().list->rowCount() - 1);
        } else {
            QCOMPARE(w->spec().list->rowIndex(), 0);
            QCOMPARE(current(*w, w->spec().codeField), firstCode);
        }
    }

    void townSortedByCodeWithTenTowns()
    {
        for (int i = 1; i <= 10; ++i)
            db->exec(QString("INSERT INTO varos (vKod, vHelyseg) VALUES ('%1','Város %2')")
                         .arg(i)
                         .arg(QChar('A' + i)));
        auto w = openList<TForm7>();
        w->DBGrid1TitleClick(1);
        QCOMPARE(w->Label18->text(), QString("A lista, \"Kód\" szerint"));
        // Text order of the character column, as the statement asks.
        QCOMPARE(current(*w, "vKod"), QString("1"));
        w->spec().list->next();
        QCOMPARE(current(*w, "vKod"), QString("10"));
    }

    void opensOnTheRowSavedLast()
    {
        mv().fekvesCode = "3";
        auto w = openList<TForm11>();
        QCOMPARE(current(*w, "fFekves"), QString("zártkert"));
    }

    void changeOnAUsedRowWarnsAndStillOpensTheEditor_data()
    {
        QTest::addColumn<QString>("use");
        QTest::newRow("a parcel names the branch")
            << "INSERT INTO tabla (tKod, tHrsz, tMkod) VALUES ('1', '012/3', '8')";
        // A change of the fee re-prices the items' rent.
        QTest::newRow("only a contract item names it")
            << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK) VALUES ('1', '1', '1', '8', 10)";
    }
    void changeOnAUsedRowWarnsAndStillOpensTheEditor()
    {
        QFETCH(QString, use);
        db->exec(use);
        auto w = openList<TForm5>(); // erdő (8) is current
        QString caption;
        driver->onModal([&](QDialog &d) { caption = d.windowTitle(); });
        w->Button3->click();
        QCOMPARE(driver->texts(), QStringList{"A művelési ág már használatban van ! Javitja ?"});
        QCOMPARE(driver->boxes[0].kind, ui::BoxKind::Confirm);
        QCOMPARE(caption, QString("Művelési ág módositás"));
        QCOMPARE(mv().muvagEditMode, QString("Művelési ág módositás"));
    }

    void changeOnAFreeRowOpensTheEditorWithoutNotice()
    {
        auto w = openList<TForm11>();
        QString name;
        driver->onModal([&](QDialog &d) { name = d.findChild<QLineEdit *>("Edit1")->text(); });
        w->Button3->click();
        QVERIFY(driver->boxes.isEmpty());
        QCOMPARE(name, QString("belterület"));
    }

    void deleting_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rowsLeft");
        QTest::newRow("used row is refused")
            << "INSERT INTO tabla (tKod, tHrsz, tFkod) VALUES ('1', '012/3', '1')"
            << "A fekvés már szerepel a haszonbérleti nyilvántartásban !" << 3;
        QTest::newRow("the last row is refused") << "DELETE FROM fekves WHERE fKod <> '1'"
                                                 << "Egy sornak maradni kell, nem törölhető ki." << 1;
        QTest::newRow("a free row goes at once") << ""
                                                 << "A fekvés törlölve!" << 2;
    }
    void deleting()
    {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        QFETCH(int, rowsLeft);
        if (!setup.isEmpty())
            db->exec(setup);
        auto w = openList<TForm11>(); // belterület (1) is current
        w->Button4->click();
        QCOMPARE(driver->texts(), QStringList{message});
        QCOMPARE(db->scalar("SELECT count(*) FROM fekves").toInt(), rowsLeft);
        if (rowsLeft == 2) {
            QCOMPARE(w->spec().list->rowCount(), 2);
            QCOMPARE(w->spec().list->rowIndex(), 0);
            QCOMPARE(current(*w, "fFekves"), QString("külterület"));
        }
    }

    void deletingABranchCountsItemsAsUse_data()
    {
        QTest::addColumn<QString>("use");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rowsLeft");
        const QString used = "A művelési ág már szerepel a haszonbérleti nyilvántartásban !";
        QTest::newRow("a parcel names it")
            << "INSERT INTO tabla (tKod, tHrsz, tMkod) VALUES ('1', '012/3', '8')" << used << 10;
        // Its fee per AK is the items' rent: without the branch they would drop out of the settlement.
        QTest::newRow("only an item names it")
            << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK) VALUES ('1', '1', '1', '8', 10)" << used
            << 10;
        QTest::newRow("nothing names it")
            << "INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK) VALUES ('1', '1', '1', '7', 10)"
            << "A művelési ág törlölve!" << 9;
    }
    void deletingABranchCountsItemsAsUse()
    {
        QFETCH(QString, use);
        QFETCH(QString, message);
        QFETCH(int, rowsLeft);
        db->exec(use);
        auto w = openList<TForm5>(); // erdő (8) is current
        QCOMPARE(current(*w, "mKod"), QString("8"));
        w->Button4->click();
        QCOMPARE(driver->texts(), QStringList{message});
        QCOMPARE(driver->boxes[0].kind, rowsLeft == 10 ? ui::BoxKind::Confirm : ui::BoxKind::Message);
        QCOMPARE(db->scalar("SELECT count(*) FROM muvag").toInt(), rowsLeft);
        QCOMPARE(db->scalar("SELECT count(*) FROM muvag WHERE mKod = '8'"),
                 QString(rowsLeft == 10 ? "1" : "0"));
    }

    void deleteWithTwoRowsLeavesTheOther()
    {
        db->exec("DELETE FROM varos");
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('1','Bugac'),('2','Szank')");
        auto w = openList<TForm7>();
        w->Button4->click();
        QCOMPARE(driver->texts(), QStringList{"A helységnév törlölve!"});
        QCOMPARE(db->rows("SELECT vHelyseg FROM varos"), QStringList{"Szank"});
        QCOMPARE(current(*w, "vHelyseg"), QString("Szank"));
    }

    void pickAndCancelBothCloseAndKeepTheRow()
    {
        for (const char *button : {"Button1", "Button5"}) {
            TForm9 w;
            int result = -1;
            driver->onModal([&](QDialog &d) {
                auto &list = static_cast<ListWindow &>(d);
                list.spec().list->last();
                d.findChild<QPushButton *>(button)->click();
                result = d.isVisible();
            });
            ui::showModal(w);
            QCOMPARE(result, 0);
            QCOMPARE(Data().ZQ70->fieldText("uTulforma"), QString("társasági tulajdon"));
        }
    }

    void printingListsEveryRow_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("count");
        QTest::newRow("branches") << 5 << "muvag.frf" << QStringList{"erdő",
                                                                     "fásított terület",
                                                                     "gyümölcsös",
                                                                     "halastó",
                                                                     "kert",
                                                                     "legelő",
                                                                     "nádas",
                                                                     "rét",
                                                                     "szántó",
                                                                     "szőlő",
                                                                     QString("1\u00A0800,00")}
                                  << 10;
        QTest::newRow("towns") << 7 << "varos.frf" << QStringList{"Bugac", "Őrszentmiklós", "Ürbőpuszta"}
                               << 3;
        QTest::newRow("forms") << 9 << "tforma.frf"
                               << QStringList{"magántulajdon", "osztatlan közös tulajdon", "állami tulajdon"}
                               << 6;
        QTest::newRow("locations") << 11 << "fekves.frf"
                                   << QStringList{"belterület", "külterület", "zártkert"} << 3;
    }
    void printingListsEveryRow()
    {
        QFETCH(int, member);
        QFETCH(QString, templateName);
        QFETCH(QStringList, rows);
        QFETCH(int, count);
        QFile::remove(templateName);
        QVERIFY(QFile::copy(TestDb::sourceDir() + "/templates/" + templateName, templateName));
        db->exec("UPDATE muvag SET mDij = 1800 WHERE mKod = '1'");
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES "
                 "('1','Bugac'),('2','Őrszentmiklós'),('3','Ürbőpuszta')");
        db->exec("INSERT INTO berlo (BNeve) VALUES ('Próba Kft.')");
        Data().reopenTableViews();
        std::unique_ptr<ListWindow> w;
        switch (member) {
        case 5:
            w = openList<TForm5>();
            break;
        case 7:
            w = openList<TForm7>();
            break;
        case 9:
            w = openList<TForm9>();
            break;
        default:
            w = openList<TForm11>();
            break;
        }
        QStringList printed;
        driver->onModal([&](QDialog &d) {
            auto *preview = qobject_cast<report::PreviewDialog *>(&d);
            QVERIFY(preview);
            for (int p = 0; p < preview->document().pageCount(); ++p)
                printed += preview->document().texts(p);
        });
        w->Button7->click();
        QVERIFY2(driver->boxes.isEmpty(), qPrintable(driver->texts().join('|')));
        QVERIFY(printed.contains("Próba Kft."));
        for (const auto &r : rows)
            QVERIFY2(printed.contains(r), qPrintable(r + " missing from: " + printed.join('|')));
        QVERIFY(printed.join('|').contains(QString("Összesen: %1 ").arg(count)));
    }

    void menuItemsOfTheCodeTablesAreEnabled();
};

void TestCodeTableLists::menuItemsOfTheCodeTablesAreEnabled()
{
    db.reset();
    db = std::make_unique<TestDb>(true);
    TForm1 form;
    QVERIFY(form.startedUp());
    for (const char *item : {"mvelsig1", "Helysgnv2", "Tulajdonforma2", "Fekvs2"})
        QVERIFY2(form.findChild<QAction *>(item)->isEnabled(), item);
    // Opening one from the menu shows the list and returns to a usable main window.
    form.findChild<QAction *>("Helysgnv2")->trigger();
    QCOMPARE(driver->modalClasses(), QStringList{"TForm7"});
    QVERIFY(form.findChild<QAction *>("Vge1")->isEnabled());
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestCodeTableLists t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_codetable_lists.moc"
