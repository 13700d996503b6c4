#include "foundation/formats.h"
#include "foundation/query.h"
#include "foundation/tdata.h"
#include "support/testdb.h"

#include <QTest>
#include <memory>

// Query conventions against a real server: substitution, reading as text, locate, refresh,
// case-insensitive names and the CP1250 wire.
class TestQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    Query *q = nullptr;

    void sql(const QStringList &lines)
    {
        q->close();
        q->clearSql();
        for (const auto &l : lines)
            q->addSql(l);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>(true);
        q = db->data().ZQ53;
    }
    void cleanup()
    {
        q = nullptr;
        db.reset();
    }

    void substitution_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("unset parameter is NULL") << "SELECT :p2" << QByteArray("SELECT NULL");
        QTest::newRow("p1 beside p10") << "SELECT :p1, :p10" << QByteArray("SELECT 'one', 'ten'");
        QTest::newRow("parameter inside a literal is left alone")
            << "SELECT ':p1', \":p1\", :p1" << QByteArray("SELECT ':p1', \":p1\", 'one'");
        QTest::newRow("escaped quote inside a literal")
            << "SELECT 'it\\'s :p1', :p1" << QByteArray("SELECT 'it\\'s :p1', 'one'");
        QTest::newRow("case of the name") << "SELECT :P1" << QByteArray("SELECT 'one'");
        QTest::newRow("colon in a time literal") << "SELECT '10:30'" << QByteArray("SELECT '10:30'");
    }
    void substitution()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);
        sql({text});
        q->setText("p1", "one");
        q->setText("p10", "ten");
        QCOMPARE(q->boundStatement(), sent);
    }

    void valuesStoredAndReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "O'Brien";
        QTest::newRow("backslash") << "C:\\temp\\x";
        QTest::newRow("double quote") << "a \"b\" c";
        QTest::newRow("accents") << "áéíóöőúüű ÁÉÍÓÖŐÚÜŰ";
        QTest::newRow("line break") << "first\nsecond";
        QTest::newRow("empty") << "";
    }
    void valuesStoredAndReadBack()
    {
        QFETCH(QString, name);
        sql({"INSERT INTO varos ( vKod, vHelyseg ) ", "   VALUES        (   :p1,    :p2   ) "});
        q->setText("p1", "77");
        q->setText("p2", name);
        q->execSql();
        sql({"SELECT * FROM varos WHERE vKod = :p1"});
        q->setText("p1", "77");
        q->open();
        QCOMPARE(q->rowCount(), 1);
        QCOMPARE(q->fieldText("vHelyseg"), name);
        // The server stored the same characters (checked over a UTF-8 connection).
        QCOMPARE(db->scalar("SELECT vHelyseg FROM varos WHERE vKod='77'"), name);
    }

    void numbersAndDatesAreSentInServerForm()
    {
        sql({"SELECT :p1 AS n, :p2 AS m, :p3 AS d"});
        q->setNumber("p1", 12.5);
        q->setNumber("p2", 100);
        q->setDate("p3", QDate(2010, 5, 17));
        QCOMPARE(q->boundStatement(), QByteArray("SELECT 12.5 AS n, 100 AS m, '2010-05-17' AS d"));
        q->open();
        QCOMPARE(q->fieldNumber("n"), 12.5);
    }

    void valuesReadAsText()
    {
        db->exec("INSERT INTO tulaj (nKod, nNev, nSzido, nSzja) VALUES ('1', 'Kovács', '2010-05-17', 1234.5),"
                 " ('2', 'Nagy', NULL, NULL)");
        sql({"SELECT * FROM tulaj ORDER BY nKod"});
        q->open();
        QCOMPARE(q->fieldText("nSzja"), QString("1234,5"));
        QCOMPARE(q->fieldText("nSzido"), QString("2010.05.17"));
        QCOMPARE(q->fieldDate("nSzido"), QDate(2010, 5, 17));
        q->next();
        QCOMPARE(q->fieldText("nSzido"), QString());
        QCOMPARE(q->fieldText("nSzja"), QString());
        QCOMPARE(q->fieldNumber("nSzja"), 0.0);
        QVERIFY(q->isNull("nSzja"));
    }

    void feeTypedWithCommaReadsBackWithComma()
    {
        sql({"UPDATE muvag SET mDij = :p1 WHERE mKod = '1'"});
        q->setNumber("p1", *formats::parseNumber("12,5"));
        q->execSql();
        sql({"SELECT * FROM muvag WHERE mKod = '1'"});
        q->open();
        QCOMPARE(q->fieldText("mDij"), QString("12,5"));
        QCOMPARE(db->scalar("SELECT mDij FROM muvag WHERE mKod='1'"), QString("12.5"));
    }

    void emptyResultReadsAsNull()
    {
        sql({"SELECT hNkod, count(hNKod) as db ", "  FROM  haszn           ", "  WHERE (hNkod = :p1) ",
             "  GROUP BY hNkod      "});
        q->setText("p1", "1");
        q->open();
        QVERIFY(q->eof());
        QCOMPARE(q->fieldInt("db"), qint64(0));
        QCOMPARE(q->fieldText("hNkod"), QString());
    }

    void unknownFieldIsAnError()
    {
        sql({"SELECT * FROM muvag"});
        q->open();
        try {
            q->fieldText("nincsilyen");
            QFAIL("no error");
        } catch (const DbError &e) {
            QCOMPARE(e.text(), QString("Field 'nincsilyen' not found"));
        }
    }

    void serverErrorCarriesServerText()
    {
        sql({"SELECT * FROM nincstabla"});
        try {
            q->open();
            QFAIL("no error");
        } catch (const DbError &e) {
            QVERIFY2(e.text().startsWith("SQL Error: "), qPrintable(e.text()));
            QVERIFY(e.text().contains("nincstabla"));
        }
    }

    void namesWithoutRegardToCase()
    {
        db->exec("INSERT INTO tabla (tKod, tHrsz) VALUES ('1', '0123/4')");
        sql({"SELECT * FROM Tabla JOIN Muvag ON muvag.mKOd = tabla.tMkod OR 1=1 WHERE tKOD = '1' LIMIT 1"});
        q->open();
        QCOMPARE(q->fieldText("THRSZ"), QString("0123/4"));
        QVERIFY(!q->fieldText("mKOd").isEmpty());
    }

    void navigation()
    {
        sql({"SELECT * FROM fekves ORDER BY fKod"});
        q->open();
        QCOMPARE(q->fieldText("fKod"), QString("1"));
        QVERIFY(!q->eof());
        q->last();
        QCOMPARE(q->fieldText("fKod"), QString("3"));
        q->next();
        QVERIFY(q->eof());
        QCOMPARE(q->fieldText("fKod"), QString("3")); // stays on the last row
        q->first();
        q->prior();
        QVERIFY(q->bof());
        QCOMPARE(q->fieldText("fKod"), QString("1"));
    }

    void locate_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("current");
        QTest::newRow("1 finds 12 first") << "1" << true << "12";
        QTest::newRow("21") << "21" << true << "21";
        QTest::newRow("no match leaves the row") << "9" << false << "21";
        QTest::newRow("empty matches the first") << "" << true << "12";
    }
    void locate()
    {
        QFETCH(QString, value);
        QFETCH(bool, found);
        QFETCH(QString, current);
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES ('12','Bugac'),('1','Szank'),('21','Gátér')");
        sql({"SELECT * FROM varos ORDER BY IDv"});
        q->open();
        q->last(); // start from the last row, 21
        QCOMPARE(q->locate("vKod", value), found);
        QCOMPARE(q->fieldText("vKod"), current);
    }

    void locateIgnoresCase()
    {
        db->exec(
            "INSERT INTO varos (vKod, vHelyseg) VALUES ('1','Bugac'),('2','Ágasegyháza'),('3','ártánd')");
        sql({"SELECT * FROM varos ORDER BY IDv"});
        q->open();
        QVERIFY(q->locate("vHelyseg", "ÁR"));
        QCOMPARE(q->fieldText("vKod"), QString("3"));
        QVERIFY(q->locate("vHelyseg", "bu"));
        QCOMPARE(q->fieldText("vKod"), QString("1"));
        // Hungarian accented letters, upper and lower case alike, and none of them is its plain twin.
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES "
                 "('4','őrszentmiklós'),('5','Ürbőpuszta'),('6','Orosháza')");
        sql({"SELECT * FROM varos ORDER BY IDv"});
        q->open();
        QVERIFY(q->locate("vHelyseg", "ŐR"));
        QCOMPARE(q->fieldText("vKod"), QString("4"));
        QVERIFY(q->locate("vHelyseg", "ürbŐ"));
        QCOMPARE(q->fieldText("vKod"), QString("5"));
        QVERIFY(q->locate("vHelyseg", "or"));
        QCOMPARE(q->fieldText("vKod"), QString("6"));
        QVERIFY(!q->locate("vHelyseg", "Ártándi"));
        QCOMPARE(q->fieldText("vKod"), QString("6"));
    }

    void locateCodeMatchesTheWholeCode_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("current");
        QTest::newRow("1 is 1, not 12") << "1" << true << "1";
        QTest::newRow("case does not matter") << "b7" << true << "B7";
        QTest::newRow("a beginning only: the row stays") << "2" << false << "21";
        QTest::newRow("empty: the first row") << "" << true << "12";
    }
    void locateCodeMatchesTheWholeCode()
    {
        QFETCH(QString, value);
        QFETCH(bool, found);
        QFETCH(QString, current);
        db->exec("INSERT INTO varos (vKod, vHelyseg) VALUES "
                 "('12','Bugac'),('1','Szank'),('B7','Gátér'),('21','Ős')");
        sql({"SELECT * FROM varos ORDER BY IDv"});
        q->open();
        q->last(); // start from the last row, 21
        QCOMPARE(q->locateCode("vKod", value), found);
        QCOMPARE(q->fieldText("vKod"), current);
    }

    void reopenReadsAgainOnlyWhenSomethingWasWritten()
    {
        Connection *c = db->data().ZCon1;
        const QStringList lines{"SELECT * FROM fekves ", "  ORDER BY fKod "};
        QVERIFY(q->reopen(lines));
        q->last();
        const quint64 sent = c->statementsSent();
        QVERIFY(!q->reopen(lines)); // the same lines, nothing written: kept, on the first row
        QCOMPARE(c->statementsSent(), sent);
        QCOMPARE(q->rowIndex(), 0);
        Query *other = db->data().ZQ102;
        other->setSql({"INSERT INTO fekves (fKod, fFekves) VALUES ('9', 'új')"});
        other->execSql();
        QVERIFY(q->reopen(lines)); // a write since: read again
        QCOMPARE(q->rowCount(), 4);
        other->setSql({"SELECT count(*) AS db FROM fekves"});
        other->open(); // reads change nothing
        QVERIFY(!q->reopen(lines));
        QVERIFY(q->reopen({"SELECT * FROM fekves ", "  ORDER BY fFekves "})); // other lines
    }

    void sessionHasTheSqlModeTheProgramReliesOn()
    {
        // Even on a server configured otherwise (ANSI_QUOTES would make "x" a column name).
        db->exec("SET GLOBAL sql_mode = 'ANSI_QUOTES,ONLY_FULL_GROUP_BY'");
        TData other(db->settings());
        db->exec(
            "SET GLOBAL sql_mode = 'STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'");
        Query *p = other.ZQ63;
        p->setSql({"SELECT @@SESSION.sql_mode AS m, \"x\" AS t"});
        p->open();
        QCOMPARE(p->fieldText("m"), QString(Connection::sqlMode()));
        QCOMPARE(p->fieldText("t"), QString("x"));
    }

    void refreshKeepsRowOrFallsBackToFirst()
    {
        sql({"SELECT * FROM fekves ORDER BY fKod"});
        q->open();
        q->next();
        QCOMPARE(q->fieldText("fKod"), QString("2"));
        q->refresh();
        QCOMPARE(q->fieldText("fKod"), QString("2"));
        db->exec("DELETE FROM fekves WHERE fKod = '2'");
        q->refresh();
        QCOMPARE(q->rowCount(), 2);
        QCOMPARE(q->fieldText("fKod"), QString("1"));
    }

    void cp1250RoundTripOfEveryAccent()
    {
        const QString all = QString::fromUtf8("á é í ó ö ő ú ü ű Á É Í Ó Ö Ő Ú Ü Ű");
        QCOMPARE(Cp1250::decode(Cp1250::encode(all).constData(), Cp1250::encode(all).size()), all);
        QCOMPARE(Cp1250::encode(QString::fromUtf8("ő")), QByteArray("\xF5"));
        QCOMPARE(Cp1250::encode(QString::fromUtf8("Ű")), QByteArray("\xDB"));
        // And through the server.
        db->exec(QString::fromUtf8("INSERT INTO fekves (fKod, fFekves) VALUES ('9', '%1')").arg(all));
        sql({"SELECT fFekves FROM fekves WHERE fKod = :p1"});
        q->setText("p1", "9");
        q->open();
        QCOMPARE(q->fieldText("fFekves"), all);
    }

    void textCp1250CannotCarryIsRefusedBeforeSending()
    {
        QStringList shown;
        Connection::refusalNotifier() = [&](const QString &m) { shown << m; };
        sql({"INSERT INTO varos ( vKod, vHelyseg ) ", "   VALUES        (   :p1,    :p2   ) "});
        q->setText("p1", "50");
        q->setText("p2", QString::fromUtf8("Kecskemét \u20AC\u4E2D"));
        QVERIFY_THROWS_EXCEPTION(EncodingError, q->execSql());
        Connection::refusalNotifier() = nullptr;
        QCOMPARE(shown.size(), 1);
        // The message names the character (the euro sign is in CP1250; the CJK character is not).
        QVERIFY2(shown.first().contains(QString::fromUtf8("\u4E2D")), qPrintable(shown.first()));
        QVERIFY(shown.first().contains("nem tárolható"));
        QCOMPARE(db->scalar("SELECT count(*) FROM varos WHERE vKod='50'"), QString("0"));
    }

    void transactionsAreStatements()
    {
        sql({"START TRANSACTION"});
        q->execSql();
        sql({"INSERT INTO varos ( vKod, vHelyseg ) VALUES ('60', 'Szank')"});
        q->execSql();
        sql({"ROLLBACK"});
        q->execSql();
        QCOMPARE(db->scalar("SELECT count(*) FROM varos WHERE vKod='60'"), QString("0"));
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "test_query.moc"
