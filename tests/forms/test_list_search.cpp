// The search box of a list window: one key behind, as always, but a key press reads the list again
// only when something may have changed since it was read (a sort, a save, a delete, any statement
// of the program that writes); otherwise it only locates in the rows it holds.

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

namespace {
const char *kOwners = R"(
INSERT INTO tulaj (nKod, nNev, nSzido) VALUES
  ('1', 'Nagy Ödön', '1950-01-01'), ('2', 'Kovács Éva', '1951-02-02'), ('3', 'Antal Béla', '1952-03-03'),
  ('4', 'Kiss Anna', '1953-04-04'), ('5', 'Őry Lőrinc', '1954-05-05');
)";
const QString kByName = QStringLiteral("A lista, \"Név\" szerint");
} // namespace

class TestListSearch : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void keysReadTheListAgainOnlyWhenItMayHaveChanged()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        Connection *c = Data().ZCon1;
        auto name = [&] { return Data().ZQ30->fieldText("nNev"); };
        auto sent = [&] { return c->statementsSent(); };

        const quint64 shown = sent();
        wt::type(w.Edit1, "K"); // searches "" in the rows already read
        QCOMPARE(sent(), shown);
        QCOMPARE(name(), QString("Antal Béla"));
        QCOMPARE(w.Label18->text(), kByName);
        wt::type(w.Edit1, "o"); // searches "K"
        QCOMPARE(sent(), shown);
        QCOMPARE(name(), QString("Kiss Anna"));

        // A sort reads the list in another order; the next key reads it again in name order.
        wt::clickTitle(w.DBGrid1, 0);
        QCOMPARE(w.Label18->text(), QString("A lista, \"Kód\" szerint"));
        QCOMPARE(sent(), shown + 1);
        wt::type(w.Edit1, "v"); // searches "Ko"
        QCOMPARE(sent(), shown + 2);
        QCOMPARE(name(), QString("Kovács Éva"));
        QCOMPARE(w.Label18->text(), kByName);
        wt::type(w.Edit1, "á"); // searches "Kov", in the same rows
        QCOMPARE(sent(), shown + 2);
        QCOMPARE(name(), QString("Kovács Éva"));

        // A statement of the program that writes (here: another window's) makes the next key read
        // the list again, and it sees the change.
        Data().ZQ32->setSql({"UPDATE tulaj SET nNev = 'Kovásznai Péter' WHERE nKod = '1'"});
        Data().ZQ32->execSql();
        const quint64 written = sent();
        w.Edit1->clear();
        wt::type(w.Edit1, "Kovász"); // the last key searches "Kovás"
        QVERIFY(sent() > written);
        QCOMPARE(name(), QString("Kovásznai Péter"));

        // "Keres" always reads the list again.
        const quint64 before = sent();
        w.Button6->click();
        QCOMPARE(sent(), before + 1);
        QCOMPARE(name(), QString("Kovásznai Péter"));
    }

    void afterADeleteTheNextKeySeesTheListWithoutTheRow()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "Kiss Anna"));
        w.Button4->click();
        QCOMPARE(driver.texts(), QStringList{"A név törlölve!"});
        wt::type(w.Edit1, "Ki");
        QCOMPARE(Data().ZQ30->rowCount(), 4);
        QCOMPARE(Data().ZQ30->fieldText("nNev"), QString("Kovács Éva")); // "K": Kiss is gone
        QCOMPARE(w.Label18->text(), kByName);
    }

    void afterASaveTheNextKeyFindsTheSavedName()
    {
        TestDb db(true);
        db.exec(kOwners);
        db.data();
        UiDriver driver;
        TForm3 w;
        QVERIFY(wt::showActive(w));
        wt::clickRow(w.DBGrid1, wt::rowOf(w.DBGrid1, "Nagy Ödön"));
        driver.onModal([](QDialog &d) {
            auto *name = d.findChild<QLineEdit *>("Edit1");
            name->clear();
            typeText(name, "Antalffy Győző");
            d.findChild<QPushButton *>("Button2")->click();
        });
        w.Button3->click();
        QVERIFY(driver.boxes.isEmpty());
        wt::type(w.Edit1, "Antalf"); // searches "Antal": Antal Béla first
        QCOMPARE(Data().ZQ30->fieldText("nNev"), QString("Antal Béla"));
        wt::type(w.Edit1, "f"); // "Antalf"
        QCOMPARE(Data().ZQ30->fieldText("nNev"), QString("Antalffy Győző"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestListSearch t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_list_search.moc"
