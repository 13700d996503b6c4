#include "foundation/formats.h"

#include <QTest>
#include <clocale>

class TestFormats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A Hungarian desktop locale must not leak into the SQL or the display formats
        // (script/bootstrap generates it; without it this test would prove nothing).
        QVERIFY2(std::setlocale(LC_ALL, "hu_HU.UTF-8") != nullptr, "the locale hu_HU.UTF-8 is not generated");
        QCOMPARE(QString::fromLatin1(std::localeconv()->decimal_point), QString(","));
    }

    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("sql");
        QTest::newRow("fraction") << 1234.5 << "1234,5"
                                  << "1234.5";
        QTest::newRow("whole") << 100.0 << "100"
                               << "100";
        QTest::newRow("twelve and a half") << 12.5 << "12,5"
                                           << "12.5";
        QTest::newRow("no binary noise") << 0.1 + 0.2 << "0,3"
                                         << "0.3";
        QTest::newRow("negative") << -7.25 << "-7,25"
                                  << "-7.25";
        QTest::newRow("zero") << 0.0 << "0"
                              << "0";
        QTest::newRow("negative zero") << -0.0 << "0"
                                       << "0";
        QTest::newRow("hectares with square metres") << 3.4567 << "3,4567"
                                                     << "3.4567";
    }
    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, display);
        QFETCH(QString, sql);
        QCOMPARE(formats::formatGeneral(value), display);
        QCOMPARE(formats::formatSql(value), sql);
    }

    void grouped_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        const QString nb(QChar(0x00A0));
        QTest::newRow("millions") << 1234567.891 << 2 << "1" + nb + "234" + nb + "567,89";
        QTest::newRow("small") << 999.0 << 0 << "999";
        QTest::newRow("thousand") << 1000.0 << 0 << "1" + nb + "000";
        QTest::newRow("negative") << -25098.0 << 2 << "-25" + nb + "098,00";
        QTest::newRow("rounds to zero") << -0.001 << 2 << "0,00";
    }
    void grouped()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(formats::formatGrouped(value, decimals), text);
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "12,5" << true << 12.5;
        QTest::newRow("point") << "12.5" << true << 12.5;
        QTest::newRow("one and a half") << "1,5" << true << 1.5;
        QTest::newRow("blanks around") << " 7 " << true << 7.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("trailing comma") << "5," << true << 5.0;
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        auto v = formats::parseNumber(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("short date") << "2010.05.17" << QDate(2010, 5, 17);
        QTest::newRow("trailing dot") << "2010.05.17." << QDate(2010, 5, 17);
        QTest::newRow("one digit") << "2010.5.7" << QDate(2010, 5, 7);
        QTest::newRow("no such day") << "2010.02.30" << QDate();
        QTest::newRow("dashes") << "2010-05-17" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        auto d = formats::parseDate(text);
        QCOMPARE(d.has_value(), date.isValid());
        if (date.isValid()) {
            QCOMPARE(*d, date);
            QCOMPARE(formats::formatSqlDate(*d), date.toString("yyyy-MM-dd"));
        }
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
