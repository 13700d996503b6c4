// The settlement's money arithmetic, without a database: the balance to the fillér, the rounding
// to 5 forint and the split into banknotes and coins.

#include "settlement/settlement.h"

#include <QTest>

using namespace settlement;

class TestSettlementMoney : public QObject
{
    Q_OBJECT
private slots:
    void roundingToFiveForint_data()
    {
        QTest::addColumn<double>("balance");
        QTest::addColumn<qint64>("amount");
        QTest::newRow("remainder below 3 goes down") << 1102.99 << qint64(1100);
        QTest::newRow("3 goes up") << 1103.0 << qint64(1105);
        QTest::newRow("7,99 goes down") << 1107.99 << qint64(1105);
        QTest::newRow("8 goes up") << 1108.0 << qint64(1110);
        QTest::newRow("a multiple of 5 stays") << 12345.0 << qint64(12345);
        QTest::newRow("7 Ft") << 7.0 << qint64(5);
        QTest::newRow("2 Ft is nothing to pay out") << 2.0 << qint64(0);
        QTest::newRow("negative stays negative") << -500.0 << qint64(-500);
        QTest::newRow("negative, remainder") << -498.0 << qint64(-500);
        QTest::newRow("zero") << 0.0 << qint64(0);
        // 1,13 AK at 100 Ft/AK is 112,99999… in floating point: the fillér decides, not the noise.
        QTest::newRow("fillér noise of 1,13 × 100") << 1.13 * 100 << qint64(115);
        QTest::newRow("fillér noise below") << 0.1 * 3 * 10 - 0.000001 << qint64(5);
    }
    void roundingToFiveForint()
    {
        QFETCH(double, balance);
        QFETCH(qint64, amount);
        QCOMPARE(roundToFive(balance), amount);
    }

    void splitIsGreedyPerOwner_data()
    {
        QTest::addColumn<QList<qint64>>("amounts");
        QTest::addColumn<QList<qint32>>("counts"); // 20000 … 5
        QTest::newRow("12345 and 5 (from 7)")
            << QList<qint64>{12345, 5} << QList<qint32>{0, 1, 0, 1, 0, 0, 1, 1, 0, 2, 0, 2};
        QTest::newRow("two owners with 15 each")
            << QList<qint64>{15, 15} << QList<qint32>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2};
        QTest::newRow("a negative amount adds nothing")
            << QList<qint64>{-500, 20000} << QList<qint32>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("every denomination once")
            << QList<qint64>{38885} << QList<qint32>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    }
    void splitIsGreedyPerOwner()
    {
        QFETCH(QList<qint64>, amounts);
        QFETCH(QList<qint32>, counts);
        Counts c{};
        for (qint64 a : amounts)
            split(a, c);
        QCOMPARE(QList<qint32>(c.begin(), c.end()), counts);
    }

    void countLinesAlignTheValues()
    {
        QCOMPARE(countLine(0, 3), QString("20000 Ft =   3 db"));
        QCOMPARE(countLine(5, 0), QString("  500 Ft =   0 db"));
        QCOMPARE(countLine(11, 12), QString("    5 Ft =   12 db"));
    }
};

QTEST_GUILESS_MAIN(TestSettlementMoney)
#include "test_settlement_money.moc"
