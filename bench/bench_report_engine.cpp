// Report engine benchmark: a list of 50 000 contract items (about 1000 A4 pages) built from rows
// held in memory, then written to PDF. Prints the wall time of each step and the peak resident
// memory, so the engine's cost can be set against the time the same rows take to be fetched.
//
//   bench_report_engine [rows] [output.pdf]

#include "reports/engine/report.h"
#include "reports/engine/tablecursor.h"

#include <QDate>
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
<report name="Alrészletek" page="A4" orientation="portrait" fontFamily="DejaVu Sans" fontSize="9">
  <margins left="15" top="12" right="12" bottom="10"/>
  <pageHeader height="12">
    <text x="0" y="0" width="120" height="5" bold="true" size="10">[ZTable8.BNeve]</text>
    <text x="120" y="0" width="63" height="5" align="right">Nyomtatva: [DATE] [TIME]</text>
    <text x="0" y="5" width="183" height="5" size="12" bold="true" align="center">Alrészletek listája</text>
  </pageHeader>
  <columnHeader height="6">
    <rect x="0" y="0.5" width="183" height="5" lineWidth="0.2" fill="#eeeeee"/>
    <text x="0" y="0.5" width="18" height="5" bold="true" valign="center">Kód</text>
    <text x="18" y="0.5" width="55" height="5" bold="true" valign="center">Tulajdonos</text>
    <text x="73" y="0.5" width="40" height="5" bold="true" valign="center">Helység</text>
    <text x="113" y="0.5" width="22" height="5" bold="true" valign="center">Hrsz</text>
    <text x="135" y="0.5" width="24" height="5" bold="true" align="right" valign="center">AK</text>
    <text x="159" y="0.5" width="24" height="5" bold="true" align="right" valign="center">Ha,m2</text>
  </columnHeader>
  <masterData dataset="frDBDataSet6" height="5">
    <text x="0" y="0" width="18" height="5">[frDBDataSet6.aKod]</text>
    <text x="18" y="0" width="55" height="5">[frDBDataSet6.nNev]</text>
    <text x="73" y="0" width="40" height="5">[frDBDataSet6.vHelyseg]</text>
    <text x="113" y="0" width="22" height="5">[frDBDataSet6.tHrsz]</text>
    <text x="135" y="0" width="24" height="5" align="right">[frDBDataSet6.aAK|N2]</text>
    <text x="159" y="0" width="24" height="5" align="right">[frDBDataSet6.aHA|F4]</text>
    <line x1="0" y1="5" x2="183" y2="5" width="0.1" color="#c0c0c0"/>
  </masterData>
  <masterFooter height="8">
    <text x="0" y="2" width="135" height="5" bold="true">Összesen: [LINE#] tétel</text>
    <text x="135" y="2" width="24" height="5" bold="true" align="right">[v_mAK|N2]</text>
    <text x="159" y="2" width="24" height="5" bold="true" align="right">[v_mHA|F4]</text>
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
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args[1].toInt() : 50000;
    const QString out =
        args.size() > 2 ? args[2] : QDir::temp().filePath(QStringLiteral("bench_report_engine.pdf"));

    static const char *towns[] = {"Szekszárd", "Őcsény",  "Decs",    "Bátaszék",
                                  "Sárpilis",  "Várdomb", "Alsónyék"};
    static const char *names[] = {"Kovács", "Szűcs", "Őry", "Ábel", "Nagy", "Tóth", "Ürögdi", "Fehér"};
    report::TableCursor items({"aKod", "nNev", "vHelyseg", "tHrsz", "aAK", "aHA"});
    double sumAK = 0, sumHA = 0;
    for (int i = 0; i < rows; ++i) {
        const double ak = 1 + (i * 37 % 1000) / 10.0, ha = 0.1 + (i * 53 % 10000) / 1000.0;
        sumAK += ak;
        sumHA += ha;
        items.addRow({QStringLiteral("A%1").arg(i, 6, 10, QLatin1Char('0')),
                      QStringLiteral("%1 %2").arg(QString::fromUtf8(names[i % 8])).arg(i / 8),
                      QString::fromUtf8(towns[i % 7]),
                      QStringLiteral("0%1/%2").arg(100 + i % 900).arg(i % 7 + 1), ak, ha});
    }
    report::TableCursor tenant({"BNeve"});
    tenant.addRow({QStringLiteral("Zöldmező Mezőgazdasági Kft.")});
    tenant.open();
    report::QueryDataset dataset(QStringLiteral("frDBDataSet6"), &items);
    report::SimpleContext context;
    context.addDataset(&dataset);
    context.addComponent(QStringLiteral("ZTable8"), &tenant);
    report::Variables vars;
    vars.set(QStringLiteral("v_mAK"), sumAK);
    vars.set(QStringLiteral("v_mHA"), sumHA);

    report::Report rep;
    QElapsedTimer total;
    total.start();
    rep.loadFromData(kTemplate, QStringLiteral("bench.frf"));
    QElapsedTimer step;
    step.start();
    const report::Document doc = rep.build(context, vars);
    const qint64 buildMs = step.elapsed();
    const long rssAfterBuild = peakRssKb();
    step.restart();
    if (!report::writePdf(doc, out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    const qint64 pdfMs = step.elapsed();
    const qint64 totalMs = total.elapsed();

    std::printf("rows: %d\npages: %d\nbuild: %lld ms\npdf: %lld ms\ntotal: %lld ms\n", rows, doc.pageCount(),
                static_cast<long long>(buildMs), static_cast<long long>(pdfMs),
                static_cast<long long>(totalMs));
    std::printf("peak RSS after build: %ld kB\npeak RSS: %ld kB\npdf: %s (%lld bytes)\n", rssAfterBuild,
                peakRssKb(), qPrintable(out), static_cast<long long>(QFileInfo(out).size()));
    return 0;
}
