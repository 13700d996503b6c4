// How the program's everyday steps grow with the register, each set against what the database
// itself costs for the same answer, measured side by side in one run:
//   startup            start-up to the main window (time, resident memory); run once on an empty
//                      database and once on the register, in two processes (bench/run-scale.sh)
//   lists              each list window opened vs the raw fetch of its list statement through the
//                      client library (time, and heap held by the open list vs by the raw result)
//   search             key presses in the payment list's search box (median) vs its opening
//   store              a new owner stored through its edit window vs the same INSERT sent here
// Run through bench/run-scale.sh, which provides the databases.

#include "app/registry.h"
#include "app/tform1.h"
#include "bench/benchutil.h"
#include "forms/editwindow.h"
#include "forms/listwindow.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "owners/owners.h"
#include "payments/payments.h"
#include "support/uidriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <mysql.h>

using bench::Stats;

namespace {

// The raw fetch: the statement sent and its result stored by the client library, nothing else.
struct RawFetch
{
    double ms = 0;
    long long heap = 0;
    long long rows = 0;
};

RawFetch rawFetch(const ConnectionSettings &s, const QByteArray &statement)
{
    MYSQL *h = bench::rawConnect(s);
    RawFetch f;
    const long long before = bench::heapInUse();
    QElapsedTimer t;
    t.start();
    if (mysql_real_query(h, statement.constData(), statement.size()) != 0) {
        std::fprintf(stderr, "%s\n", mysql_error(h));
        std::exit(1);
    }
    MYSQL_RES *r = mysql_store_result(h);
    f.ms = t.nsecsElapsed() / 1e6;
    f.heap = bench::heapInUse() - before;
    f.rows = (long long)mysql_num_rows(r);
    mysql_free_result(r);
    mysql_close(h);
    return f;
}

struct ListCase
{
    const char *name;
    const char *window;
    QString statement; // the list statement its window opens with
};

void lists(const QList<ListCase> &cases, int repeat)
{
    std::printf("\n%-12s %8s %10s %10s %7s %10s %10s %7s\n", "list", "rows", "raw ms", "window ms", "ratio",
                "raw MiB", "list MiB", "ratio");
    for (const ListCase &c : cases) {
        if (!windows::isRegistered(c.window))
            continue;
        Stats raw, open, rawHeap, listHeap;
        long long rows = 0;
        for (int i = 0; i < repeat; ++i) {
            const RawFetch f = rawFetch(Data().ZCon1->settings(), c.statement.toUtf8());
            raw.add(f.ms);
            rawHeap.add(f.heap / 1048576.0);
            rows = f.rows;
            // The list query of the window starts closed, as on a first opening.
            Data().query(QString::fromLatin1(c.name))->close();
            const long long before = bench::heapInUse();
            QElapsedTimer t;
            t.start();
            std::unique_ptr<QDialog> w(windows::create(c.window, nullptr));
            w->show();
            QCoreApplication::processEvents();
            open.add(t.nsecsElapsed() / 1e6);
            listHeap.add((bench::heapInUse() - before) / 1048576.0);
        }
        std::printf("%-12s %8lld %10.1f %10.1f %7.2f %10.1f %10.1f %7.2f\n", c.window, rows, raw.median(),
                    open.median(), open.median() / raw.median(), rawHeap.median(), listHeap.median(),
                    listHeap.median() / rawHeap.median());
    }
}

void search(int keys)
{
    if (!windows::isRegistered("TForm20"))
        return;
    Data().ZQ90->close();
    QElapsedTimer t;
    t.start();
    std::unique_ptr<QDialog> w(windows::create("TForm20", nullptr));
    w->show();
    QCoreApplication::processEvents();
    const double openMs = t.nsecsElapsed() / 1e6;
    auto *box = w->findChild<QLineEdit *>("Edit1");
    Stats press;
    // Voucher numbers typed and rubbed out again, as a clerk looks for several payments.
    const QString typed = QStringLiteral("19999");
    for (int k = 0; k < keys; ++k) {
        const int i = k % (2 * typed.size());
        t.restart();
        if (i < typed.size())
            QTest::keyClick(box, typed[i].toLatin1());
        else
            QTest::keyClick(box, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        press.add(t.nsecsElapsed() / 1e6);
    }
    std::printf("\nsearch key in the payment list: median %.2f ms, max %.2f ms over %d keys; list opening "
                "%.1f ms; median / opening %.3f\n",
                press.median(), press.max(), keys, openMs, press.median() / openMs);
}

// A row stored through its edit window (new mode), set against the benchmark's own START
// TRANSACTION, INSERT and COMMIT of the same kind of row, interleaved so that both meet the server
// in the same state.
struct StoreCase
{
    const char *what;
    QString *mode;
    QString newMode;
    std::function<EditWindow *()> open;
    std::function<void(EditWindow &, int)> fill;
    std::function<QByteArray(int)> insert;
    QByteArray cleanUp;
};

void store(const StoreCase &c, int repeat)
{
    MYSQL *h = bench::rawConnect(Data().ZCon1->settings());
    UiDriver driver;
    Connection *con = Data().ZCon1;
    Stats raw, ok, stored, reread;
    for (int i = 0; i < repeat; ++i) {
        *c.mode = c.newMode;
        std::unique_ptr<EditWindow> w(c.open());
        w->show();
        c.fill(*w, i);
        // Stored: from the click to the answer of its COMMIT (the checks, the new code, the
        // transaction); the list re-read that every save ends with is timed on its own.
        QElapsedTimer t;
        double committed = 0;
        con->afterStatement = [&](const QByteArray &statement) {
            if (statement == "COMMIT")
                committed = t.nsecsElapsed() / 1e6;
        };
        t.start();
        w->okButton()->click();
        ok.add(t.nsecsElapsed() / 1e6);
        stored.add(committed);
        con->afterStatement = nullptr;
        reread.add(ok.last() - committed);

        t.restart();
        bench::rawExec(h, "START TRANSACTION");
        bench::rawExec(h, c.insert(i));
        bench::rawExec(h, "COMMIT");
        raw.add(t.nsecsElapsed() / 1e6);
    }
    bench::rawExec(h, c.cleanUp);
    mysql_close(h);
    if (!driver.boxes.isEmpty())
        std::printf("boxes: %s\n", qPrintable(driver.texts().join(QLatin1Char('|'))));
    std::printf("\nnew %s: OK click %.1f ms = stored %.2f ms + list re-read and close %.1f ms; raw "
                "START/INSERT/COMMIT %.2f ms; stored / raw %.2f\n",
                c.what, ok.median(), stored.median(), reread.median(), raw.median(),
                stored.median() / raw.median());
}

void stores(int repeat)
{
    store({"owner", &mv().tulajEditMode, QStringLiteral("Új tulajdonos"), [] { return new TForm4; },
           [](EditWindow &w, int i) {
               w.box("Edit1")->setText(QStringLiteral("Mérő Ödön %1").arg(i));
               w.box("Edit4")->setText(QStringLiteral("1960.01.01"));
           },
           [](int i) {
               return QStringLiteral("INSERT INTO tulaj ( nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, "
                                     "nLnev, nAdoazon, nSzla, nSzemszam ) VALUES ('B%1', 'Mérő Ödön', "
                                     "'1960-01-01', '', '', '', '', '', '', '', '')")
                   .arg(i)
                   .toUtf8();
           },
           "DELETE FROM tulaj WHERE nKod LIKE 'B%' OR nNev LIKE 'Mérő Ödön%'"},
          repeat);
    store({"payment", &mv().kifizEditMode, QStringLiteral("Új kifizetés"), [] { return new TForm19; },
           [](EditWindow &w, int i) {
               w.box("Edit1")->setText(QStringLiteral("Mérés %1").arg(i));
               w.box("Edit5")->setText(QStringLiteral("1000"));
               w.box("Edit10")->setText(QStringLiteral("1"));
           },
           [](int i) {
               return QStringLiteral(
                          "INSERT INTO kifiz (  KKod, KNkod, Kmegnev, Kmenny, Kme, Kear, KFt, kDatum ) "
                          "VALUES ('B%1', '1', 'Mérés', 0, '', 0, 1000, '2026-12-10')")
                   .arg(i)
                   .toUtf8();
           },
           "DELETE FROM kifiz WHERE kKod LIKE 'B%' OR kMegnev LIKE 'Mérés%'"},
          repeat);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("all");
    Application app(argc, argv);
    windows::registerAll();

    if (what == QLatin1String("startup")) {
        // Start-up as the program does it: the main window's creation connects and proves the tables.
        const long rssBefore = bench::residentKb();
        QElapsedTimer t;
        t.start();
        TForm1 form;
        if (!form.startedUp())
            return 1;
        form.show();
        QTest::qWaitForWindowExposed(&form);
        std::printf("startup %.1f ms, resident %ld KiB (before %ld KiB)\n", t.nsecsElapsed() / 1e6,
                    bench::residentKb(), rssBefore);
        return 0;
    }

    TData *data = new TData();
    setData(data);
    data->reopenTableViews();
    UiDriver driver;
    const QList<ListCase> cases{
        {"ZQ30", "TForm3", QStringLiteral("SELECT * FROM tulaj \n         ORDER BY nNev ")},
        {"ZQ40", "TForm13", QStringLiteral("SELECT * FROM tabla \n         ORDER BY tHrsz ")},
        {"ZQ10", "TForm15", QStringLiteral("SELECT * FROM haszn \n         ORDER BY hSzam ")},
        {"ZQ90", "TForm20", QStringLiteral("SELECT * FROM kifiz \n         ORDER BY kKod ")},
    };
    if (what == QLatin1String("all") || what == QLatin1String("lists"))
        lists(cases, 5);
    if (what == QLatin1String("all") || what == QLatin1String("search"))
        search(40);
    if (what == QLatin1String("all") || what == QLatin1String("store"))
        stores(15);
    setData(nullptr);
    delete data;
    return 0;
}
