#include "foundation/datasource.h"
#include "foundation/tdata.h"
#include "support/testdb.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

class TestDataSource : public QObject
{
    Q_OBJECT
private slots:
    void followsItsQuery()
    {
        TestDb db(true);
        TData &d = db.data();
        QAbstractItemModelTester tester(d.DQ100, QAbstractItemModelTester::FailureReportingMode::QtTest);
        d.DQ100->setColumns({{"fFekves", "Fekvés"}, {"fKod", "Kód"}, {"IDf", ""}});
        QSignalSpy current(d.DQ100, &DataSource::currentChanged);
        Query *q = d.ZQ100;
        q->close();
        q->clearSql();
        q->addSql("SELECT * FROM fekves ");
        q->addSql("         ORDER BY fFekves ");
        q->open();
        QCOMPARE(d.DQ100->rowCount(), 3);
        QCOMPARE(d.DQ100->columnCount(), 3);
        QCOMPARE(d.DQ100->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Fekvés"));
        QCOMPARE(d.DQ100->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QString("IDf"));
        QCOMPARE(d.DQ100->index(0, 0).data().toString(), QString("belterület"));
        QCOMPARE(d.DQ100->index(2, 0).data().toString(), QString("zártkert"));
        d.DQ100->setCurrentRow(2);
        QCOMPARE(q->fieldText("fKod"), QString("3"));
        QVERIFY(current.count() >= 2);
        QCOMPARE(current.last().first().toInt(), 2);
        q->close();
        QCOMPARE(d.DQ100->rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDataSource)
#include "test_datasource.moc"
