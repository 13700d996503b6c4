// Reading templates: expressions split into pieces, value formats, and the messages of broken files.

#include "reports/engine/expression.h"
#include "reports/engine/report.h"
#include "reports/engine/template.h"
#include "reports/engine/variables.h"

#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

using namespace report;

namespace {

QByteArray page(const QByteArray &bands)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report page=\"A4\">\n" + bands + "</report>\n";
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void expressionPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // kind:text per piece

        QTest::newRow("literal only") << "Bérbeadók listája" << QStringList{"L:Bérbeadók listája"};
        QTest::newRow("label and field")
            << "Adószám: [ZTable8.BAdoszam]" << QStringList{"L:Adószám: ", "F:ZTable8.BAdoszam"};
        QTest::newRow("dataset field") << "[frDBDataSet53.mMuvag]" << QStringList{"F:frDBDataSet53.mMuvag"};
        QTest::newRow("variable") << "[betu]" << QStringList{"V:betu"};
        QTest::newRow("page numbers")
            << "[PAGE#]. oldal / [TOTALPAGES#]" << QStringList{"P:", "L:. oldal / ", "T:"};
        QTest::newRow("special names ignore case")
            << "[page#][Date][time][line#]" << QStringList{"P:", "D:", "H:", "N:"};
        QTest::newRow("escaped brackets")
            << "[[nem mező]] [v_mAK]" << QStringList{"L:[nem mező] ", "V:v_mAK"};
        QTest::newRow("lone closing bracket") << "a]b" << QStringList{"L:a]b"};
        QTest::newRow("spaces inside brackets") << "[ ZQ33.nNev ]" << QStringList{"F:ZQ33.nNev"};
        QTest::newRow("format") << "[v_mAK|N2] Ft" << QStringList{"V:v_mAK", "L: Ft"};
    }
    void expressionPieces()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const Expression e = parseExpression(text);
        QStringList got;
        for (const Piece &p : e.pieces) {
            switch (p.kind) {
            case Piece::Kind::Literal:
                got << "L:" + p.text;
                break;
            case Piece::Kind::Field:
                got << "F:" + p.component + "." + p.text;
                break;
            case Piece::Kind::Variable:
                got << "V:" + p.text;
                break;
            case Piece::Kind::Page:
                got << "P:";
                break;
            case Piece::Kind::TotalPages:
                got << "T:";
                break;
            case Piece::Kind::Date:
                got << "D:";
                break;
            case Piece::Kind::Time:
                got << "H:";
                break;
            case Piece::Kind::Line:
                got << "N:";
                break;
            }
        }
        QCOMPARE(got, expected);
    }

    void pageReferencesAreMarked()
    {
        QVERIFY(parseExpression("[PAGE#]").hasPageRefs);
        QVERIFY(parseExpression("x [TOTALPAGES#]").hasPageRefs);
        QVERIFY(!parseExpression("[ZQ33.nNev] [DATE]").hasPageRefs);
    }

    void badExpressions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("message");
        QTest::newRow("unclosed") << "Név: [ZQ33.nNev" << 5 << "without a closing";
        QTest::newRow("empty") << "a [] b" << 3 << "empty expression";
        QTest::newRow("nested") << "[a[b]]" << 2 << "inside an expression";
        QTest::newRow("bad name") << "[v mAK]" << 1 << "invalid name";
        QTest::newRow("field without name") << "[ZQ33.]" << 1 << "invalid field reference";
        QTest::newRow("unknown format") << "[v_mAK|X2]" << 7 << "unknown format";
        QTest::newRow("date format on page") << "[PAGE#|yyyy]" << 1 << "does not fit";
    }
    void badExpressions()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QString, message);
        try {
            parseExpression(text);
            QFAIL("no error");
        } catch (const ExpressionError &e) {
            QCOMPARE(e.offset, offset);
            QVERIFY2(e.what.contains(message), qPrintable(e.what));
        }
    }

    void valueFormats_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format"); // empty: none
        QTest::addColumn<QString>("expected");
        const QString nbsp(QChar(0x00A0));
        QTest::newRow("null") << QVariant() << ""
                              << "";
        QTest::newRow("null with format") << QVariant() << "N2"
                                          << "";
        QTest::newRow("number general") << QVariant(1234.5) << ""
                                        << "1234,5";
        QTest::newRow("integer general") << QVariant(42) << ""
                                         << "42";
        QTest::newRow("float sum") << QVariant(0.1 + 0.2) << ""
                                   << "0,3";
        QTest::newRow("grouped") << QVariant(1234567.891) << "N2"
                                 << "1" + nbsp + "234" + nbsp + "567,89";
        QTest::newRow("grouped no decimals") << QVariant(12345.6) << "N0"
                                             << "12" + nbsp + "346";
        QTest::newRow("grouped N alone") << QVariant(999.0) << "n"
                                         << "999";
        QTest::newRow("fixed") << QVariant(1234.5) << "F2"
                               << "1234,50";
        QTest::newRow("general explicit") << QVariant(2.25) << "G"
                                          << "2,25";
        QTest::newRow("number kept in text column") << QVariant(QString("1234.5")) << "N1"
                                                    << "1" + nbsp + "234,5";
        QTest::newRow("text not a number") << QVariant(QString("abc")) << "N2"
                                           << "abc";
        QTest::newRow("text as is") << QVariant(QString("[ZQ33.nNev]")) << ""
                                    << "[ZQ33.nNev]";
        QTest::newRow("date default") << QVariant(QDate(2026, 3, 5)) << ""
                                      << "2026.03.05";
        QTest::newRow("date pattern") << QVariant(QDate(2026, 3, 5)) << "yyyy. MMMM d."
                                      << "2026. március 5.";
        QTest::newRow("date text with pattern") << QVariant(QString("2026.3.5")) << "yyyy-MM-dd"
                                                << "2026-03-05";
    }
    void valueFormats()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const ValueFormat f = format.isEmpty() ? ValueFormat{} : parseFormat(format);
        QCOMPARE(formatValue(value, f), expected);
    }

    void variablesIgnoreCaseAndKeepValues()
    {
        Variables vars;
        QVERIFY(!vars.contains("v_mAK"));
        QVERIFY(vars.value("v_mAK").isNull());
        vars.set("v_mAK", 12.5);
        vars.set("V_MAK", 20.0); // the same variable
        vars.set("betu", QString("Á"));
        QCOMPARE(vars.value("v_mak").toDouble(), 20.0);
        QCOMPARE(vars.names(), (QStringList{"betu", "v_mAK"}));
        QCOMPARE(vars.value("BETU").toString(), QString("Á"));
        QVERIFY(vars.findFolded(Variables::foldName("V_mAk")) != nullptr);
    }

    void bandsAndObjectsAreRead()
    {
        const Template t = parseTemplate(page(R"(
  <margins left='10' top='12' right='8' bottom='9'/>
  <pageHeader height='20' onFirstPage='false'>
    <text x='1' y='2' width='100' height='5' size='12' bold='true' italic='true' align='right' valign='bottom'
          wrap='true' frame='left, bottom' frameWidth='0.3' color='#ff0000'>[ZTable8.BNeve]</text>
    <line x1='0' y1='19' x2='190' y2='19' width='0.5' style='dash'/>
  </pageHeader>
  <masterData dataset='frDBDataSet31' height='6,5' printIfDetailEmpty='true'>
    <rect x='0' y='0' width='190' height='6' lineWidth='0' fill='#eeeeee'/>
    <text x='0' y='0' width='50' height='5'>[zq30.NKOD] [Zq30.nNev]</text>
  </masterData>
  <detailData dataset='frDBDataSet6' height='5' stretch='true'/>
  <detailFooter height='5'/>
  <masterFooter height='5'/>
  <pageFooter height='8'/>
)"),
                                         "minden.frf");
        QCOMPARE(t.margins, QMarginsF(10, 12, 8, 9));
        QCOMPARE(int(t.bands.size()), 5 + 1);
        QCOMPARE(t.pageHeader, 0);
        QCOMPARE(t.pageFooter, 5);
        QVERIFY(!t.bands[0].onFirstPage);
        const TextObject &head = t.bands[0].texts.at(0);
        QCOMPARE(head.font.size, 12.0);
        QVERIFY(head.font.bold && head.font.italic && head.wrap);
        QCOMPARE(head.align, Qt::AlignRight | Qt::AlignBottom);
        QCOMPARE(head.frame, unsigned(FrameLeft | FrameBottom));
        QCOMPARE(head.color, QColor(Qt::red));
        QCOMPARE(head.font.family, QString("DejaVu Sans")); // the default family
        QCOMPARE(t.bands[0].lines.at(0).style, Qt::DashLine);
        QCOMPARE(t.bands[1].height, 6.5); // a decimal comma is accepted too
        QVERIFY(t.bands[1].printIfDetailEmpty);
        QVERIFY(t.bands[1].rects.at(0).fill.isValid());
        QVERIFY(t.bands[2].stretch);

        QCOMPARE(int(t.groups.size()), 1);
        QCOMPARE(t.groups[0].master, 1);
        QCOMPARE(t.groups[0].details.size(), size_t(1));
        QCOMPARE(t.groups[0].details[0].data, 2);
        QCOMPARE(t.groups[0].details[0].footer, 3);
        QCOMPARE(t.groups[0].masterFooter, 4);

        // One component slot per component, whatever the letter case of its name.
        QCOMPARE(t.components.size(), 2);
        const TextObject &row = t.bands[1].texts.at(0);
        QCOMPARE(row.expr.pieces[0].slot, row.expr.pieces[2].slot);
        QCOMPARE(t.componentNames.at(row.expr.pieces[0].slot), QString("zq30"));
    }

    void pageSettings_data()
    {
        QTest::addColumn<QByteArray>("root");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<int>("orientation"); // -1: not given
        QTest::newRow("A4 portrait") << QByteArray("page=\"A4\" orientation=\"portrait\"") << QSizeF(210, 297)
                                     << 0;
        QTest::newRow("A4 landscape")
            << QByteArray("page=\"a4\" orientation=\"Landscape\"") << QSizeF(210, 297) << 1;
        QTest::newRow("A5, no orientation") << QByteArray("page=\"A5\"") << QSizeF(148, 210) << -1;
        QTest::newRow("custom") << QByteArray("pageWidth=\"100\" pageHeight=\"150\"") << QSizeF(100, 150)
                                << -1;
    }
    void pageSettings()
    {
        QFETCH(QByteArray, root);
        QFETCH(QSizeF, size);
        QFETCH(int, orientation);
        const Template t = parseTemplate("<report " + root + "/>", "lap.frf");
        const QSizeF got = t.pageSize.size(QPageSize::Millimeter);
        QVERIFY2(qAbs(got.width() - size.width()) < 0.5 && qAbs(got.height() - size.height()) < 0.5,
                 qPrintable(QString("%1 x %2").arg(got.width()).arg(got.height())));
        QCOMPARE(t.orientation.has_value(), orientation >= 0);
        if (orientation >= 0)
            QCOMPARE(int(*t.orientation), orientation);
    }

    void brokenTemplates_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("what");
        QTest::newRow("unclosed element")
            << QByteArray("<report>\n  <pageHeader height=\"5\">\n"
                          "    <text width=\"5\" height=\"5\">x</text>\n</report>\n")
            << 4 << "";
        QTest::newRow("bad entity") << QByteArray("<report>\n<pageHeader height=\"5\">\n<text width=\"5\" "
                                                  "height=\"5\">a &nbsp; b</text></pageHeader></report>")
                                    << 3 << "";
        QTest::newRow("unknown attribute")
            << page("  <pageHeader heigth=\"5\"/>\n") << 3 << "unknown attribute 'heigth' of <pageHeader>";
        QTest::newRow("missing height")
            << page("  <pageFooter/>\n") << 3 << "<pageFooter> needs the attribute 'height'";
        QTest::newRow("not a number")
            << page("\n  <pageFooter height=\"öt\"/>\n") << 4 << "is not a number: 'öt'";
        QTest::newRow("unknown band")
            << page("  <detail height=\"5\"/>\n") << 3 << "unknown element <detail>";
        QTest::newRow("unknown object")
            << page("  <pageFooter height=\"5\">\n    <image/>\n  </pageFooter>\n") << 4
            << "unknown element <image> in <pageFooter>";
        QTest::newRow("broken expression") << page("  <pageFooter height=\"5\">\n    <text width=\"9\" "
                                                   "height=\"5\">[PAGE#</text>\n  </pageFooter>\n")
                                           << 4 << "at character 1: '[' without a closing ']'";
        QTest::newRow("detail without master") << page("  <detailData dataset=\"D\" height=\"5\"/>\n") << 3
                                               << "<detailData> must follow a <masterData> band";
        QTest::newRow("detail without dataset")
            << page("  <masterData height=\"5\"/>\n  <detailData height=\"5\"/>\n") << 4
            << "<detailData> needs the attribute 'dataset'";
        QTest::newRow("band twice") << page("  <pageFooter height=\"5\"/>\n  <pageFooter height=\"5\"/>\n")
                                    << 4 << "<pageFooter> given twice";
        QTest::newRow("bad boolean") << page("  <masterData height=\"5\" stretch=\"igen\"/>\n") << 3
                                     << "must be true or false";
        QTest::newRow("footer before its detail")
            << page("  <masterData height=\"5\" dataset=\"M\"/>\n  <detailFooter height=\"5\"/>\n") << 4
            << "<detailFooter> must follow its <detailData>";
        QTest::newRow("header without detail")
            << page("  <masterData height=\"5\" dataset=\"M\"/>\n  <detailHeader height=\"5\"/>\n") << 4
            << "<detailHeader> needs a <detailData> band under its <masterData>";
        QTest::newRow("mark without detail")
            << page("\n\n  <masterData height=\"5\" dataset=\"M\" printIfDetailEmpty=\"true\"/>\n") << 5
            << "'printIfDetailEmpty' needs a <detailData> band";
        QTest::newRow("wrong root") << QByteArray("<?xml version=\"1.0\"?>\n<riport/>") << 2
                                    << "the root element must be <report>";
        QTest::newRow("bad page size")
            << QByteArray("<report page=\"A9\"/>") << 1 << "unknown page size 'A9'";
        QTest::newRow("margins fill the page")
            << page("  <margins left=\"100\" right=\"100\"/>\n") << 4 << "the margins leave no room";
    }
    void brokenTemplates()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, line);
        QFETCH(QString, what);
        try {
            parseTemplate(xml, "broken.frf");
            QFAIL("the template was accepted");
        } catch (const ReportError &e) {
            const QString prefix = QString("Template broken.frf, line %1, column ").arg(line);
            QVERIFY2(e.message().startsWith(prefix), qPrintable(e.message()));
            QVERIFY2(e.message().contains(what), qPrintable(e.message()));
            QCOMPARE(e.title(), QString("Error"));
        }
    }

    void documentedExampleIsAValidTemplate()
    {
        QFile file(QStringLiteral(ZELVANA_SOURCE_DIR "/docs/templates.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray doc = file.readAll();
        const int section = doc.indexOf("## A complete example");
        QVERIFY(section > 0);
        const int start = doc.indexOf("```xml\n", section);
        const int end = doc.indexOf("```", start + 7);
        QVERIFY(start > 0 && end > start);
        const Template t = parseTemplate(doc.mid(start + 7, end - start - 7), "example.frf");
        QCOMPARE(int(t.groups.size()), 1);
        QVERIFY(t.groups[0].details.size() == 1 && t.groups[0].details[0].footer >= 0);
        QVERIFY(t.pageHeader >= 0 && t.columnHeader >= 0 && t.reportSummary >= 0 && t.pageFooter >= 0);
    }

    void loadNamesTheMissingFile()
    {
        Report r;
        QVERIFY(r.hasTemplate()); // the built-in layout
        try {
            r.load("/nonexistent/dir/nincs.frf", "nincs.frf");
            QFAIL("loaded");
        } catch (const TemplateFileError &e) {
            QCOMPARE(e.message(), QString("Cannot open file nincs.frf"));
        }
        QVERIFY(!r.hasTemplate()); // the template held before is dropped
    }

    void builtInLayoutIsTheOwnerListFile()
    {
        QFile file(QStringLiteral(ZELVANA_SOURCE_DIR "/templates/Tulaj.frf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(builtInLayout(), file.readAll());
        const Template t = parseTemplate(builtInLayout(), "Tulaj.frf");
        QCOMPARE(int(t.groups.size()), 1);
        QCOMPARE(t.bands[size_t(t.groups[0].master)].dataset, QString("MasterDataset"));
        QCOMPARE(t.bands[size_t(t.groups[0].details[0].data)].dataset, QString("DetailDataset"));
        QVERIFY(t.pageHeader >= 0 && t.pageFooter >= 0 && t.reportTitle >= 0);
    }
};

QTEST_MAIN(TestReportTemplates)
#include "test_report_templates.moc"
