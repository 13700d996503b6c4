// Bank account numbers: Hungarian numbers with their two check digits, IBANs with their mod-97
// check, the Hungarian IBAN of a Hungarian number, and what is neither.

#include "foundation/account.h"

#include <QTest>

Q_DECLARE_METATYPE(account::Kind)

class TestAccount : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        using K = account::Kind;
        QTest::addColumn<QString>("typed");
        QTest::addColumn<K>("kind");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("iban");
        const QString hu42 = "HU42117730161111101800000000";
        QTest::newRow("16 digits with a hyphen")
            << "11773016-11111018" << K::Hungarian << "11773016-11111018" << hu42;
        QTest::newRow("16 digits together")
            << "1177301611111018" << K::Hungarian << "11773016-11111018" << hu42;
        QTest::newRow("24 digits with blanks")
            << " 11773016 11111018 00000000 " << K::Hungarian << "11773016-11111018-00000000" << hu42;
        QTest::newRow("24 digits, third block not zero")
            << "10918001-00000068-52930012" << K::Hungarian << "10918001-00000068-52930012"
            << "HU43109180010000006852930012";
        QTest::newRow("a swapped pair of digits") << "17173016-11111018" << K::Invalid << "17173016-11111018"
                                                  << "";
        QTest::newRow("wrong first check digit") << "11773017-11111018" << K::Invalid << "11773017-11111018"
                                                 << "";
        QTest::newRow("wrong last check digit") << "11773016-11111019" << K::Invalid << "11773016-11111019"
                                                << "";
        QTest::newRow("15 digits") << "117730161111101" << K::Invalid << "117730161111101"
                                   << "";
        QTest::newRow("25 digits") << "1177301611111018000000000" << K::Invalid << "1177301611111018000000000"
                                   << "";
        QTest::newRow("letters in a domestic number")
            << "1177301b-11111018" << K::Invalid << "1177301b-11111018"
            << "";
        QTest::newRow("German IBAN") << "DE89 3704 0044 0532 0130 00" << K::Iban
                                     << "DE89 3704 0044 0532 0130 00"
                                     << "DE89370400440532013000";
        QTest::newRow("British IBAN, letters, lower case")
            << "gb82west12345698765432" << K::Iban << "GB82 WEST 1234 5698 7654 32"
            << "GB82WEST12345698765432";
        QTest::newRow("Austrian IBAN") << "AT611904300234573201" << K::Iban << "AT61 1904 3002 3457 3201"
                                       << "AT611904300234573201";
        QTest::newRow("German IBAN, wrong check")
            << "DE88 3704 0044 0532 0130 00" << K::Invalid << "DE88 3704 0044 0532 0130 00"
            << "";
        QTest::newRow("German IBAN, one digit short")
            << "DE89 3704 0044 0532 0130 0" << K::Invalid << "DE89 3704 0044 0532 0130 0"
            << "";
        QTest::newRow("unknown country") << "XX89370400440532013000" << K::Invalid << "XX89370400440532013000"
                                         << "";
        QTest::newRow("Hungarian IBAN") << "HU42 1177 3016 1111 1018 0000 0000" << K::Iban
                                        << "HU42 1177 3016 1111 1018 0000 0000" << hu42;
        // Its mod-97 digits are right, but the number inside fails the Hungarian check.
        QTest::newRow("Hungarian IBAN of a bad number")
            << account::hungarianIban("1717301611111018") << K::Invalid
            << account::hungarianIban("1717301611111018") << "";
        QTest::newRow("nothing") << "" << K::Empty << ""
                                 << "";
        QTest::newRow("blanks and hyphens") << "  - " << K::Empty << ""
                                            << "";
        QTest::newRow("words") << " nincs " << K::Invalid << "nincs"
                               << "";
    }
    void parse()
    {
        QFETCH(QString, typed);
        QFETCH(account::Kind, kind);
        QFETCH(QString, display);
        QFETCH(QString, iban);
        const account::Number n = account::parse(typed);
        QCOMPARE(n.kind, kind);
        QCOMPARE(n.display, display);
        QCOMPARE(n.iban, iban);
        QCOMPARE(n.valid(), kind == account::Kind::Hungarian || kind == account::Kind::Iban);
        // What is valid gives an IBAN that is itself valid.
        if (n.valid())
            QVERIFY(account::ibanValid(n.iban));
    }

    void hungarianIbanPadsAndChecks()
    {
        QCOMPARE(account::hungarianIban("1177301611111018"), QString("HU42117730161111101800000000"));
        QCOMPARE(account::hungarianIban("117730161111101800000000"), QString("HU42117730161111101800000000"));
        // Check digits below 10 keep their leading zero.
        bool small = false;
        for (int bank = 100; bank < 1000 && !small; ++bank) {
            QString first = QString::number(bank) + "0000";
            for (int d = 0; d <= 9; ++d) {
                const QString g = first + QString::number(d);
                if (account::hungarianValid(g + "00000000")) {
                    const QString iban = account::hungarianIban(g + "00000000");
                    QCOMPARE(iban.size(), 28);
                    QVERIFY(account::ibanValid(iban));
                    small = small || iban.mid(2, 1) == "0";
                }
            }
        }
        QVERIFY(small);
    }
};

QTEST_APPLESS_MAIN(TestAccount)
#include "test_account.moc"
