// Every list window finds the row saved last by its whole code, not by the code's first
// characters: after changing code 2 among codes 1 to 25 whose names put 21 first, the list stands
// on 2 (a pick list hands over its current row, so a prefix would give an item another branch's
// fee, or a contract another owner).

#include "codetables/codetables.h"
#include "forms/editwindow.h"
#include "forms/listwindow.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "owners/owners.h"
#include "parcels/parcels.h"
#include "support/testdb.h"
#include "support/uidriver.h"

#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

namespace {

struct Register
{
    const char *name;
    QString table, codeField;
    // The rows: code k named so that 21 sorts first; `name(k)` gives the name text.
    std::function<QString(int k, const QString &name)> row;
    QString columns;
    std::function<ListWindow *()> open;
};

QString nameOf(int k)
{
    return k == 21 ? QStringLiteral("A 21") : QStringLiteral("B %1").arg(k, 2, 10, QLatin1Char('0'));
}

QList<Register> registers()
{
    return {
        {"cultivation branches", "muvag", "mKod",
         [](int k, const QString &n) { return QString("('%1', '%2', 'I.', 100)").arg(k).arg(n); },
         "mKod, mMuvag, mMino, mDij", [] { return new TForm5; }},
        {"towns", "varos", "vKod",
         [](int k, const QString &n) { return QString("('%1', '%2')").arg(k).arg(n); }, "vKod, vHelyseg",
         [] { return new TForm7; }},
        {"ownership forms", "tforma", "uKod",
         [](int k, const QString &n) { return QString("('%1', '%2')").arg(k).arg(n); }, "uKod, uTulforma",
         [] { return new TForm9; }},
        {"locations", "fekves", "fKod",
         [](int k, const QString &n) { return QString("('%1', '%2')").arg(k).arg(n); }, "fKod, fFekves",
         [] { return new TForm11; }},
        {"owners", "tulaj", "nKod",
         [](int k, const QString &n) { return QString("('%1', '%2', '1950-01-01')").arg(k).arg(n); },
         "nKod, nNev, nSzido", [] { return new TForm3; }},
        {"parcels", "tabla", "tKod",
         [](int k, const QString &n) {
             return QString("('%1', '%2', '1', 10, 1, '1', '1', '1')").arg(k).arg(n);
         },
         "tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod", [] { return new TForm13; }},
    };
}

} // namespace

class TestListPositioning : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void changingCodeTwoLeavesTheListOnCodeTwo_data()
    {
        QTest::addColumn<int>("index");
        const auto regs = registers();
        for (int i = 0; i < regs.size(); ++i)
            QTest::newRow(regs[i].name) << i;
    }
    void changingCodeTwoLeavesTheListOnCodeTwo()
    {
        QFETCH(int, index);
        const Register r = registers().at(index);
        TestDb db(true);
        // The parcels' code names must exist for their edit window to save.
        db.exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac')");
        db.exec("DELETE FROM " + r.table);
        QStringList values;
        for (int k = 1; k <= 25; ++k)
            values << r.row(k, nameOf(k));
        db.exec(QString("INSERT INTO %1 (%2) VALUES %3").arg(r.table, r.columns, values.join(", ")));
        if (r.table == "muvag")
            db.exec("INSERT INTO muvag (mKod, mMuvag, mMino, mDij) VALUES ('26', 'szántó', 'I.', 100)");
        db.data();
        UiDriver driver;

        std::unique_ptr<ListWindow> list(r.open());
        list->show();
        Query *q = list->spec().list;
        QCOMPARE(q->fieldText(r.codeField), QString("21")); // the name order puts 21 first
        QVERIFY(q->locateCode(r.codeField, "2"));
        bool saved = false;
        driver.onModal([&](QDialog &d) {
            auto *e = qobject_cast<EditWindow *>(&d);
            QVERIFY(e);
            e->okButton()->click();
            saved = !e->isVisible();
        });
        list->Button3->click();
        QVERIFY2(saved, qPrintable(driver.texts().join('|')));
        QCOMPARE(q->fieldText(r.codeField), QString("2"));
        list.reset();

        // Opened again, the list stands on the row saved last.
        std::unique_ptr<ListWindow> again(r.open());
        again->show();
        QCOMPARE(again->spec().list->fieldText(r.codeField), QString("2"));
        // The search still goes by the first letters: "B 0" lands on the first of B 01 ... B 09.
        again->search("B 0");
        QCOMPARE(again->spec().list->fieldText(r.codeField), QString("1"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestListPositioning t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_list_positioning.moc"
