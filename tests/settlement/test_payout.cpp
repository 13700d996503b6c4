// The rent payout: whole-forint amounts; the batch transfer file checked against the ISO 20022
// schema and read back; the CSV; and the payout window TForm31 over a small register (owners with a
// Hungarian account, a foreign IBAN, none, a wrong one, an overpaid one), its totals as lines are
// ticked, the files it writes, the tenant's account, and the two lists read from the built pages.

#include "app/registry.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "settlement/payout.h"
#include "settlement/payoutwindow.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// Branch 1 at 123,45 Ft/AK, branch 2 at 200. Bakos: no account, owes 1000. Csonka: a wrong
// account, owes 800. Erdős: an Austrian IBAN, 2 AK at 123,45 = 246,90 → 247. Kiss: 10 AK at
// 123,45 = 1234,50 → 1235. Dénes: overpaid. Fekete: 0,002 AK at 200 = 0,40 → nothing.
const char *kRegister = R"(
UPDATE muvag SET mDij = 123.45 WHERE mKod = '1';
UPDATE muvag SET mDij = 200 WHERE mKod = '2';
INSERT INTO varos (vKod, vHelyseg) VALUES ('1', 'Bugac');
INSERT INTO tulaj (nKod, nNev, nIrszam, nHely, nUtca, nSzla) VALUES
  ('1', 'Kiss Anna', '2000', 'Szentendre', 'Fő u. 1.', '1177301611111018'),
  ('2', 'Bakos Ferenc', '6114', 'Bugac', 'Fő u. 66.', ''),
  ('3', 'Csonka Irén', '6131', 'Szank', 'Béke u. 1.', '11773016-11111019'),
  ('4', 'Dénes Dóra', '6000', 'Kecskemét', 'Rákóczi út 2.', '11773016-11111018'),
  ('5', 'Erdős Éva', '1011', 'Budapest', 'Fő utca 9.', 'AT61 1904 3002 3457 3201'),
  ('6', 'Fekete Ferenc', '6100', 'Kiskunfélegyháza', 'Kossuth u. 4.', NULL);
INSERT INTO tabla (tKod, tHrsz, tMkod, tAK, tHA, tUkod, tVkod, tFkod) VALUES ('1', '0123/4', '1', 100, 10, '1', '1', '1');
INSERT INTO haszn (hKod, hSzam, hNkod) VALUES ('1', 'K-1', '1'), ('2', 'B-2', '2'), ('3', 'C-3', '3'),
  ('4', 'D-4', '4'), ('5', 'E-5', '5'), ('6', 'F-6', '6');
INSERT INTO alresz (aKod, aHkod, aTkod, aMkod, aAK, aHA) VALUES
  ('1', '1', '1', '1', 10, 1), ('2', '2', '1', '2', 5, 0.5), ('3', '3', '1', '2', 4, 0.4),
  ('4', '4', '1', '2', 1, 0.1), ('5', '5', '1', '1', 2, 0.2), ('6', '6', '1', '2', 0.002, 0.001);
INSERT INTO kifiz (kKod, kDatum, kMegnev, kNkod, kFt, kFeladas) VALUES ('1', '2026-03-01', 'előleg', '4', 500, '');
INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam, BSzla)
  VALUES ('Homokhát & Társa Kft.', '6100', 'Kiskunfélegyháza', 'Majsai út 5.', '12345678-2-03', '10405114-49512870-00000000');
)";

const QString kTenantIban = QStringLiteral("HU27104051144951287000000000");

QString schema()
{
    return TestDb::sourceDir() + QStringLiteral("/tests/data/pain.001.001.03.xsd");
}

// xmllint's verdict on a file against the schema: empty when valid, else its messages.
QString schemaErrors(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("xmllint"),
            {QStringLiteral("--noout"), QStringLiteral("--schema"), schema(), file});
    if (!p.waitForFinished(30000))
        return QStringLiteral("xmllint did not finish");
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

// What a pain.001 file says: the header's count and sum, and each transaction's name, IBAN,
// amount text and remittance.
struct Parsed
{
    QString msgId, nbOfTxs, ctrlSum, pmtNbOfTxs, pmtCtrlSum, debtorName, debtorIban, execution;
    struct Tx
    {
        QString name, iban, amount, currency, text, endToEnd;
    };
    QList<Tx> txs;
};

Parsed parse(const QByteArray &xml)
{
    Parsed p;
    QXmlStreamReader r(xml);
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            path << r.name().toString();
            if (path.endsWith(QStringLiteral("CdtTrfTxInf")))
                p.txs.append(Parsed::Tx{});
            if (r.name() == QLatin1String("InstdAmt"))
                p.txs.last().currency = r.attributes().value(QStringLiteral("Ccy")).toString();
        } else if (r.isEndElement()) {
            path.removeLast();
        } else if (r.isCharacters() && !r.isWhitespace()) {
            const QString at = path.join(QLatin1Char('/')), t = r.text().toString();
            const QString head = QStringLiteral("Document/CstmrCdtTrfInitn/");
            if (at == head + "GrpHdr/MsgId")
                p.msgId = t;
            else if (at == head + "GrpHdr/NbOfTxs")
                p.nbOfTxs = t;
            else if (at == head + "GrpHdr/CtrlSum")
                p.ctrlSum = t;
            else if (at == head + "PmtInf/NbOfTxs")
                p.pmtNbOfTxs = t;
            else if (at == head + "PmtInf/CtrlSum")
                p.pmtCtrlSum = t;
            else if (at == head + "PmtInf/Dbtr/Nm")
                p.debtorName = t;
            else if (at == head + "PmtInf/DbtrAcct/Id/IBAN")
                p.debtorIban = t;
            else if (at == head + "PmtInf/ReqdExctnDt")
                p.execution = t;
            else if (at.endsWith("CdtTrfTxInf/Cdtr/Nm"))
                p.txs.last().name = t;
            else if (at.endsWith("CdtTrfTxInf/CdtrAcct/Id/IBAN"))
                p.txs.last().iban = t;
            else if (at.endsWith("CdtTrfTxInf/Amt/InstdAmt"))
                p.txs.last().amount = t;
            else if (at.endsWith("CdtTrfTxInf/RmtInf/Ustrd"))
                p.txs.last().text = t;
            else if (at.endsWith("CdtTrfTxInf/PmtId/EndToEndId"))
                p.txs.last().endToEnd = t;
        }
    }
    if (r.hasError())
        p.msgId = QStringLiteral("PARSE ERROR: ") + r.errorString();
    return p;
}

// Checks the rules every batch file keeps: the counts, the control sums equal to the sum of the
// amounts, every IBAN valid, every amount positive with at most two decimals, HUF.
void checkBatch(const Parsed &p)
{
    QCOMPARE(p.nbOfTxs, QString::number(p.txs.size()));
    QCOMPARE(p.pmtNbOfTxs, p.nbOfTxs);
    static const QRegularExpression amount(QStringLiteral("^[0-9]+(\\.[0-9]{1,2})?$"));
    qint64 cents = 0;
    for (const auto &t : p.txs) {
        QVERIFY2(amount.match(t.amount).hasMatch(), qPrintable(t.amount));
        const double v = t.amount.toDouble();
        QVERIFY(v > 0);
        cents += qRound64(v * 100);
        QVERIFY2(account::ibanValid(t.iban), qPrintable(t.iban));
        QCOMPARE(t.currency, QString("HUF"));
        QVERIFY(t.endToEnd.size() <= 35 && !t.endToEnd.isEmpty());
    }
    QCOMPARE(qRound64(p.ctrlSum.toDouble() * 100), cents);
    QCOMPARE(p.pmtCtrlSum, p.ctrlSum);
    QVERIFY(account::ibanValid(p.debtorIban));
}

payout::Line line(const QString &code, const QString &name, const QString &acct, qint64 forint)
{
    payout::Line l;
    l.code = code;
    l.name = name;
    l.accountText = acct;
    l.account = account::parse(acct);
    l.forint = forint;
    l.way = payout::Way::Transfer;
    return l;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Fixture
{
    TestDb db{true};
    UiDriver driver;
    Fixture()
    {
        db.exec(QString::fromUtf8(kRegister));
        db.data().reopenTableViews();
    }
};

QString totalsText(const TForm31 &w)
{
    QString t = w.Label3->text();
    t.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    t.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    t.replace(QRegularExpression(QStringLiteral(" {2,}")), QStringLiteral(" ")); // not the amounts' nbsp
    return t.trimmed();
}

} // namespace

class TestPayout : public QObject
{
    Q_OBJECT
private slots:
    void init() { mv() = ModuleValues{}; }

    void wholeForintRoundsHalfUpFromTheFiller_data()
    {
        QTest::addColumn<double>("balance");
        QTest::addColumn<qint64>("forint");
        QTest::newRow("half") << 1234.5 << qint64(1235);
        QTest::newRow("below half") << 1234.49 << qint64(1234);
        QTest::newRow("noise below half a fillér") << 1234.4999999 << qint64(1235); // 1234,50 to the fillér
        QTest::newRow("whole") << 1000.0 << qint64(1000);
        QTest::newRow("forty fillér") << 0.4 << qint64(0);
        QTest::newRow("overpaid") << -300.0 << qint64(-300);
    }
    void wholeForintRoundsHalfUpFromTheFiller()
    {
        QFETCH(double, balance);
        QFETCH(qint64, forint);
        QCOMPARE(payout::wholeForint(balance), forint);
    }

    // The file of a batch, names with characters XML must escape, a foreign and a Hungarian
    // account: valid against the schema, and saying what was put in.
    void batchFileIsValidAndReadsBack()
    {
        payout::Batch b;
        b.debtorName = QStringLiteral("Homokhát & Társa <Kft.>");
        b.debtorAccount = account::parse(QStringLiteral("10405114-49512870-00000000"));
        b.created = QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7));
        b.executionDate = QDate(2026, 12, 14);
        b.remittance = QStringLiteral("Földbérleti díj 2026");
        b.lines = {line("1", "Kiss Anna", "1177301611111018", 1235),
                   line("5", "Erdős \"Éva\" & fia", "AT611904300234573201", 247),
                   line("12345", QString(150, QLatin1Char('x')), "11773016-11111018-00000000", 100000)};
        const QByteArray xml = payout::pain001(b);
        QTemporaryDir dir;
        const QString file = dir.filePath("batch.xml");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(xml);
        f.close();
        QCOMPARE(schemaErrors(file), QString());
        const Parsed p = parse(xml);
        checkBatch(p);
        QCOMPARE(p.msgId, QString("ZELV-20261210-090507"));
        QCOMPARE(p.ctrlSum, QString("101482"));
        QCOMPARE(p.debtorName, b.debtorName);
        QCOMPARE(p.debtorIban, kTenantIban);
        QCOMPARE(p.execution, QString("2026-12-14"));
        QCOMPARE(p.txs.size(), 3);
        QCOMPARE(p.txs[0].iban, QString("HU42117730161111101800000000"));
        QCOMPARE(p.txs[0].amount, QString("1235"));
        QCOMPARE(p.txs[1].name, QString("Erdős \"Éva\" & fia"));
        QCOMPARE(p.txs[1].iban, QString("AT611904300234573201"));
        QCOMPARE(p.txs[2].name.size(), 140); // the standard's longest name
        QCOMPARE(p.txs[2].endToEnd, QString("ZELV-12345-20261210"));
        for (const auto &t : p.txs)
            QCOMPARE(t.text, QString("Földbérleti díj 2026"));
        // The CSV: the same lines, a field with a quote or a semicolon quoted.
        b.lines[1].name = QStringLiteral("Erdős; \"Éva\"");
        const QStringList csv = QString::fromUtf8(payout::csv(b)).split(QStringLiteral("\r\n"));
        QCOMPARE(csv.value(0), QString("Kiss Anna;11773016-11111018;1235;Földbérleti díj 2026"));
        QCOMPARE(csv.value(1),
                 QString("\"Erdős; \"\"Éva\"\"\";AT611904300234573201;247;Földbérleti díj 2026"));
        QCOMPARE(csv.value(3), QString()); // three lines and the last line's end
        QCOMPARE(csv.size(), 4);
    }

    void windowListsTheOwnersStillToBePaidWithTheirWay()
    {
        Fixture f;
        TForm31 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm31");
        QVERIFY(w.rebuilt());
        QCOMPARE(w.windowTitle(), QString("Átutalás"));
        QCOMPARE(w.Edit1->text(), QString("10405114-49512870-00000000"));
        QCOMPARE(w.Edit2->text(), QString("Földbérleti díj %1").arg(QDate::currentDate().year()));
        QStringList shown;
        for (const payout::Line &l : w.lines())
            shown << l.name + "|" + l.accountShown() + "|" + QString::number(l.forint);
        // By name; Dénes (overpaid) and Fekete (0,40 Ft) are not there.
        QCOMPARE(shown,
                 (QStringList{"Bakos Ferenc|postai utalvány|1000",
                              "Csonka Irén|hibás számlaszám: 11773016-11111019|800",
                              "Erdős Éva|AT61 1904 3002 3457 3201|247", "Kiss Anna|11773016-11111018|1235"}));
        QCOMPARE(w.payoutTicks(), std::vector<bool>(4, true));
        QCOMPARE(totalsText(w), QString("Átutalás: 2 fő, 1\u00a0482 Ft Postai utalvány: 1 fő, 1\u00a0000 Ft "
                                        "Hibás számlaszám: 1 fő, 800 Ft — nem kerül a fájlba"));
        w.setTicked(3, false); // Kiss
        w.setTicked(1, false); // Csonka
        QCOMPARE(totalsText(w), QString("Átutalás: 1 fő, 247 Ft Postai utalvány: 1 fő, 1\u00a0000 Ft"));
        w.Button3->click();
        QCOMPARE(totalsText(w), QString("Átutalás: 0 fő, 0 Ft Postai utalvány: 0 fő, 0 Ft"));
        w.Button8->click();
        QCOMPARE(w.payoutTicks(), std::vector<bool>(4, true));
        QVERIFY(f.driver.boxes.isEmpty());
        // Nothing is posted here.
        QCOMPARE(f.db.scalar("SELECT count(*) FROM kifiz"), QString("1"));
    }

    void transferFileHoldsTheTickedOwnersWithAValidAccount()
    {
        Fixture f;
        TForm31 w;
        QVERIFY(wt::showActive(w));
        QTemporaryDir dir;
        w.Edit2->setText("Bérleti díj 2026 I. félév");
        f.driver.saveNames = {dir.filePath("kifizetes")};
        QTest::mouseClick(w.Button5, Qt::LeftButton);
        QCOMPARE(f.driver.proposals.size(), 1);
        QVERIFY(f.driver.proposals[0].endsWith(".xml"));
        const QString xmlPath = dir.filePath("kifizetes.xml"), csvPath = dir.filePath("kifizetes.csv");
        QCOMPARE(schemaErrors(xmlPath), QString());
        const Parsed p = parse(readFile(xmlPath));
        checkBatch(p);
        QStringList txs;
        for (const auto &t : p.txs)
            txs << t.name + "|" + t.iban + "|" + t.amount + "|" + t.text;
        // Csonka (wrong account) and Bakos (postal order) are not in it.
        QCOMPARE(txs, (QStringList{"Erdős Éva|AT611904300234573201|247|Bérleti díj 2026 I. félév",
                                   "Kiss Anna|HU42117730161111101800000000|1235|Bérleti díj 2026 I. félév"}));
        QCOMPARE(p.ctrlSum, QString("1482"));
        QCOMPARE(p.debtorIban, kTenantIban);
        QCOMPARE(p.debtorName, QString("Homokhát & Társa Kft."));
        QCOMPARE(p.execution, QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(QString::fromUtf8(readFile(csvPath)),
                 QString("Erdős Éva;AT611904300234573201;247;Bérleti díj 2026 I. félév\r\n"
                         "Kiss Anna;11773016-11111018;1235;Bérleti díj 2026 I. félév\r\n"));
        QCOMPARE(QFile::permissions(xmlPath) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(f.driver.boxes.size(), 1);
        QVERIFY2(
            f.driver.lastText().startsWith("Az átutalási fájl elkészült: 2 tétel, összesen 1\u00a0482 Ft."),
            qPrintable(f.driver.lastText()));
        QVERIFY(f.driver.lastText().contains(
            "1 megjelölt tulajdonos hibás számlaszám miatt nem került a fájlba."));

        // An existing file is not replaced unless the user says so.
        QFile::remove(csvPath);
        QFile old(xmlPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("régi");
        old.close();
        f.driver.clear();
        f.driver.saveNames = {xmlPath};
        f.driver.answers = {false};
        QTest::mouseClick(w.Button5, Qt::LeftButton);
        QCOMPARE(f.driver.boxes.size(), 1);
        QCOMPARE(f.driver.boxes[0].kind, ui::BoxKind::Question);
        QCOMPARE(readFile(xmlPath), QByteArray("régi"));
        QVERIFY(!QFile::exists(csvPath));
        f.driver.saveNames = {xmlPath};
        f.driver.answers = {true};
        w.setTicked(2, false); // Erdős
        QTest::mouseClick(w.Button5, Qt::LeftButton);
        QCOMPARE(parse(readFile(xmlPath)).nbOfTxs, QString("1"));
        QVERIFY(QFile::exists(csvPath));
        // Cancelling the dialog writes nothing and says nothing.
        f.driver.clear();
        QTest::mouseClick(w.Button5, Qt::LeftButton);
        QVERIFY(f.driver.boxes.isEmpty());
    }

    // What keeps the file from being made: no valid paying account, a past date, no text, nobody
    // with a valid account ticked.
    void transferFileIsRefusedWithAReason_data()
    {
        QTest::addColumn<QString>("payer");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("untickTransfers");
        QTest::addColumn<QString>("message");
        const QString today = QDate::currentDate().toString("yyyy.MM.dd");
        QTest::newRow("no paying account") << "" << today << "díj" << false << "A fizető számla";
        QTest::newRow("wrong paying account")
            << "10405114-49512871" << today << "díj" << false << "A fizető számla";
        QTest::newRow("yesterday") << "10405114-49512870"
                                   << QDate::currentDate().addDays(-1).toString("yyyy.MM.dd") << "díj"
                                   << false << "A terhelés napja nem lehet";
        QTest::newRow("no date") << "10405114-49512870"
                                 << "2026.13.45"
                                 << "díj" << false << "Hibás dátum!";
        QTest::newRow("no text") << "10405114-49512870" << today << "  " << false << "Üres a közlemény!";
        QTest::newRow("nobody to transfer to") << "10405114-49512870" << today << "díj" << true
                                               << "Nincs megjelölt tulajdonos érvényes számlaszámmal";
    }
    void transferFileIsRefusedWithAReason()
    {
        QFETCH(QString, payer);
        QFETCH(QString, day);
        QFETCH(QString, text);
        QFETCH(bool, untickTransfers);
        QFETCH(QString, message);
        Fixture f;
        TForm31 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setText(payer);
        w.Edit3->setText(day);
        w.Edit2->setText(text);
        if (untickTransfers) {
            w.setTicked(2, false);
            w.setTicked(3, false);
        }
        QTest::mouseClick(w.Button5, Qt::LeftButton);
        QCOMPARE(f.driver.boxes.size(), 1);
        QVERIFY2(f.driver.lastText().startsWith(message), qPrintable(f.driver.lastText()));
        QVERIFY(f.driver.proposals.isEmpty()); // no file dialog
    }

    void tenantAccountIsStoredLikeAnOwners()
    {
        Fixture f;
        TForm31 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setText("11773016 11111018");
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QVERIFY(f.driver.boxes.isEmpty());
        QCOMPARE(f.db.scalar("SELECT BSzla FROM berlo"), QString("11773016-11111018"));
        QCOMPARE(w.Edit1->text(), QString("11773016-11111018"));
        QCOMPARE(Data().ZTable8->fieldText("BSzla"), QString("11773016-11111018")); // the prints' header
        w.Edit1->setText("1234");
        QTest::mouseClick(w.Button4, Qt::LeftButton);
        QCOMPARE(f.driver.boxes.size(), 1);
        QCOMPARE(f.driver.boxes[0].kind, ui::BoxKind::Confirm);
        QCOMPARE(f.db.scalar("SELECT BSzla FROM berlo"), QString("1234"));
    }

    void listsOfTransfersAndPostalOrdersPrintTheTickedLines()
    {
        Fixture f;
        QVERIFY(wt::copyTemplate("atutalas.frf"));
        QVERIFY(wt::copyTemplate("utalvany.frf"));
        TForm31 w;
        QVERIFY(wt::showActive(w));
        std::vector<QStringList> transfer, postal;
        f.driver.onModal([&](QDialog &d) {
            auto *p = qobject_cast<report::PreviewDialog *>(&d);
            QVERIFY(p);
            transfer.push_back(wt::allTexts(p->document()));
        });
        f.driver.onModal([&](QDialog &d) {
            auto *p = qobject_cast<report::PreviewDialog *>(&d);
            QVERIFY(p);
            postal.push_back(wt::allTexts(p->document()));
        });
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QVERIFY2(f.driver.boxes.isEmpty(), qPrintable(f.driver.texts().join('|')));
        QCOMPARE(transfer.size(), size_t(1));
        QCOMPARE(postal.size(), size_t(1));
        const QStringList &t = transfer[0], &p = postal[0];
        QVERIFY(t.contains("Átutalási lista"));
        QVERIFY(t.contains("Terhelendő számla: 10405114-49512870-00000000"));
        QVERIFY(t.contains("Erdős Éva") && t.contains("Kiss Anna"));
        QVERIFY(t.contains("AT61 1904 3002 3457 3201") && t.contains("11773016-11111018"));
        QVERIFY(t.contains("IBAN: HU42117730161111101800000000"));
        QVERIFY(t.contains("1\u00a0235") && t.contains("247"));
        QVERIFY(t.contains("Összesen: 2 átutalás"));
        QVERIFY(t.contains("1\u00a0482 Ft"));
        QVERIFY(!t.contains("Csonka Irén") && !t.contains("Bakos Ferenc"));
        QVERIFY(p.contains("Postai utalvány lista"));
        QVERIFY(p.contains("Bakos Ferenc") && p.contains("6114") && p.contains("Bugac") &&
                p.contains("Fő u. 66."));
        QVERIFY(p.contains("Összesen: 1 utalvány"));
        QVERIFY(p.contains("1\u00a0000 Ft"));
        QVERIFY(!p.contains("Csonka Irén") && !p.contains("Kiss Anna"));
        // Only a list with lines is printed.
        w.setTicked(0, false); // Bakos, the one postal order
        f.driver.onModal([](QDialog &) {});
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(f.driver.modalClasses().size(), 3);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestPayout t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_payout.moc"
