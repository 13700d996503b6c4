// The consistency checks and the owner purge on a generated register, each against one set-based
// statement (NOT EXISTS) that the benchmark sends itself for the same answer, measured side by side:
//   clean     the register as generated (every reference points somewhere)
//   broken    about one row in a hundred of every kind made to point to a missing row of its own
//   tied      besides, a few rows of every kind pointing to the same missing row (their order
//             among themselves is the server's sort's: the check walks the outer statement)
//   per row   for contrast, check 1 walked with one lookup statement per item, as a plain reading
//             of the check would do it (once)
//   purge     owners named by nothing added (one in fifty), purged, and put back between runs
// Run through bench/run-maintenance.sh, which provides the databases.

#include "bench/benchutil.h"
#include "foundation/application.h"
#include "foundation/query.h"
#include "foundation/tdata.h"
#include "maintenance/maintenance.h"

#include <cstdio>

using bench::Stats;

namespace {

// The same answer as check `i`, as one statement: the lines' columns of the rows that point
// nowhere, in the check's order.
QByteArray setBased(int i)
{
    static const char *statements[] = {
        "SELECT akod, aTkod FROM alresz WHERE NOT EXISTS (SELECT 1 FROM tabla WHERE tKod = alresz.aTkod) "
        "ORDER BY aTkod",
        "SELECT Hkod, HNkod FROM haszn WHERE NOT EXISTS (SELECT 1 FROM tulaj WHERE nKod = haszn.hNkod) "
        "ORDER BY HNkod",
        "SELECT akod, aMkod FROM alresz WHERE NOT EXISTS (SELECT 1 FROM muvag WHERE mKod = alresz.aMkod) "
        "ORDER BY aMkod",
        "SELECT Tkod, tVkod FROM tabla WHERE NOT EXISTS (SELECT 1 FROM varos WHERE vKod = tabla.tVkod) "
        "ORDER BY tVkod",
        "SELECT tkod, tUKod FROM tabla WHERE NOT EXISTS (SELECT 1 FROM tforma WHERE uKod = tabla.tUkod) "
        "ORDER BY tUkod",
        "SELECT Hkod FROM haszn WHERE NOT EXISTS (SELECT 1 FROM alresz WHERE aHkod = haszn.hKod) ORDER BY "
        "Hkod",
        "SELECT Akod, aHkod FROM alresz WHERE NOT EXISTS (SELECT 1 FROM haszn WHERE hKod = alresz.aHkod) "
        "ORDER BY Akod",
    };
    return statements[i];
}

double timeRaw(MYSQL *h, const QByteArray &statement, my_ulonglong *rows = nullptr)
{
    QElapsedTimer t;
    t.start();
    if (mysql_real_query(h, statement.constData(), statement.size()) != 0) {
        std::fprintf(stderr, "%s: %s\n", statement.constData(), mysql_error(h));
        std::exit(1);
    }
    if (MYSQL_RES *r = mysql_store_result(h)) {
        if (rows)
            *rows = mysql_num_rows(r);
        mysql_free_result(r);
    } else if (rows) {
        *rows = mysql_affected_rows(h);
    }
    return t.nsecsElapsed() / 1e6;
}

void checks(MYSQL *h, const char *scenario, int repeat)
{
    for (int i = 0; i < 7; ++i) {
        Stats program, raw;
        qsizetype lines = 0;
        my_ulonglong rows = 0;
        for (int r = 0; r < repeat; ++r) {
            QElapsedTimer t;
            t.start();
            lines = maintenance::runCheck(Data(), i).size();
            program.add(t.nsecsElapsed() / 1e6);
            raw.add(timeRaw(h, setBased(i), &rows));
        }
        if (my_ulonglong(lines) != rows)
            std::printf("  !! check %d gave %lld lines, the statement %llu rows\n", i + 1, qlonglong(lines),
                        rows);
        std::printf(
            "%-7s check %d %-18s %6lld lines  program %8.1f ms   one NOT EXISTS %8.1f ms   ratio %.2f\n",
            scenario, i + 1, qPrintable(maintenance::checks()[i].caption), qlonglong(lines), program.median(),
            raw.median(), program.median() / raw.median());
    }
}

// Check 1 as one lookup per item (the statement of a plain reading of the check).
void perRow()
{
    QElapsedTimer t;
    t.start();
    Query outer(Data().ZCon1, QStringLiteral("outer"));
    Query lookup(Data().ZCon1, QStringLiteral("lookup"));
    outer.setSql(
        {QStringLiteral("SELECT * "), QStringLiteral("  FROM alresz "), QStringLiteral("  ORDER BY aTkod ")});
    outer.open();
    int lines = 0, statements = 1;
    for (outer.first(); !outer.eof(); outer.next()) {
        lookup.setSql({QStringLiteral("SELECT *, count(TKod) as VAN "), QStringLiteral("  FROM Tabla "),
                       QStringLiteral("  WHERE Tkod = :p0 "), QStringLiteral("  GROUP BY Tkod ")});
        lookup.setText(QStringLiteral("p0"), outer.fieldText(QStringLiteral("aTkod")));
        lookup.open();
        ++statements;
        if (lookup.eof() || lookup.fieldText(QStringLiteral("VAN")).toInt() == 0)
            ++lines;
    }
    std::printf("per row check 1: %d statements, %d lines, %.1f ms\n", statements, lines,
                t.nsecsElapsed() / 1e6);
}

void purge(MYSQL *h, int repeat)
{
    my_ulonglong total = 0;
    timeRaw(h, "SELECT IDn FROM tulaj", &total);
    const int added = int(total / 50);
    QStringList values;
    for (int i = 0; i < added; ++i)
        values << QStringLiteral("('U%1', 'Senki %1')").arg(i);
    const QByteArray insert =
        "INSERT INTO tulaj (nKod, nNev) VALUES " + values.join(QLatin1Char(',')).toUtf8();
    const QByteArray reference =
        "DELETE FROM tulaj WHERE NOT EXISTS (SELECT 1 FROM haszn WHERE hNkod = tulaj.nKod) "
        "AND NOT EXISTS (SELECT 1 FROM kifiz WHERE kNkod = tulaj.nKod)";
    // Whatever the register had unused goes first, so that each run finds exactly the added ones.
    timeRaw(h, reference);
    Stats program, raw;
    qsizetype lines = 0;
    my_ulonglong deleted = 0;
    for (int r = 0; r < repeat; ++r) {
        timeRaw(h, insert);
        QElapsedTimer t;
        t.start();
        lines = maintenance::purgeOwners(Data()).size();
        program.add(t.nsecsElapsed() / 1e6);
        timeRaw(h, insert);
        raw.add(timeRaw(h, reference, &deleted));
    }
    std::printf(
        "purge of %lld among %llu owners  program %8.1f ms   one DELETE … NOT EXISTS %8.1f ms (%llu rows)   "
        "ratio %.2f\n",
        qlonglong(lines), total + added, program.median(), raw.median(), deleted,
        program.median() / raw.median());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    TData *data = new TData();
    setData(data);
    const int repeat = argc > 1 ? atoi(argv[1]) : 3;
    MYSQL *h = bench::rawConnect(data->ZCon1->settings());
    checks(h, "clean", repeat);
    // About one in a hundred of each kind of reference made to point nowhere, each row to a
    // missing row of its own.
    for (const char *breakIt : {"UPDATE alresz SET aTkod = CONCAT('X', IDa % 10000) WHERE IDa % 97 = 0",
                                "UPDATE haszn SET hNkod = CONCAT('X', IDh % 10000) WHERE IDh % 89 = 0",
                                "UPDATE alresz SET aMkod = CONCAT('X', IDa % 10000) WHERE IDa % 101 = 0",
                                "UPDATE tabla SET tVkod = CONCAT('X', IDt % 10000) WHERE IDt % 83 = 0",
                                "UPDATE tabla SET tUkod = CONCAT('X', IDt % 10000) WHERE IDt % 79 = 0",
                                "UPDATE alresz SET aHkod = CONCAT('X', IDa % 10000) WHERE IDa % 103 = 0"})
        bench::rawExec(h, breakIt);
    checks(h, "broken", repeat);
    // And besides, a few rows of every kind that point to the same missing row.
    for (const char *breakIt : {"UPDATE alresz SET aTkod = 'Y' WHERE IDa % 997 = 0",
                                "UPDATE haszn SET hNkod = 'Y' WHERE IDh % 991 = 0",
                                "UPDATE alresz SET aMkod = 'Y' WHERE IDa % 983 = 0",
                                "UPDATE tabla SET tVkod = 'Y' WHERE IDt % 977 = 0",
                                "UPDATE tabla SET tUkod = 'Y' WHERE IDt % 971 = 0"})
        bench::rawExec(h, breakIt);
    checks(h, "tied", repeat);
    perRow();
    purge(h, repeat);
    mysql_close(h);
    setData(nullptr);
    delete data;
    return 0;
}
