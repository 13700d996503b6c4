// The PDF written straight from a built document: read back with the poppler tools (text, page
// count and size, the file's cross-reference table) and rendered next to the painter's PDF of the
// same pages.

#include "reports/engine/pdfwriter.h"
#include "reports/engine/report.h"
#include "reports/engine/tablecursor.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

struct Run
{
    int exitCode = -1;
    QString out, err;
};

Run run(const QString &tool, const QStringList &args)
{
    Run r;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        r.err = tool + " (poppler-utils) is needed";
        return r;
    }
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A tool that ran cleanly: exit code 0 and nothing on stderr (poppler reports every repaired
// syntax or cross-reference error there).
#define QVERIFY_CLEAN(r)                                                                                     \
    do {                                                                                                     \
        QVERIFY2((r).exitCode == 0 && (r).err.isEmpty(), qPrintable((r).err));                               \
    } while (false)

Document build(const QByteArray &xml, const QString &fileName = "proba.frf")
{
    SimpleContext context;
    Variables vars;
    Report report;
    report.loadFromData(xml, fileName);
    return report.build(context, vars);
}

// The owner list as the program prints it: owners grouped by their initial.
struct OwnerList
{
    TableCursor zq33{{"nKod", "nNev", "nSzido", "nAnyja", "nIrszam", "nHely", "nUtca", "nLnev", "nAdoazon",
                      "nSzla", "nSzemszam"}};
    TableCursor ztable8{{"BNeve", "BIrszam", "BHelyseg", "BUtca", "BAdoszam"}};
    UserDataset master{"MasterDataset"};
    UserDataset detail{"DetailDataset"};
    SimpleContext context;
    Variables vars;
    int groupStart = 0;
    QChar initial;

    explicit OwnerList(int count)
    {
        static const QStringList names = {"Ábel Ödön",       "Éles Íván", "Kővári Ünige", "Őry Ödön",
                                          "Szűcs Gyöngyvér", "Úr Ábel",   "Űrhajós Ágnes"};
        for (int i = 0; i < count; ++i) {
            const QString name = names[i * names.size() / count] + QString(" %1").arg(i);
            zq33.addRow({QString("%1").arg(i + 1, 5, 10, QChar('0')), name, QDate(1950, 1, 1).addDays(i),
                         "Anya " + name, "7100", "Szekszárd", "Fő utca " + QString::number(i), "Lány " + name,
                         "8123456789", "11700000-12345678", "15001010" + QString::number(i % 10)});
        }
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
            initial = zq33.value("nNev")->toString().at(0);
            vars.set("betu", QString(initial));
        };
        detail.onNext = [this] { zq33.next(); };
        detail.onCheckEOF = [this](bool &eof) {
            eof = eof || zq33.eof() || zq33.value("nNev")->toString().at(0) != initial;
        };
        context.addDataset(&master);
        context.addDataset(&detail);
        context.addComponent("ZQ33", &zq33);
        context.addComponent("ZTable8", &ztable8);
    }

    Document build()
    {
        Report report;
        report.load(ZELVANA_SOURCE_DIR "/templates/Tulaj.frf", "Tulaj.frf");
        return report.build(context, vars);
    }
};

// Everything the pages can hold: frames and fills (one half transparent), lines in each style and
// colour, texts in the four styles, aligned, wrapped and coloured.
const QByteArray kShapes = R"(<report name="Minta" page="A4" fontFamily="DejaVu Sans" fontSize="10">
  <margins left="15" top="15" right="15" bottom="15"/>
  <reportTitle height="120">
    <rect x="0" y="0" width="180" height="12" lineWidth="0.5" fill="#dde4ff"/>
    <rect x="5" y="16" width="40" height="20" lineWidth="1" color="#c00000"/>
    <rect x="50" y="16" width="40" height="20" lineWidth="0" fill="#2050a0"/>
    <rect x="70" y="26" width="40" height="20" lineWidth="0" fill="#80ff8000"/>
    <text x="2" y="2" width="176" height="8" size="16" bold="true" align="center" valign="center">Árvíztűrő tükörfúrógép</text>
    <text x="0" y="50" width="90" height="6">Normál: Őry Ödön</text>
    <text x="0" y="57" width="90" height="6" bold="true">Félkövér: Űrhajós Ágnes</text>
    <text x="0" y="64" width="90" height="6" italic="true" color="#b00000">Dőlt: Kővári Ünige</text>
    <text x="0" y="71" width="90" height="6" bold="true" italic="true" color="#0060b0">Félkövér dőlt: Szűcs Gyöngyvér</text>
    <text x="100" y="50" width="80" height="6" align="right">12 345 678,90</text>
    <text x="100" y="57" width="80" height="6" align="right" size="14">Tulajdonos</text>
    <text x="100" y="64" width="80" height="20" wrap="true">Hosszú szöveg, amely több sorba tördelődik a dobozán belül, balra zártan.</text>
    <line x1="0" y1="90" x2="180" y2="90" width="0.2"/>
    <line x1="0" y1="95" x2="180" y2="95" width="0.6" style="dash" color="#008000"/>
    <line x1="0" y1="100" x2="180" y2="100" width="0.8" style="dot" color="#0000c0"/>
    <line x1="20" y1="104" x2="160" y2="118" width="0.4" color="#a000a0"/>
  </reportTitle>
</report>)";

// The same pages moved `dx` mm to the right.
Document shifted(Document doc, double dx)
{
    for (Page &page : doc.pages) {
        for (RectItem &r : page.rects)
            r.rect.translate(dx, 0);
        for (TextItem &t : page.texts) {
            t.rect.translate(dx, 0);
            t.origin.rx() += dx;
            for (TextRun &run : t.runs)
                run.origin.rx() += dx;
        }
        for (LineItem &l : page.lines) {
            l.p1.rx() += dx;
            l.p2.rx() += dx;
        }
    }
    return doc;
}

// The pages of a PDF rendered in grey at `dpi`.
QList<QImage> render(const QString &pdf, int dpi)
{
    const QString prefix = pdf + QString("-%1").arg(dpi);
    const Run r = run("pdftoppm", {"-r", QString::number(dpi), "-gray", pdf, prefix});
    if (r.exitCode != 0 || !r.err.isEmpty())
        return {};
    const QFileInfo info(prefix);
    QList<QImage> pages;
    for (const QString &name : info.dir().entryList({info.fileName() + "-*.pgm"}, QDir::Files, QDir::Name))
        pages << QImage(info.dir().filePath(name)).convertToFormat(QImage::Format_Grayscale8);
    return pages;
}

bool ink(uchar grey)
{
    return grey < 160;
}

// The share of the inked pixels (in either picture) that differ clearly between the two.
double differingInk(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    qint64 inked = 0, differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *pa = a.constScanLine(y), *pb = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            if (!ink(pa[x]) && !ink(pb[x]))
                continue;
            ++inked;
            if (std::abs(int(pa[x]) - int(pb[x])) > 96)
                ++differing;
        }
    }
    return inked ? double(differing) / double(inked) : 1;
}

// Inked pixels of a picture inside a rectangle given in mm.
int inkIn(const QImage &page, const QRectF &mm, int dpi)
{
    const QRect px =
        QRectF(mm.x() * dpi / 25.4, mm.y() * dpi / 25.4, mm.width() * dpi / 25.4, mm.height() * dpi / 25.4)
            .toAlignedRect()
            .intersected(page.rect());
    int n = 0;
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            n += ink(page.constScanLine(y)[x]) ? 1 : 0;
    return n;
}

QString field(const QString &pdfinfo, const QString &name)
{
    const QRegularExpression re("^" + QRegularExpression::escape(name) + ":\\s*(.*)$",
                                QRegularExpression::MultilineOption);
    return re.match(pdfinfo).captured(1).trimmed();
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void accentedTextsComeBackInEachFontStyle_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QString>("face"); // the embedded font's PostScript name
        QTest::newRow("regular") << false << false << "DejaVuSans";
        QTest::newRow("bold") << true << false << "DejaVuSans-Bold";
        QTest::newRow("italic") << false << true << "DejaVuSans-Oblique";
        QTest::newRow("bold italic") << true << true << "DejaVuSans-BoldOblique";
    }
    void accentedTextsComeBackInEachFontStyle()
    {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QString, face);
        const QStringList texts = {"Őry Ödön",        "Űrhajós Ágnes",          "Kővári Ünige",
                                   "Szűcs Gyöngyvér", "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP", "árvíztűrő tükörfúrógép",
                                   "Ελένη Παπαδάκη"};
        QByteArray xml =
            R"(<report name="Betűk" fontFamily="DejaVu Sans" fontSize="11"><reportTitle height="80">)";
        for (int i = 0; i < texts.size(); ++i)
            xml += QString(R"(<text y="%1" width="150" height="8" bold="%2" italic="%3">%4</text>)")
                       .arg(i * 10)
                       .arg(bold ? "true" : "false", italic ? "true" : "false", texts[i])
                       .toUtf8();
        xml += "</reportTitle></report>";
        const Document doc = build(xml);

        QTemporaryDir dir;
        const QString pdf = dir.filePath("betuk.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::Written);

        const Run fonts = run("pdffonts", {pdf});
        QVERIFY_CLEAN(fonts);
        const QStringList rows = fonts.out.split('\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(rows.size(), 1);
        const QStringList cols = rows[0].simplified().split(' ');
        // name, type (two words), encoding, embedded, subset, ToUnicode, object number
        QVERIFY2(cols.size() >= 8, qPrintable(rows[0]));
        QVERIFY2(QRegularExpression("^[A-Z]{6}\\+" + face + "$").match(cols[0]).hasMatch(),
                 qPrintable(cols[0]));
        QCOMPARE(cols.mid(1, 6), (QStringList{"CID", "TrueType", "Identity-H", "yes", "yes", "yes"}));

        const Run text = run("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
        QVERIFY_CLEAN(text);
        for (const QString &t : texts)
            QVERIFY2(text.out.contains(t), qPrintable(t + " missing from:\n" + text.out));
    }

    void pageCountAndSizeFollowTheDocument_data()
    {
        QTest::addColumn<QByteArray>("page"); // attributes of <report>
        QTest::addColumn<int>("rows");        // one page each
        QTest::addColumn<QSizeF>("mm");       // the page as printed
        QTest::newRow("A4 portrait") << QByteArray(R"(page="A4")") << 3 << QSizeF(210, 297);
        QTest::newRow("A4 landscape")
            << QByteArray(R"(page="A4" orientation="landscape")") << 2 << QSizeF(297, 210);
        QTest::newRow("A5") << QByteArray(R"(page="A5")") << 1 << QSizeF(148, 210);
        QTest::newRow("own size") << QByteArray(R"(pageWidth="100" pageHeight="150")") << 4
                                  << QSizeF(100, 150);
    }
    void pageCountAndSizeFollowTheDocument()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, rows);
        QFETCH(QSizeF, mm);
        TableCursor cursor({"n"});
        for (int i = 1; i <= rows; ++i)
            cursor.addRow({QString("Oldal %1").arg(i)});
        QueryDataset dataset("frDBDataSet1", &cursor);
        SimpleContext context;
        context.addDataset(&dataset);
        Variables vars;
        Report report;
        report.loadFromData("<report name=\"Bérbeadók listája\" " + page +
                                R"(><masterData dataset="frDBDataSet1" height="5" pageBreakAfter="true">
  <text width="50" height="5">[frDBDataSet1.n]</text></masterData></report>)",
                            "oldalak.frf");
        const Document doc = report.build(context, vars);
        QCOMPARE(doc.pageCount(), rows);

        QTemporaryDir dir;
        const QString pdf = dir.filePath("oldalak.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::Written);
        const Run info = run("pdfinfo", {"-enc", "UTF-8", pdf});
        QVERIFY_CLEAN(info);
        QCOMPARE(field(info.out, "Pages").toInt(), rows);
        QCOMPARE(field(info.out, "Title"), QString("Bérbeadók listája"));
        QCOMPARE(field(info.out, "Producer"), QString("Zelvana"));
        const QRegularExpressionMatch size =
            QRegularExpression("^([0-9.]+) x ([0-9.]+) pts").match(field(info.out, "Page size"));
        QVERIFY2(size.hasMatch(), qPrintable(info.out));
        QVERIFY(std::abs(size.captured(1).toDouble() - mm.width() * 72 / 25.4) < 0.01);
        QVERIFY(std::abs(size.captured(2).toDouble() - mm.height() * 72 / 25.4) < 0.01);
        // Every page of a landscape document is landscape: not rotated portrait pages.
        const Run last = run("pdfinfo", {"-f", QString::number(rows), "-l", QString::number(rows), pdf});
        QVERIFY_CLEAN(last);
        QVERIFY2(last.out.contains(QRegularExpression("Page +" + QString::number(rows) + " rot: +0")),
                 qPrintable(last.out));
    }

    void documentWithoutPagesGivesOneBlankPage()
    {
        Document doc;
        doc.title = "Üres";
        QTemporaryDir dir;
        const QString pdf = dir.filePath("ures.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::Written);
        const Run info = run("pdfinfo", {"-enc", "UTF-8", pdf});
        QVERIFY_CLEAN(info);
        QCOMPARE(field(info.out, "Pages"), QString("1"));
        QCOMPARE(field(info.out, "Title"), QString("Üres"));
    }

    void crossReferenceTableLeadsToEveryObject()
    {
        // Poppler rebuilds a broken table silently, so the offsets are checked here by hand.
        OwnerList owners(120);
        const Document doc = owners.build();
        QVERIFY(doc.pageCount() > 3);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("tulaj.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::Written);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QVERIFY(data.startsWith("%PDF-1."));
        QVERIFY(data.endsWith("%%EOF\n"));
        const QRegularExpressionMatch start =
            QRegularExpression("startxref\\s+(\\d+)\\s+%%EOF\\s*$").match(QString::fromLatin1(data));
        QVERIFY(start.hasMatch());
        const qsizetype xref = start.captured(1).toLongLong();
        QVERIFY(data.mid(xref, 5) == "xref\n");
        const QRegularExpressionMatch head =
            QRegularExpression("^xref\\n0 (\\d+)\\n").match(QString::fromLatin1(data.mid(xref, 40)));
        QVERIFY(head.hasMatch());
        const int count = head.captured(1).toInt();
        const qsizetype entries = xref + head.capturedLength(0);
        QVERIFY(data.mid(entries, 20) == "0000000000 65535 f \n");
        for (int i = 1; i < count; ++i) {
            const QByteArray entry = data.mid(entries + 20 * i, 20);
            QVERIFY2(entry.endsWith(" 00000 n \n"), entry.constData());
            const qsizetype at = entry.left(10).toLongLong();
            QVERIFY2(data.mid(at).startsWith(QByteArray::number(i) + " 0 obj\n"),
                     qPrintable(QString("object %1 is not at %2").arg(i).arg(at)));
        }
        QVERIFY(data.mid(entries + 20 * count)
                    .startsWith("trailer\n<< /Size " + QByteArray::number(count) + " "));
        // Every page is reached through the page tree.
        const Run info = run("pdfinfo", {pdf});
        QVERIFY_CLEAN(info);
        QCOMPARE(field(info.out, "Pages").toInt(), doc.pageCount());
    }

    void pagesLookLikeThePaintersPages_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("shapes and styles") << "shapes";
        QTest::newRow("owner list") << "owners";
    }
    void pagesLookLikeThePaintersPages()
    {
        QFETCH(QString, which);
        OwnerList owners(60);
        const Document doc = which == "owners" ? owners.build() : build(kShapes);
        QTemporaryDir dir;
        const QString direct = dir.filePath("kozvetlen.pdf"), painted = dir.filePath("festett.pdf"),
                      moved = dir.filePath("eltolt.pdf");
        QCOMPARE(writeDirectPdf(doc, direct), DirectPdfResult::Written);
        QVERIFY(writePdfThroughPainter(doc, painted));
        // Half a millimetre to the right: one pixel at 50 dpi. The measure must see that.
        QCOMPARE(writeDirectPdf(shifted(doc, 0.5), moved), DirectPdfResult::Written);

        const QList<QImage> a = render(direct, 50), b = render(painted, 50), c = render(moved, 50);
        QCOMPARE(a.size(), doc.pageCount());
        QCOMPARE(b.size(), a.size());
        QCOMPARE(c.size(), a.size());
        for (int i = 0; i < a.size(); ++i) {
            QCOMPARE(a[i].size(), b[i].size());
            QVERIFY(inkIn(a[i], QRectF(QPointF(0, 0), doc.pageSizeMm()), 50) > 500);
            const double same = differingInk(a[i], b[i]), off = differingInk(a[i], c[i]);
            qInfo("page %d: %.4f of the ink differs from the painter's, %.4f when moved", i + 1, same, off);
            // Poppler puts each baseline on a whole pixel, so a difference of a hundredth of a point
            // can move a row by one pixel: a few rows a page may differ.
            QVERIFY2(same < 0.05, qPrintable(QString("page %1: %2").arg(i + 1).arg(same)));
            QVERIFY2(off > 4 * same && off > 0.15, qPrintable(QString("page %1: %2").arg(i + 1).arg(off)));
        }
    }

    void textTooLongForItsBoxIsCutAtTheBox()
    {
        const QString text = "Nagyon hosszú tulajdonosnév, amely sehogy sem fér el a dobozában";
        const Document doc = build(QString(R"(<report page="A4"><margins left="20" top="20"/>
  <reportTitle height="10"><text x="0" y="0" width="40" height="6">%1</text></reportTitle></report>)")
                                       .arg(text)
                                       .toUtf8());
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(doc.pages[0].texts.size(), size_t(1));
        const TextItem &item = doc.pages[0].texts[0];
        QVERIFY(item.clipped);
        QCOMPARE(item.rect, QRectF(20, 20, 40, 6));
        Document uncut = doc;
        uncut.pages[0].texts[0].clipped = false;

        QTemporaryDir dir;
        const QString pdf = dir.filePath("vagott.pdf"), whole = dir.filePath("egesz.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::Written);
        QCOMPARE(writeDirectPdf(uncut, whole), DirectPdfResult::Written);
        const QList<QImage> cut = render(pdf, 100), full = render(whole, 100);
        QCOMPARE(cut.size(), 1);
        QCOMPARE(full.size(), 1);
        const QRectF inside(20, 20, 40, 6), beyond(60.5, 18, 80, 10);
        QVERIFY(inkIn(cut[0], inside, 100) > 100);
        QCOMPARE(inkIn(cut[0], beyond, 100), 0);
        QVERIFY(inkIn(full[0], beyond, 100) > 100); // the text does reach beyond the box
        // What is left is still text: its start can be searched.
        const Run r = run("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY_CLEAN(r);
        QVERIFY(r.out.contains("Nagyon hosszú"));
    }

    void charactersMissingFromTheFontAreDrawnFromAFallbackFont()
    {
        // DejaVu Sans has no Chinese: the preview draws 中国 from a fallback face (Droid Sans
        // Fallback, installed by script/bootstrap), and the PDF must say the same.
        const Document doc = build(R"(<report fontFamily="DejaVu Sans"><reportTitle height="10">
  <text width="150" height="6">Kína 中国 Őry Ödön</text></reportTitle></report>)");
        QTemporaryDir dir;
        const QString direct = dir.filePath("kozvetlen.pdf");
        QCOMPARE(writeDirectPdf(doc, direct), DirectPdfResult::NeedsFallback);
        QVERIFY(!QFile::exists(direct));
        const QString pdf = dir.filePath("tartalek.pdf");
        QVERIFY(writePdf(doc, pdf));
        const Run r = run("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY_CLEAN(r);
        QVERIFY2(r.out.contains("Kína") && r.out.contains("中国") && r.out.contains("Őry Ödön"),
                 qPrintable(r.out));
        const Run fonts = run("pdffonts", {pdf});
        QVERIFY_CLEAN(fonts);
        QVERIFY2(fonts.out.contains("DejaVuSans") && fonts.out.contains("DroidSansFallback"),
                 qPrintable(fonts.out));
    }

    void fontsThatCannotBeEmbeddedGoThroughThePainter_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::newRow("outlines that are not TrueType") << "Nimbus Sans" << false;
        QTest::newRow("bold made from a regular face") << "DejaVu Math TeX Gyre" << true;
    }
    void fontsThatCannotBeEmbeddedGoThroughThePainter()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        // script/bootstrap installs both faces; without them this test would prove nothing.
        QVERIFY2(QRawFont::fromFont(QFont(family)).familyName() == family,
                 qPrintable(family + " is not installed"));
        const Document doc = build(QString(R"(<report fontFamily="%1"><reportTitle height="10">
  <text width="150" height="6" bold="%2">Őry Ödön és Űrhajós Ágnes</text></reportTitle></report>)")
                                       .arg(family, bold ? "true" : "false")
                                       .toUtf8());
        QTemporaryDir dir;
        const QString pdf = dir.filePath("tartalek.pdf");
        QCOMPARE(writeDirectPdf(doc, pdf), DirectPdfResult::FontNotEmbeddable);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(writePdf(doc, pdf));
        const Run info = run("pdfinfo", {pdf});
        QVERIFY_CLEAN(info);
        QVERIFY2(field(info.out, "Producer").startsWith("Qt"), qPrintable(info.out));
        const Run text = run("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY_CLEAN(text);
        QVERIFY(text.out.contains("Őry Ödön és Űrhajós Ágnes"));
    }

    void unwritableFileIsReported()
    {
        const Document doc = build(R"(<report><reportTitle height="10">
  <text width="50" height="6">Őry Ödön</text></reportTitle></report>)");
        QTemporaryDir dir;
        QCOMPARE(writeDirectPdf(doc, dir.filePath("nincs/ilyen/mappa.pdf")), DirectPdfResult::CannotWrite);
        QVERIFY(!writePdf(doc, dir.filePath("nincs/ilyen/mappa.pdf")));
    }
};

QTEST_MAIN(TestReportPdf)
#include "test_report_pdf.moc"
