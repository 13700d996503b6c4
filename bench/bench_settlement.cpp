// The rent settlement on a generated register, each step against what the database itself costs
// for it, measured side by side in one run:
//   open      the group posting window and the payment register shown, against the same rebuild
//             and balance statements replayed by the benchmark through the client library
//   posting   "Feladás" for every owner, against the same number of START/INSERT/COMMIT sent here
//   count     the banknote count of the whole register (per owner: linear when it stays flat)
// Run through bench/run-settlement.sh, which provides the databases.

#include "app/registry.h"
#include "bench/benchutil.h"
#include "foundation/application.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "settlement/windows.h"
#include "support/uidriver.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>
#include <memory>

using bench::Stats;

namespace {

// Shows a settlement window and returns the time until its show step is done; `sent` receives the
// statements it sent.
double openWindow(const char *cls, QList<QByteArray> *sent, std::unique_ptr<QDialog> *keep = nullptr)
{
    Connection *c = Data().ZCon1;
    c->beforeStatement = [sent](const QByteArray &s) {
        if (sent)
            sent->append(s);
    };
    QElapsedTimer t;
    t.start();
    std::unique_ptr<QDialog> w(windows::create(QString::fromLatin1(cls), nullptr));
    w->show();
    QCoreApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    c->beforeStatement = nullptr;
    if (keep)
        *keep = std::move(w);
    return ms;
}

double replay(MYSQL *h, const QList<QByteArray> &statements)
{
    QElapsedTimer t;
    t.start();
    for (const QByteArray &s : statements)
        bench::rawExec(h, s);
    return t.nsecsElapsed() / 1e6;
}

void open(const char *cls, const char *what, int repeat)
{
    MYSQL *h = bench::rawConnect(Data().ZCon1->settings());
    Stats window, raw;
    for (int i = 0; i < repeat; ++i) {
        QList<QByteArray> sent;
        window.add(openWindow(cls, &sent));
        raw.add(replay(h, sent));
    }
    mysql_close(h);
    std::printf("%-22s window %8.1f ms   its statements replayed %8.1f ms   ratio %.2f\n", what,
                window.median(), raw.median(), window.median() / raw.median());
}

void posting()
{
    UiDriver driver;
    std::unique_ptr<QDialog> w;
    openWindow("TForm21", nullptr, &w);
    auto *posting = static_cast<TForm21 *>(w.get());
    posting->Button8->click(); // every owner
    const int owners = posting->CheckListBox1->count();
    QElapsedTimer t;
    t.start();
    posting->Button6->click();
    const double postMs = t.nsecsElapsed() / 1e6;
    w.reset();

    // The same number of rows, one transaction each, sent by the benchmark.
    MYSQL *h = bench::rawConnect(Data().ZCon1->settings());
    t.restart();
    for (int i = 0; i < owners; ++i) {
        bench::rawExec(h, "START TRANSACTION");
        bench::rawExec(
            h, QStringLiteral("INSERT INTO kifiz (  KKod, KNkod, Kmegnev, Kmenny, Kme, Kear, KFt, kDatum, "
                              "kFeladas ) VALUES ('B%1', '%2', 'Bérleti dij (csoportos feladás)', 0, '', 0, "
                              "1234.5, '2026-12-10', 'y')")
                   .arg(i)
                   .arg(i % 5000 + 1)
                   .toUtf8());
        bench::rawExec(h, "COMMIT");
    }
    const double rawMs = t.nsecsElapsed() / 1e6;
    bench::rawExec(h, "DELETE FROM kifiz WHERE kFeladas IN ('x', 'y')");
    mysql_close(h);
    std::printf(
        "posting %d owners      window %8.1f ms   as many START/INSERT/COMMIT %8.1f ms   ratio %.2f\n",
        owners, postMs, rawMs, postMs / rawMs);
}

void count(int repeat)
{
    UiDriver driver;
    std::unique_ptr<QDialog> w;
    openWindow("TForm22", nullptr, &w);
    const int owners = Data().ZQ110->rowCount();
    Stats ms;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer t;
        t.start();
        settlement::prepareRegisterPrint();
        ms.add(t.nsecsElapsed() / 1e6);
    }
    std::printf("register print data     %8.1f ms for %d owners: %.2f µs per owner\n", ms.median(), owners,
                ms.median() * 1000.0 / owners);
}

// Every owner's certificate (or land-use sheet): ticked all, their rows read as the print reads
// them, then laid out and written to PDF (what "Nyomtat" does before the preview); set against the
// raw fetch of every detail row the print read (its statements replayed).
void prints(const char *cls, const char *what, const char *templ, void (*prepare)(TData &))
{
    UiDriver driver;
    std::unique_ptr<QDialog> w;
    openWindow(cls, nullptr, &w);
    auto *window = static_cast<OwnerPrintWindow *>(w.get());
    window->Button8->click();
    const int owners = window->CheckListBox1->count();
    TData &d = Data();
    QString message;
    if (!settlement::markSelectedOwners(d, *d.ZQ110, window->ticks(), &message)) {
        std::printf("%s\n", qPrintable(message));
        return;
    }
    QList<QByteArray> reads;
    d.ZCon1->beforeStatement = [&reads](const QByteArray &s) { reads.append(s); };
    prepare(d);
    d.ZCon1->beforeStatement = nullptr;
    d.frNyomtat.load(QString::fromLatin1(templ));
    QElapsedTimer t;
    t.start();
    const report::Document doc = d.frNyomtat.build(d, d.variables);
    const double layoutMs = t.nsecsElapsed() / 1e6;
    t.restart();
    report::writePdf(doc, QDir::temp().filePath(QStringLiteral("bench_%1.pdf").arg(QLatin1String(cls))));
    const double pdfMs = t.nsecsElapsed() / 1e6;
    w.reset();
    MYSQL *h = bench::rawConnect(d.ZCon1->settings());
    const double rawMs = replay(h, reads);
    mysql_close(h);
    std::printf(
        "%-16s %d owners, %d pages: layout %.1f ms + PDF %.1f ms; their detail rows fetched raw %.1f ms "
        "(%lld statements); ratio %.2f\n",
        what, owners, doc.pageCount(), layoutMs, pdfMs, rawMs, qlonglong(reads.size()),
        (layoutMs + pdfMs) / rawMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    windows::registerAll();
    TData *data = new TData();
    setData(data);
    data->reopenTableViews();
    UiDriver driver;
    const int repeat = argc > 1 ? atoi(argv[1]) : 3;
    open("TForm21", "group posting opened", repeat);
    open("TForm22", "payment register opened", repeat);
    count(repeat);
    prints("TForm24", "certificates", "igazolas.frf", settlement::prepareCertificatePrint);
    prints("TForm30", "land-use sheets", "foldhasznalat.frf", settlement::prepareLandUsePrint);
    posting();
    setData(nullptr);
    delete data;
    return 0;
}
