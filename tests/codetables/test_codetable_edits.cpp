#include "codetables/codetables.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// The edit window pattern, on the code tables.
class TestCodeTableEdits : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<UiDriver> driver;

    static QLineEdit *box(QWidget &w, const char *name) { return w.findChild<QLineEdit *>(name); }

    // Opens a list, presses "Új" or "Módosít" and runs `script` in the edit window.
    template<class List> void edit(bool change, std::function<void(QDialog &)> script)
    {
        List list;
        list.show();
        driver->onModal(std::move(script));
        if (change)
            list.Button3->click();
        else
            list.Button2->click();
    }

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

    void newBranchGetsTheNextCodeAndBecomesCurrent()
    {
        edit<TForm5>(false, [](QDialog &d) {
            QCOMPARE(d.windowTitle(), QString("Művelési ág bevitel"));
            QCOMPARE(box(d, "Edit3")->text(), QString("0"));
            typeText(box(d, "Edit1"), "Ültetvény");
            typeText(box(d, "Edit2"), "II.");
            box(d, "Edit3")->clear();
            typeText(box(d, "Edit3"), "12,5");
            d.findChild<QPushButton *>("Button2")->click();
            QVERIFY(!d.isVisible());
        });
        QVERIFY(driver->boxes.isEmpty());
        QCOMPARE(db->rows("SELECT mKod, mMuvag, mMino, mDij FROM muvag WHERE mMuvag = 'Ültetvény'"),
                 QStringList{"11|Ültetvény|II.|12.5"});
        QCOMPARE(mv().muvagCode, QString("11"));
        QCOMPARE(Data().ZQ50->fieldText("mKod"), QString("11"));
        // The list opens on it the next time.
        TForm5 again;
        again.show();
        QCOMPARE(Data().ZQ50->fieldText("mMuvag"), QString("Ültetvény"));
    }

    void firstRowOfAnEmptyTableGetsCodeOne()
    {
        db->exec("DELETE FROM varos");
        edit<TForm7>(false, [](QDialog &d) {
            typeText(box(d, "Edit1"), "O'Brien-tanya");
            d.findChild<QPushButton *>("Button2")->click();
        });
        QVERIFY(driver->boxes.isEmpty());
        QCOMPARE(db->rows("SELECT vKod, vHelyseg FROM varos"), QStringList{"1|O'Brien-tanya"});
    }

    void newCodeAfterOneToTenIsEleven()
    {
        db->exec("DELETE FROM varos");
        for (int i = 1; i <= 10; ++i)
            db->exec(QString("INSERT INTO varos (vKod, vHelyseg) VALUES ('%1', 'V%1')").arg(i));
        edit<TForm7>(false, [](QDialog &d) {
            typeText(box(d, "Edit1"), "Újváros");
            d.findChild<QPushButton *>("Button2")->click();
        });
        QCOMPARE(db->scalar("SELECT vKod FROM varos WHERE vHelyseg = 'Újváros'"), QString("11"));
        QCOMPARE(db->scalar("SELECT count(*) FROM varos WHERE vKod = '10'"), QString("1"));
    }

    void changeKeepsIdentifierAndCode()
    {
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('7','Bugac'),('8','Szank')");
        const QString id = db->scalar("SELECT IDv FROM varos WHERE vKod = '8'");
        TForm7 list;
        list.show();
        list.Edit1->setText("Szank");
        list.Button6->click();
        driver->onModal([](QDialog &d) {
            QCOMPARE(d.windowTitle(), QString("Helységnév módositás"));
            QCOMPARE(box(d, "Edit1")->text(), QString("Szank"));
            box(d, "Edit1")->setText("Szank-Kisszállás  ");
            d.findChild<QPushButton *>("Button2")->click();
        });
        list.Button3->click();
        QCOMPARE(db->rows("SELECT IDv, vKod, vHelyseg FROM varos WHERE vKod = '8'"),
                 QStringList{id + "|8|Szank-Kisszállás  "});
        QCOMPARE(Data().ZQ60->fieldText("vKod"), QString("8"));
        QCOMPARE(mv().varosCode, QString("8"));
    }

    void emptyNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks only") << "   ";
    }
    void emptyNames()
    {
        QFETCH(QString, name);
        edit<TForm11>(false, [&](QDialog &d) {
            QVERIFY(activate(&d));
            box(d, "Edit1")->setText(name);
            d.findChild<QPushButton *>("Button2")->click();
            QVERIFY(d.isVisible());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box(d, "Edit1")));
        });
        QCOMPARE(driver->texts(), QStringList{"Üres fekvés!"});
        QCOMPARE(db->scalar("SELECT count(*) FROM fekves"), QString("3"));
    }

    void emptyNameMessagesPerMember()
    {
        edit<TForm5>(false, [](QDialog &d) { d.findChild<QPushButton *>("Button2")->click(); });
        edit<TForm7>(false, [](QDialog &d) { d.findChild<QPushButton *>("Button2")->click(); });
        edit<TForm9>(false, [](QDialog &d) { d.findChild<QPushButton *>("Button2")->click(); });
        QCOMPARE(driver->texts(),
                 (QStringList{"Üres a művelési ág!", "Üres a helységnév!", "Üres tulajdonforma!"}));
    }

    void feeBoxTakesDigitsAndCommaAndFallsBackToZero()
    {
        edit<TForm5>(false, [](QDialog &d) {
            QLineEdit *fee = box(d, "Edit3");
            QVERIFY(activate(&d));
            fee->setFocus();
            fee->clear();
            typeText(fee, "1a2.,5x");
            QCOMPARE(fee->text(), QString("12,5"));
            fee->clear();
            box(d, "Edit1")->setFocus(); // leaving the empty box puts "0" back
            QCOMPARE(fee->text(), QString("0"));
            typeText(box(d, "Edit1"), "Kísérleti");
            d.findChild<QPushButton *>("Button2")->click();
        });
        QCOMPARE(db->scalar("SELECT mDij FROM muvag WHERE mMuvag = 'Kísérleti'"), QString("0"));
    }

    void pastingLettersIntoTheFeeBoxChangesNothing()
    {
        edit<TForm5>(false, [](QDialog &d) {
            QLineEdit *fee = box(d, "Edit3");
            QVERIFY(activate(&d));
            fee->setFocus();
            fee->selectAll();
            QApplication::clipboard()->setText("12 Ft");
            fee->paste();
            QCOMPARE(fee->text(), QString("0"));
            QApplication::clipboard()->setText("2,5");
            fee->paste();
            QCOMPARE(fee->text(), QString("2,5"));
        });
    }

    void enterMovesFocusInTheBranchEditorOnly()
    {
        edit<TForm5>(false, [](QDialog &d) {
            QVERIFY(activate(&d));
            box(d, "Edit1")->setFocus();
            QTest::keyClick(box(d, "Edit1"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box(d, "Edit2")));
            QTest::keyClick(box(d, "Edit2"), Qt::Key_Return, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box(d, "Edit1")));
        });
        edit<TForm7>(false, [](QDialog &d) {
            QVERIFY(activate(&d));
            box(d, "Edit1")->setFocus();
            QTest::keyClick(box(d, "Edit1"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(box(d, "Edit1")));
        });
    }

    void feeThatIsNotANumberFailsTheInsertAndClosesTheWindow()
    {
        bool closed = false;
        edit<TForm5>(false, [&](QDialog &d) {
            typeText(box(d, "Edit1"), "Rossz díj");
            box(d, "Edit3")->setText("1,2,3");
            d.findChild<QPushButton *>("Button2")->click();
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(driver->texts(), QStringList{"Hiba: Újban, INSERT-append a muvag-ban "});
        QCOMPARE(db->scalar("SELECT count(*) FROM muvag WHERE mMuvag = 'Rossz díj'"), QString("0"));
        QCOMPARE(Data().ZQ50->rowCount(), 10); // the list was re-read
    }

    void feeThatIsNotANumberFailsTheChange()
    {
        edit<TForm5>(true, [&](QDialog &d) {
            box(d, "Edit3")->setText("1,2,3");
            d.findChild<QPushButton *>("Button2")->click();
        });
        QCOMPARE(driver->texts(), QStringList{"Hiba: Módisitás, REPLACE-edit a muvag-ban "});
        QCOMPARE(db->scalar("SELECT mDij FROM muvag WHERE mKod = '8'"), QString("0"));
    }

    void textTheDatabaseCannotHoldIsRefused()
    {
        edit<TForm9>(false, [](QDialog &d) {
            box(d, "Edit1")->setText(QString::fromUtf8("közös \u2603"));
            d.findChild<QPushButton *>("Button2")->click();
        });
        // The application object reports the refusal itself.
        QCOMPARE(driver->texts().size(), 2);
        QVERIFY(driver->texts()[0].contains(QString::fromUtf8("\u2603")));
        QCOMPARE(driver->texts()[1], QString("Hiba: Újban, INSERT-append a tforma-ban "));
        QCOMPARE(db->scalar("SELECT count(*) FROM tforma"), QString("6"));
    }

    void boxesTakeNoMoreThanTheColumnWidth()
    {
        edit<TForm7>(false, [](QDialog &d) {
            typeText(box(d, "Edit1"), QString(60, 'x'));
            QCOMPARE(box(d, "Edit1")->text().size(), 45);
            d.findChild<QPushButton *>("Button2")->click();
        });
        QVERIFY(driver->boxes.isEmpty());
        QCOMPARE(db->scalar("SELECT length(vHelyseg) FROM varos"), QString("45"));
    }

    void cancelStoresNothing()
    {
        edit<TForm9>(false, [](QDialog &) {});
        edit<TForm9>(false, [](QDialog &d) {
            typeText(box(d, "Edit1"), "bérelt");
            d.findChild<QPushButton *>("Button4")->click();
        });
        QCOMPARE(db->scalar("SELECT count(*) FROM tforma"), QString("6"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestCodeTableEdits t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_codetable_edits.moc"
