// Report over the database: 50 000 owners fetched by the client library, then laid out (about
// 1000 A4 pages) and written to PDF through the data module, as a print does. Prints the time of
// the bare fetch, of the fetch with every cell read as text, of the layout and of the PDF, and the
// peak resident memory. Run through bench/run-db-report.sh, which provides the database.

#include "foundation/tdata.h"
#include "reports/engine/report.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

namespace {

long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine())
        if (line.startsWith(QLatin1String("VmHWM:")))
            return line.mid(6).trimmed().split(QLatin1Char(' ')).value(0).toLong();
    return -1;
}

const char *kTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<report name="Tulajdonosok" page="A4" orientation="portrait" fontFamily="DejaVu Sans" fontSize="9">
  <margins left="15" top="12" right="12" bottom="10"/>
  <pageHeader height="12">
    <text x="0" y="0" width="120" height="5" bold="true" size="10">[ZTable8.BNeve]</text>
    <text x="120" y="0" width="63" height="5" align="right">Nyomtatva: [DATE] [TIME]</text>
    <text x="0" y="5" width="183" height="5" size="12" bold="true" align="center">Tulajdonosok</text>
  </pageHeader>
  <columnHeader height="6">
    <rect x="0" y="0.5" width="183" height="5" lineWidth="0.2" fill="#eeeeee"/>
    <text x="0" y="0.5" width="15" height="5" bold="true" valign="center">Kód</text>
    <text x="15" y="0.5" width="55" height="5" bold="true" valign="center">Név</text>
    <text x="70" y="0.5" width="12" height="5" bold="true" valign="center">Ir.sz.</text>
    <text x="82" y="0.5" width="38" height="5" bold="true" valign="center">Helység</text>
    <text x="120" y="0.5" width="43" height="5" bold="true" valign="center">Utca</text>
    <text x="163" y="0.5" width="20" height="5" bold="true" align="right" valign="center">Szja</text>
  </columnHeader>
  <masterData dataset="frDBDataSet31" height="5">
    <text x="0" y="0" width="15" height="5">[ZQ30.nKod]</text>
    <text x="15" y="0" width="55" height="5">[ZQ30.nNev]</text>
    <text x="70" y="0" width="12" height="5">[ZQ30.nIrszam]</text>
    <text x="82" y="0" width="38" height="5">[ZQ30.nHely]</text>
    <text x="120" y="0" width="43" height="5">[ZQ30.nUtca]</text>
    <text x="163" y="0" width="20" height="5" align="right">[ZQ30.nSzja|N2]</text>
    <line x1="0" y1="5" x2="183" y2="5" width="0.1" color="#c0c0c0"/>
  </masterData>
  <masterFooter height="8">
    <text x="0" y="2" width="135" height="5" bold="true">Összesen: [LINE#] tulajdonos</text>
  </masterFooter>
  <pageFooter height="7">
    <line x1="0" y1="1" x2="183" y2="1" width="0.2"/>
    <text x="0" y="2" width="183" height="5" align="right">[PAGE#]. oldal / [TOTALPAGES#]</text>
  </pageFooter>
</report>
)";

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QDir::temp().filePath(QStringLiteral("bench_db_report.pdf"));
    TData data;
    data.reopenTableViews();
    const QString select = QStringLiteral("SELECT * FROM tulaj ORDER BY nNev");

    // 1. The bare fetch: the statement and the stored result, nothing converted.
    QElapsedTimer t;
    t.start();
    data.ZQ30->setSql({select});
    data.ZQ30->open();
    const qint64 fetchMs = t.elapsed();
    const int rows = data.ZQ30->rowCount();

    // 2. The same fetch with every cell read as text, as a print reads them.
    t.restart();
    data.ZQ30->setSql({select});
    data.ZQ30->open();
    qint64 chars = 0;
    const int columns = data.ZQ30->columnCount();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            chars += data.ZQ30->cellText(r, c).size();
    const qint64 fetchReadMs = t.elapsed();

    // 3. Layout over the query, through the report dataset, as printTemplate does.
    data.ZQ30->setSql({select});
    data.ZQ30->open();
    t.restart();
    data.frNyomtat.loadFromData(kTemplate, QStringLiteral("bench.frf"));
    const report::Document doc = data.frNyomtat.build(data, data.variables);
    const qint64 layoutMs = t.elapsed();

    // 4. PDF.
    t.restart();
    if (!report::writePdf(doc, out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    const qint64 pdfMs = t.elapsed();

    std::printf("rows %d, pages %d, %lld characters read\n", rows, doc.pageCount(), chars);
    std::printf("fetch (store result)           %6lld ms\n", fetchMs);
    std::printf("fetch + every cell read        %6lld ms\n", fetchReadMs);
    std::printf("layout                         %6lld ms\n", layoutMs);
    std::printf("PDF                            %6lld ms (%lld KiB)\n", pdfMs, QFile(out).size() / 1024);
    std::printf("layout + PDF / fetch           %6.2f\n",
                double(layoutMs + pdfMs) / qMax<qint64>(1, fetchMs));
    std::printf("layout + PDF / fetch with read %6.2f\n",
                double(layoutMs + pdfMs) / qMax<qint64>(1, fetchReadMs));
    std::printf("peak memory                    %6ld MiB\n", peakRssKb() / 1024);
    return 0;
}
