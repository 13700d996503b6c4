#include "foundation/codes.h"
#include "foundation/tdata.h"
#include "support/testdb.h"

#include <QTest>

class TestCodes : public QObject
{
    Q_OBJECT
private slots:
    void nextCode_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty table starts at 1") << QStringList{} << "1";
        QTest::newRow("one to nine") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"} << "10";
        QTest::newRow("one to ten: numbers, not text order")
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"} << "11";
        QTest::newRow("gaps") << QStringList{"3", "10234", "77"} << "10235";
        QTest::newRow("codes that are not numbers are passed over") << QStringList{"A7", "5", "x"} << "6";
        QTest::newRow("leading zeros") << QStringList{"0009", "8"} << "10";
    }
    void nextCode()
    {
        QFETCH(QStringList, codes);
        QFETCH(QString, next);
        TestDb db;
        for (const auto &c : codes)
            db.exec(QString("INSERT INTO varos (vKod, vHelyseg) VALUES ('%1', 'x')").arg(c));
        Query *q = db.data().ZQ63;
        q->close();
        q->clearSql();
        q->addSql("SELECT  * FROM varos ");
        q->addSql("          ORDER BY vKod ");
        q->open();
        QCOMPARE(::nextCode(*q, "vKod"), next);
    }
};

QTEST_GUILESS_MAIN(TestCodes)
#include "test_codes.moc"
