// Building reports over small in-memory data: bands, master and detail, the grouping of the owner
// list, page breaks, page numbers, variables, and the PDF that comes out.

#include "reports/engine/report.h"
#include "reports/engine/tablecursor.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

const QStringList kOwnerColumns = {"nKod",  "nNev",  "nSzido",   "nAnyja", "nIrszam",  "nHely",
                                   "nUtca", "nLnev", "nAdoazon", "nSzla",  "nSzemszam"};

// The owner list's data: ZQ33 (owners by name), ZTable8 (the tenant) and the grouping callbacks of
// MasterDataset and DetailDataset, written the way the data module writes them.
struct OwnerList
{
    TableCursor zq33{kOwnerColumns};
    TableCursor ztable8{{"BNeve", "BIrszam", "BHelyseg", "BUtca", "BAdoszam"}};
    UserDataset master{"MasterDataset"};
    UserDataset detail{"DetailDataset"};
    SimpleContext context;
    Variables vars;
    int groupStart = 0;
    QChar groupInitial;

    explicit OwnerList(const QStringList &names)
    {
        int code = 1;
        for (const QString &name : names)
            zq33.addRow({QString("%1").arg(code++, 5, 10, QChar('0')), name, QDate(1950, 1, code),
                         "Anya " + name, "7100", "Szekszárd", "Fő utca " + QString::number(code),
                         "Lány " + name, "8123456789", "11700000-12345678",
                         "1500101" + QString::number(code)});
        zq33.open();
        ztable8.addRow(
            {"Zöldmező Mezőgazdasági Kft.", "7100", "Szekszárd", "Rákóczi utca 20.", "12345678-2-17"});
        ztable8.open();

        master.onFirst = [this] {
            zq33.first();
            groupStart = zq33.rowIndex();
        };
        master.onCheckEOF = [this](bool &eof) { eof = eof || zq33.eof(); };
        master.onNext = [this] { groupStart = zq33.rowIndex(); };
        detail.onFirst = [this] {
            zq33.setRowIndex(groupStart);
            groupInitial = zq33.value("nNev")->toString().at(0);
            vars.set("betu", QString(groupInitial));
        };
        detail.onNext = [this] { zq33.next(); };
        detail.onCheckEOF = [this](bool &eof) {
            eof = eof || zq33.eof() || zq33.value("nNev")->toString().at(0) != groupInitial;
        };
        context.addDataset(&master);
        context.addDataset(&detail);
        context.addComponent("ZQ33", &zq33);
        context.addComponent("ZTable8", &ztable8);
    }
};

const QByteArray kGroupingTemplate = R"(<report page='A4'>
  <masterData dataset='MasterDataset' height='8'><text width='20' height='6'>[betu]</text></masterData>
  <detailData dataset='DetailDataset' height='5'><text width='80' height='5'>[ZQ33.nNev]</text></detailData>
</report>)";

Document buildFrom(Report &report, const QByteArray &xml, DataContext &context, Variables &vars,
                   const QString &name = "teszt.frf")
{
    report.loadFromData(xml, name);
    return report.build(context, vars);
}

// A query-bound dataset over rows of one text column "t", logging the protocol calls it gets.
struct LoggedRows
{
    TableCursor cursor{{"t"}};
    QueryDataset dataset;
    QStringList *log;
    LoggedRows(const QString &name, QStringList *log)
        : dataset(name, &cursor)
        , log(log)
    {
        dataset.onOpen = [this, name] { this->log->append(name + ".open"); };
        dataset.onFirst = [this, name] { this->log->append(name + ".first"); };
        dataset.onNext = [this, name] { this->log->append(name + ".next"); };
        dataset.onClose = [this, name] { this->log->append(name + ".close"); };
    }
    void rows(const QStringList &texts)
    {
        cursor.clearRows();
        for (const QString &s : texts)
            cursor.addRow({s});
    }
};

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void ownersAreGroupedByTheirFirstCharacter_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("case and accents make groups")
            << QStringList{"Antal", "Ábel", "antal"} << QStringList{"A", "Antal", "Á", "Ábel", "a", "antal"};
        QTest::newRow("a single owner") << QStringList{"Őry Ödön"} << QStringList{"Ő", "Őry Ödön"};
        QTest::newRow("runs of one letter")
            << QStringList{"Bak", "Bene", "Cseh", "Czakó", "Bíró"}
            << QStringList{"B", "Bak", "Bene", "C", "Cseh", "Czakó", "B", "Bíró"};
        QTest::newRow("no owners") << QStringList{} << QStringList{};
    }
    void ownersAreGroupedByTheirFirstCharacter()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        OwnerList data(names);
        Report report;
        const Document doc = buildFrom(report, kGroupingTemplate, data.context, data.vars);
        QCOMPARE(doc.pageCount(), 1); // an empty list still gives a report
        QCOMPARE(doc.texts(0), expected);
        if (!names.isEmpty())
            QCOMPARE(data.vars.value("betu").toString(), expected.at(expected.size() - 2));
    }

    void ownerListTemplateShowsTenantGroupsAndOwners()
    {
        OwnerList data({"Antal Béla", "Ábel Ödön", "antal cecília"});
        Report report;
        report.load(ZELVANA_SOURCE_DIR "/templates/Tulaj.frf", "Tulaj.frf");
        const Document doc = report.build(data.context, data.vars);
        QCOMPARE(doc.pageCount(), 1);
        const QStringList texts = doc.texts(0);
        for (const QString &s :
             {QString("Zöldmező Mezőgazdasági Kft."), QString("7100 Szekszárd, Rákóczi utca 20."),
              QString("Adószám: 12345678-2-17"), QString("Bérbeadók listája"), QString("A"), QString("Á"),
              QString("a"), QString("Ábel Ödön"), QString("Anyja: Anya Ábel Ödön   Lnév: Lány Ábel Ödön"),
              QString("Sz.idő: 1950.01.03"), QString("Lakcim: 7100 Szekszárd, Fő utca 3"),
              QString("Adóazon.: 8123456789"), QString("Szla.szám: 11700000-12345678"),
              QString("Szem.szám.: 15001013"), QString("1. oldal / 1"),
              "Nyomtatva: " + QDate::currentDate().toString("yyyy.MM.dd")})
            QVERIFY2(texts.contains(s), qPrintable(s + " missing from: " + texts.join(" | ")));
        // The title follows the tenant's letterhead; the group letter comes before its owners.
        QVERIFY(texts.indexOf("Zöldmező Mezőgazdasági Kft.") < texts.indexOf("Bérbeadók listája"));
        QVERIFY(texts.indexOf("Á") < texts.indexOf("Ábel Ödön"));
        QVERIFY(texts.indexOf("Ábel Ödön") < texts.indexOf("a"));
    }

    void longOwnerListRepeatsTheLetterheadOnEveryPage()
    {
        QStringList names;
        for (int i = 0; i < 40; ++i)
            names << QString("Kovács %1").arg(i, 2, 10, QChar('0'));
        OwnerList data(names);
        Report report;
        report.load(ZELVANA_SOURCE_DIR "/templates/Tulaj.frf", "Tulaj.frf");
        const Document doc = report.build(data.context, data.vars);
        QVERIFY(doc.pageCount() >= 2);
        QStringList owners;
        for (int p = 0; p < doc.pageCount(); ++p) {
            const QStringList texts = doc.texts(p);
            QCOMPARE(texts.first(), QString("Zöldmező Mezőgazdasági Kft."));
            QCOMPARE(texts.last(), QString("%1. oldal / %2").arg(p + 1).arg(doc.pageCount()));
            QCOMPARE(texts.count("Bérbeadók listája"), p == 0 ? 1 : 0);
            for (const QString &s : texts)
                if (s.startsWith("Kovács "))
                    owners << s;
        }
        QCOMPARE(owners, names); // every owner once, in order, none lost at a page break
    }

    void masterRowWithoutDetailIsLeftOutUnlessMarked_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("left out") << false << QStringList{"K1", "K1/a", "K1/b",    "2 tétel",
                                                          "K3", "K3/a", "1 tétel", "2 szerződés"};
        QTest::newRow("marked") << true << QStringList{"K1",      "K1/a", "K1/b", "2 tétel", "K2",
                                                       "0 tétel", "K3",   "K3/a", "1 tétel", "3 szerződés"};
    }
    void masterRowWithoutDetailIsLeftOutUnlessMarked()
    {
        QFETCH(bool, marked);
        QFETCH(QStringList, expected);
        const QHash<QString, QStringList> items = {{"K1", {"K1/a", "K1/b"}}, {"K2", {}}, {"K3", {"K3/a"}}};
        QStringList log;
        LoggedRows contracts("frDBDataSet5", &log), details("frDBDataSet6", &log);
        contracts.rows({"K1", "K2", "K3"});
        // As the detail queries do: the items follow the master's current row.
        auto refill = [&] {
            details.rows(contracts.cursor.eof() ? QStringList{}
                                                : items.value(contracts.cursor.value("t")->toString()));
        };
        contracts.dataset.onFirst = refill;
        contracts.dataset.onNext = refill;
        SimpleContext context;
        context.addDataset(&contracts.dataset);
        context.addDataset(&details.dataset);
        Variables vars;
        const QByteArray xml = QByteArray(R"(<report>
  <masterData dataset='frDBDataSet5' height='5' printIfDetailEmpty=')") +
                               (marked ? "true" : "false") + R"('>
    <text width='50' height='5'>[frDBDataSet5.t]</text></masterData>
  <detailData dataset='frDBDataSet6' height='5'><text width='50' height='5'>[frDBDataSet6.t]</text></detailData>
  <detailFooter height='5'><text width='50' height='5'>[LINE#] tétel</text></detailFooter>
  <masterFooter height='5'><text width='50' height='5'>[LINE#] szerződés</text></masterFooter>
</report>)";
        Report report;
        const Document doc = buildFrom(report, xml, context, vars);
        QCOMPARE(doc.texts(0), expected);
    }

    void aMasterRowPrintsEachOfItsDetailsInTurn()
    {
        // An owner's leased items, then the owner's payments: a detail without rows prints its
        // header and footer only when it asks for them, and a master row with no rows in any
        // detail is left out.
        const QHash<QString, QStringList> items = {{"A", {"A/1", "A/2"}}, {"B", {}}, {"C", {"C/1"}}};
        const QHash<QString, QStringList> paid = {{"A", {"A:100"}}, {"B", {"B:5"}}, {"C", {}}};
        QStringList log;
        LoggedRows owners("frDBDataSet1", &log), lines("frDBDataSet2", &log), payments("frDBDataSet9", &log);
        owners.rows({"A", "B", "C", "D"});
        auto refill = [&] {
            const QString o = owners.cursor.eof() ? QString() : owners.cursor.value("t")->toString();
            lines.rows(items.value(o));
            payments.rows(paid.value(o));
        };
        owners.dataset.onFirst = refill;
        owners.dataset.onNext = refill;
        SimpleContext context;
        context.addDataset(&owners.dataset);
        context.addDataset(&lines.dataset);
        context.addDataset(&payments.dataset);
        Variables vars;
        Report report;
        const Document doc = buildFrom(report, R"(<report>
  <masterData dataset='frDBDataSet1' height='5'><text width='50' height='5'>[frDBDataSet1.t]</text></masterData>
  <detailHeader height='5'><text width='50' height='5'>tételek</text></detailHeader>
  <detailData dataset='frDBDataSet2' height='5'><text width='50' height='5'>[frDBDataSet2.t]</text></detailData>
  <detailFooter height='5'><text width='50' height='5'>[LINE#] tétel</text></detailFooter>
  <detailHeader height='5'><text width='50' height='5'>fizetések</text></detailHeader>
  <detailData dataset='frDBDataSet9' height='5' printIfEmpty='true'><text width='50' height='5'>[frDBDataSet9.t]</text></detailData>
  <detailFooter height='5'><text width='50' height='5'>[LINE#] fizetés</text></detailFooter>
  <masterFooter height='5'><text width='50' height='5'>[LINE#] tulajdonos</text></masterFooter>
</report>)",
                                       context, vars);
        QCOMPARE(doc.texts(0), (QStringList{"A", "tételek", "A/1", "A/2", "2 tétel", "fizetések", "A:100",
                                            "1 fizetés", "B", "fizetések", "B:5", "1 fizetés", "C", "tételek",
                                            "C/1", "1 tétel", "fizetések", "0 fizetés", "3 tulajdonos"}));
    }

    void datasetsAreOpenedPerBandAndClosedOnce()
    {
        QStringList log;
        LoggedRows a("frDBDataSet4", &log), b("frDBDataSet10", &log);
        a.rows({"x", "y"});
        b.rows({"z"});
        SimpleContext context;
        context.addDataset(&a.dataset);
        context.addDataset(&b.dataset);
        Variables vars;
        Report report;
        // frDBDataSet4 drives two bands: it is opened for each of them, closed once at the end.
        const Document doc = buildFrom(report, R"(<report>
  <masterData dataset='frDBDataSet4' height='5'><text width='50' height='5'>[frDBDataSet4.t]</text></masterData>
  <masterData dataset='frDBDataSet10' height='5'><text width='50' height='5'>[frDBDataSet10.t]</text></masterData>
  <masterData dataset='frDBDataSet4' height='5'><text width='50' height='5'>2:[frdbdataset4.T]</text></masterData>
</report>)",
                                       context, vars);
        QCOMPARE(doc.texts(0), (QStringList{"x", "y", "z", "2:x", "2:y"}));
        QCOMPARE(log, (QStringList{"frDBDataSet4.open", "frDBDataSet10.open", "frDBDataSet4.open",
                                   "frDBDataSet4.first", "frDBDataSet4.next", "frDBDataSet4.next",
                                   "frDBDataSet10.first", "frDBDataSet10.next", "frDBDataSet4.first",
                                   "frDBDataSet4.next", "frDBDataSet4.next", "frDBDataSet4.close",
                                   "frDBDataSet10.close"}));
        QCOMPARE(a.cursor.opens, 1); // an open query is not run again
        QVERIFY(a.cursor.eof());     // and keeps its position after the close
    }

    void callbackAsksForANewPage_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("breakBefore"); // the row before which a callback asks for a new page
        QTest::addColumn<QList<QStringList>>("pages");
        QTest::newRow("in the middle")
            << QStringList{"r1", "r2", "r3"} << "r2"
            << QList<QStringList>{{"Fej", "r1", "Láb"}, {"Fej", "r2", "r3", "Összesen", "Láb"}};
        // The summary is the next band after the last row.
        QTest::newRow("after the last row")
            << QStringList{"r1", "r2"} << "(end)"
            << QList<QStringList>{{"Fej", "r1", "r2", "Láb"}, {"Fej", "Összesen", "Láb"}};
        QTest::newRow("before every row")
            << QStringList{"r1", "r2"} << "*"
            << QList<QStringList>{{"Fej", "r1", "Láb"}, {"Fej", "r2", "Láb"}, {"Fej", "Összesen", "Láb"}};
    }
    void callbackAsksForANewPage()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, breakBefore);
        QFETCH(QList<QStringList>, pages);
        QStringList log;
        LoggedRows data("frDBDataSet1", &log);
        data.rows(rows);
        Report report;
        data.dataset.onFirst = [&] {
            if (breakBefore == "*")
                report.newPage(); // nothing on the page yet: no empty page comes of it
        };
        data.dataset.onNext = [&] {
            const bool end = data.cursor.eof();
            if (breakBefore == "*" || (end && breakBefore == "(end)") ||
                (!end && data.cursor.value("t")->toString() == breakBefore))
                report.newPage();
        };
        SimpleContext context;
        context.addDataset(&data.dataset);
        Variables vars;
        const Document doc = buildFrom(report, R"(<report>
  <pageHeader height='10'><text width='50' height='5'>Fej</text></pageHeader>
  <masterData dataset='frDBDataSet1' height='5'><text width='50' height='5'>[frDBDataSet1.t]</text></masterData>
  <reportSummary height='5'><text width='50' height='5'>Összesen</text></reportSummary>
  <pageFooter height='10'><text width='50' height='5'>Láb</text></pageFooter>
</report>)",
                                       context, vars);
        QList<QStringList> got;
        for (int i = 0; i < doc.pageCount(); ++i)
            got << doc.texts(i);
        QCOMPARE(got, pages);
        QVERIFY(!report.isBuilding());
        report.newPage(); // outside a build: ignored
    }

    void newPageAfterTheLastBandAddsNoPage()
    {
        QStringList log;
        LoggedRows data("frDBDataSet1", &log);
        data.rows({"r1", "r2"});
        Report report;
        data.dataset.onNext = [&] { report.newPage(); };
        SimpleContext context;
        context.addDataset(&data.dataset);
        Variables vars;
        const Document doc = buildFrom(report, R"(<report>
  <masterData dataset='frDBDataSet1' height='5'><text width='50' height='5'>[frDBDataSet1.t]</text></masterData>
  <pageFooter height='10'><text width='50' height='5'>[PAGE#]/[TOTALPAGES#]</text></pageFooter>
</report>)",
                                       context, vars);
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(doc.texts(0), (QStringList{"r1", "1/2"}));
        QCOMPARE(doc.texts(1), (QStringList{"r2", "2/2"}));
    }

    void bandThatDoesNotFitStartsANewPage()
    {
        QStringList log;
        LoggedRows data("frDBDataSet1", &log);
        data.rows({"r1", "r2", "r3", "r4", "r5"});
        SimpleContext context;
        context.addDataset(&data.dataset);
        Variables vars;
        Report report;
        // 100 mm page, 10 mm margins: 80 mm, less 10 mm header, 5 mm column header and 10 mm footer
        // leaves 55 mm: two 25 mm rows a page (the title takes 6 mm of the first page).
        const Document doc = buildFrom(report, R"(<report pageWidth='100' pageHeight='100'>
  <margins left='10' top='10' right='10' bottom='10'/>
  <reportTitle height='6'><text width='50' height='5'>Cím</text></reportTitle>
  <pageHeader height='10'><text width='50' height='5'>Fej [PAGE#]</text></pageHeader>
  <columnHeader height='5'><text width='50' height='5'>Oszlop</text></columnHeader>
  <masterData dataset='frDBDataSet1' height='25'><text width='50' height='5'>[frDBDataSet1.t]</text></masterData>
  <pageFooter height='10'><text width='50' height='5'>[PAGE#]. oldal / [TOTALPAGES#]</text></pageFooter>
</report>)",
                                       context, vars);
        QCOMPARE(doc.pageCount(), 3);
        QCOMPARE(doc.texts(0), (QStringList{"Fej 1", "Cím", "Oszlop", "r1", "1. oldal / 3"}));
        QCOMPARE(doc.texts(1), (QStringList{"Fej 2", "Oszlop", "r2", "r3", "2. oldal / 3"}));
        QCOMPARE(doc.texts(2), (QStringList{"Fej 3", "Oszlop", "r4", "r5", "3. oldal / 3"}));
        // Bands follow each other down the page; the footer sits at the bottom margin.
        const auto page2 = doc.textsByPosition(1);
        QCOMPARE(page2.at(0).first, 10.0);
        QCOMPARE(page2.at(1).first, 20.0);
        QCOMPARE(page2.at(2).first, 25.0);
        QCOMPARE(page2.at(3).first, 50.0);
        QCOMPARE(page2.at(4).first, 80.0);
    }

    void groupHeadingIsNotLeftAloneAtTheFootOfAPage()
    {
        // 80 mm of body: the heading (8 mm) and twelve rows (5 mm) of A leave 12 mm, room for the B
        // heading but not for its first row as well.
        QStringList names;
        for (int i = 1; i <= 12; ++i)
            names << QString("A%1").arg(i);
        names << "B1"
              << "B2";
        OwnerList data(names);
        Report report;
        const Document doc = buildFrom(report, R"(<report pageWidth='100' pageHeight='100'>
  <margins left='10' top='10' right='10' bottom='10'/>
  <masterData dataset='MasterDataset' height='8'><text width='20' height='6'>[betu]</text></masterData>
  <detailData dataset='DetailDataset' height='5'><text width='80' height='5'>[ZQ33.nNev]</text></detailData>
</report>)",
                                       data.context, data.vars);
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(doc.texts(0).last(), QString("A12"));
        QCOMPARE(doc.texts(1), (QStringList{"B", "B1", "B2"}));
    }

    void pageHeaderCanSkipTheFirstPage()
    {
        SimpleContext context;
        Variables vars;
        Report report;
        const Document doc = buildFrom(report, R"(<report pageWidth='100' pageHeight='60'>
  <margins left='5' top='5' right='5' bottom='5'/>
  <pageHeader height='10' onFirstPage='false'><text width='50' height='5'>Fej</text></pageHeader>
  <masterData height='45'><text width='50' height='5'>Egy</text></masterData>
  <masterData height='20'><text width='50' height='5'>Kettő</text></masterData>
</report>)",
                                       context, vars);
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(doc.texts(0), QStringList{"Egy"});
        QCOMPARE(doc.texts(1), (QStringList{"Fej", "Kettő"}));
    }

    void stretchingBandGrowsToItsWrappedText()
    {
        TableCursor rows({"t"});
        const QString longText =
            "Ez egy hosszú szöveg, amely nem fér el egy sorban, ezért több sorba tördelődik.";
        rows.addRow({longText});
        rows.addRow({"rövid"});
        QueryDataset ds("frDBDataSet31", &rows);
        SimpleContext context;
        context.addDataset(&ds);
        Variables vars;
        Report report;
        const Document doc = buildFrom(report, R"(<report>
  <margins left='10' top='10' right='10' bottom='10'/>
  <masterData dataset='frDBDataSet31' height='5' stretch='true'>
    <text width='40' height='5' wrap='true' frame='all'>[frDBDataSet31.t]</text>
    <line x1='0' y1='5' x2='100' y2='5' growWithBand='true'/>
  </masterData>
</report>)",
                                       context, vars);
        const Page &page = doc.pages.at(0);
        QCOMPARE(page.texts.size(), size_t(2));
        const TextItem &wrapped = page.texts[0];
        QCOMPARE(wrapped.text, longText);
        QVERIFY(wrapped.runs.size() >= 3);
        QString joined;
        for (const TextRun &run : wrapped.runs) {
            QVERIFY(run.origin.y() > wrapped.rect.top() && run.origin.y() < wrapped.rect.bottom());
            joined += (joined.isEmpty() ? "" : " ") + run.text;
        }
        QCOMPARE(joined, longText); // nothing lost or doubled at the breaks
        QVERIFY(wrapped.rect.height() > 5);
        // The next band starts below the grown one; the bottom rule moved with it; the frame too.
        QCOMPARE(page.texts[1].rect.top(), wrapped.rect.bottom());
        QCOMPARE(page.lines.at(0).p1.y(), wrapped.rect.bottom());
        QCOMPARE(page.rects.at(0).rect, wrapped.rect);
        QVERIFY(page.texts[1].runs.empty());
    }

    void textsAreAlignedInTheirBoxes_data()
    {
        QTest::addColumn<QString>("align");
        QTest::addColumn<int>("side"); // -1 left edge, 0 centred, 1 right edge
        QTest::newRow("left") << "left" << -1;
        QTest::newRow("center") << "center" << 0;
        QTest::newRow("right") << "right" << 1;
    }
    void textsAreAlignedInTheirBoxes()
    {
        QFETCH(QString, align);
        QFETCH(int, side);
        SimpleContext context;
        Variables vars;
        Report report;
        const QByteArray xml = "<report><masterData height=\"10\"><text x=\"20\" width=\"100\" height=\"10\" "
                               "padding=\"0\" align=\"" +
                               align.toUtf8() + "\">1 234,50</text></masterData></report>";
        const Document doc = buildFrom(report, xml, context, vars);
        const TextItem &t = doc.pages.at(0).texts.at(0);
        const double left = t.origin.x() - t.rect.left();
        if (side < 0)
            QCOMPARE(left, 0.0);
        else if (side == 0)
            QVERIFY(left > 30 && left < 50);
        else
            QVERIFY(left > 70 && left < 100);
    }

    void overlongTextIsCutAtItsBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("clipped");
        QTest::addColumn<int>("lines");
        QTest::newRow("fits") << "Nagy Sándor" << false << false << 1;
        QTest::newRow("too long") << "Nagy Sándor Ferenc Gyula Zsigmond Ödön" << false << true << 1;
        QTest::newRow("too long, wrapped") << "Nagy Sándor Ferenc Gyula Zsigmond Ödön" << true << false << 2;
    }
    void overlongTextIsCutAtItsBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrap);
        QFETCH(bool, clipped);
        QFETCH(int, lines);
        TableCursor rows({"t"});
        rows.addRow({text});
        rows.open();
        SimpleContext context;
        context.addComponent("ZQ30", &rows);
        Variables vars;
        Report report;
        // Without stretch a wrapped text keeps its box: the lines that do not fit are not shown.
        const QByteArray xml = "<report><reportTitle height='10'><text width='40' height='9' wrap='" +
                               QByteArray(wrap ? "true" : "false") +
                               "'>[ZQ30.t]</text></reportTitle></report>";
        const Document doc = buildFrom(report, xml, context, vars);
        const TextItem &item = doc.pages.at(0).texts.at(0);
        QCOMPARE(item.text, text);
        QCOMPARE(item.clipped, clipped);
        QCOMPARE(item.runs.empty() ? 1 : int(item.runs.size()), lines);
    }

    void valuesThatLookLikeExpressionsArePrintedAsTheyAre()
    {
        TableCursor rows({"nNev", "nKod"});
        rows.addRow({"[ZQ33.nKod] [PAGE#]", "X1"});
        rows.open();
        SimpleContext context;
        context.addComponent("ZQ33", &rows);
        Variables vars;
        vars.set("betu", "[betu]");
        Report report;
        const Document doc = buildFrom(report, R"(<report>
  <pageHeader height='10'><text width='90' height='5'>[ZQ33.nNev] / [betu] / [[ZQ33.nKod]] / [zq33.NKOD]</text></pageHeader>
</report>)",
                                       context, vars);
        QCOMPARE(doc.texts(0), QStringList{"[ZQ33.nKod] [PAGE#] / [betu] / [ZQ33.nKod] / X1"});
    }

    void numbersDatesAndNullsUseTheProgramsFormats()
    {
        TableCursor rows({"aAK", "aHA", "hTol", "hIg", "hSzam"});
        rows.addRow({12345.678, 0.5, QDate(2026, 10, 1), QVariant(), QVariant()});
        QueryDataset ds("frDBDataSet8", &rows);
        SimpleContext context;
        context.addDataset(&ds);
        Variables vars;
        vars.set("v_mFt", 1234567.0);
        Report report;
        const Document doc = buildFrom(report, R"(<report>
  <masterData dataset='frDBDataSet8' height='5'>
    <text width='90' height='5'>[frDBDataSet8.aAK]|[frDBDataSet8.aAK|N2]|[frDBDataSet8.aHA|F4]|[frDBDataSet8.hTol]|[frDBDataSet8.hIg]|[frDBDataSet8.hSzam]|[v_mFt|N0] Ft|[nincs]</text>
  </masterData>
</report>)",
                                       context, vars);
        const QString nbsp(QChar(0x00A0));
        QCOMPARE(doc.texts(0), QStringList{"12345,678|12" + nbsp + "345,68|0,5000|2026.10.01|||1" + nbsp +
                                           "234" + nbsp + "567 Ft|"});
    }

    void variablesKeepTheirValuesBetweenBuilds()
    {
        SimpleContext context;
        Variables vars;
        Report report;
        vars.set("v_mAK", 1234.5);
        vars.set("v_mHA", 10.25);
        const QByteArray parcels = R"(<report><reportSummary height='5'>
  <text width='90' height='5'>[v_mAK] AK, [v_mHA] ha</text></reportSummary></report>)";
        const QByteArray other = R"(<report><reportSummary height='5'>
  <text width='90' height='5'>Összesen: [V_MAK|N2] AK</text></reportSummary></report>)";
        QCOMPARE(buildFrom(report, parcels, context, vars, "tabla.frf").texts(0),
                 QStringList{"1234,5 AK, 10,25 ha"});
        // A later print that sets nothing shows the values of the earlier one.
        QCOMPARE(buildFrom(report, other, context, vars, "lista3.frf").texts(0),
                 QStringList{"Összesen: 1\u00a0234,50 AK"});
        vars.set("v_mak", 2.0);
        QCOMPARE(buildFrom(report, other, context, vars, "lista3.frf").texts(0),
                 QStringList{"Összesen: 2,00 AK"});
    }

    void templateChangedOnDiskTakesEffectAtTheNextLoad()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("valtozo.frf");
        auto write = [&](const QByteArray &text) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("<report><reportTitle height=\"5\"><text width=\"50\" height=\"5\">" + text +
                    "</text></reportTitle></report>");
        };
        SimpleContext context;
        Variables vars;
        Report report;
        write("Első");
        report.load(path);
        QCOMPARE(report.build(context, vars).texts(0), QStringList{"Első"});
        write("Második");
        QCOMPARE(report.build(context, vars).texts(0), QStringList{"Első"}); // the loaded template stays
        report.load(path);
        QCOMPARE(report.build(context, vars).texts(0), QStringList{"Második"});
    }

    void buildErrorsNameWhatIsWrong_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown field") << QByteArray("[ZQ33.nincs]") << "Field 'nincs' not found";
        QTest::newRow("unknown component") << QByteArray("[ZQ99.nNev]") << "Component 'ZQ99' not found";
        QTest::newRow("user dataset has no fields")
            << QByteArray("[MasterDataset.nNev]") << "Dataset 'MasterDataset' has no fields";
    }
    void buildErrorsNameWhatIsWrong()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        OwnerList data({"Antal"});
        Report report;
        try {
            buildFrom(report,
                      "<report><pageHeader height=\"5\"><text width=\"50\" height=\"5\">" + text +
                          "</text></pageHeader></report>",
                      data.context, data.vars);
            QFAIL("built");
        } catch (const ReportError &e) {
            QCOMPARE(e.message(), message);
            QCOMPARE(e.title(), QString("Error"));
        }
        QVERIFY(!report.isBuilding());
    }

    void unknownDatasetStopsTheBuild()
    {
        SimpleContext context;
        Variables vars;
        Report report;
        try {
            buildFrom(report, "<report><masterData dataset=\"frDBDataSet99\" height=\"5\"/></report>",
                      context, vars);
            QFAIL("built");
        } catch (const ReportError &e) {
            QCOMPARE(e.message(), QString("Dataset 'frDBDataSet99' not found"));
        }
    }

    void progressIsReportedAndCanStopTheBuild()
    {
        TableCursor rows({"t"});
        for (int i = 0; i < 1000; ++i)
            rows.addRow({QString::number(i)});
        QueryDataset ds("frDBDataSet10", &rows);
        SimpleContext context;
        context.addDataset(&ds);
        Variables vars;
        Report report;
        report.loadFromData(R"(<report><masterData dataset='frDBDataSet10' height='5'>
  <text width='50' height='5'>[frDBDataSet10.t]</text></masterData></report>)",
                            "sok.frf");
        int calls = 0, lastPages = 0;
        const Document doc = report.build(context, vars, QPageLayout::Portrait, [&](int pages, int) {
            ++calls;
            lastPages = pages;
            return true;
        });
        QVERIFY(calls >= doc.pageCount());
        QCOMPARE(lastPages, doc.pageCount());
        QVERIFY_THROWS_EXCEPTION(BuildCancelled, report.build(context, vars, QPageLayout::Portrait,
                                                              [](int, int rows) { return rows < 300; }));
        QVERIFY(!report.isBuilding());
    }

    void orientationComesFromTheTemplateOrThePrintCall()
    {
        SimpleContext context;
        Variables vars;
        Report report;
        report.loadFromData("<report page=\"A4\"/>", "jegyzek.frf");
        Document doc = report.build(context, vars, QPageLayout::Landscape);
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        QCOMPARE(doc.pageSizeMm().toSize(), QSize(297, 210));
        report.loadFromData("<report page=\"A4\" orientation=\"portrait\"/>", "jegyzek.frf");
        doc = report.build(context, vars, QPageLayout::Landscape);
        QCOMPARE(doc.orientation, QPageLayout::Portrait);
    }

    void accentedNamesSurviveTheTripThroughPdf()
    {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed");
        // The last name takes the painter's general text path (letters beyond Latin).
        const QStringList names = {"Őry Ödön",     "Úr Ábel",         "Űrhajós Ágnes", "Éles Íván",
                                   "Kővári Ünige", "Szűcs Gyöngyvér", "Ελένη Παπαδάκη"};
        OwnerList data(names);
        Report report;
        report.load(ZELVANA_SOURCE_DIR "/templates/Tulaj.frf", "Tulaj.frf");
        const Document doc = report.build(data.context, data.vars);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("Tulaj.pdf");
        QVERIFY(writePdf(doc, pdf));
        QProcess p;
        p.start(pdftotext, {"-enc", "UTF-8", pdf, "-"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(text.count('\f'), doc.pageCount());
        for (const QString &s :
             names + QStringList{"Bérbeadók listája", "Zöldmező Mezőgazdasági Kft.", "Adószám: 12345678-2-17",
                                 "Anyja: Anya Őry Ödön", "1. oldal / 1"})
            QVERIFY2(text.contains(s), qPrintable(s + " missing from:\n" + text));
        // The group letters stand on lines of their own.
        const QStringList lines = text.split('\n');
        for (const char *letter : {"Ő", "Ú", "Ű", "É", "K", "S"})
            QVERIFY2(lines.contains(QString::fromUtf8(letter)), letter);
    }
};

QTEST_MAIN(TestReportLayout)
#include "test_report_layout.moc"
