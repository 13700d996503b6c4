#include "settlement/payout.h"

#include "foundation/connection.h"
#include "foundation/tdata.h"
#include "settlement/settlement.h"

#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace payout {

QString Line::address() const
{
    const QString place = (postcode + QLatin1Char(' ') + town).trimmed();
    return street.trimmed().isEmpty() ? place : place + u", "_s + street.trimmed();
}

QString Line::accountShown() const
{
    switch (way) {
    case Way::Transfer:
        return account.display;
    case Way::Postal:
        return u"postai utalvány"_s;
    case Way::BadAccount:
        break;
    }
    return u"hibás számlaszám: "_s + accountText.trimmed();
}

qint64 wholeForint(double balance)
{
    const qint64 filler = settlement::toFiller(balance);
    // Half up, also below zero (where it no longer matters: such owners get nothing).
    return filler >= 0 ? (filler + 50) / 100 : -((-filler + 49) / 100);
}

QList<Line> lines(TData &d)
{
    Query *q = d.ZQ115;
    q->setSql({u"SELECT b.*, tulaj.nSzla "_s, u"  FROM ( "_s + settlement::balanceLineWithAddress(),
               u"         FROM munk  GROUP BY xNKod ) AS b "_s,
               u"  LEFT JOIN tulaj ON tulaj.nKod = b.xNKod "_s, u"  ORDER BY b.xnNev, b.xNKod "_s});
    q->open();
    QList<Line> out;
    for (q->first(); !q->eof(); q->next()) {
        Line l;
        l.forint = wholeForint(q->fieldNumber(u"sum_fizetni"_s));
        if (l.forint <= 0)
            continue; // nothing to pay, or overpaid
        l.code = q->fieldText(u"xNKod"_s);
        l.name = q->fieldText(u"xnNev"_s);
        l.postcode = q->fieldText(u"xnIrszam"_s);
        l.town = q->fieldText(u"xnHely"_s);
        l.street = q->fieldText(u"xnUtca"_s);
        l.accountText = q->fieldText(u"nSzla"_s);
        l.account = account::parse(l.accountText);
        l.way = l.account.kind == account::Kind::Empty ? Way::Postal
                : l.account.valid()                    ? Way::Transfer
                                                       : Way::BadAccount;
        out.append(l);
    }
    return out;
}

Totals totals(const QList<Line> &lines, const std::vector<bool> &ticked)
{
    Totals t;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (size_t(i) < ticked.size() && !ticked[size_t(i)])
            continue;
        const Line &l = lines[i];
        switch (l.way) {
        case Way::Transfer:
            ++t.transfers;
            t.transferSum += l.forint;
            break;
        case Way::Postal:
            ++t.postal;
            t.postalSum += l.forint;
            break;
        case Way::BadAccount:
            ++t.bad;
            t.badSum += l.forint;
            break;
        }
    }
    return t;
}

QString Batch::messageId() const
{
    return u"ZELV-"_s + created.toString(u"yyyyMMdd-HHmmss"_s);
}

qint64 Batch::controlSum() const
{
    qint64 sum = 0;
    for (const Line &l : lines)
        sum += l.forint;
    return sum;
}

namespace {
// Texts of the file are at most `max` characters (the standard's Max35Text, Max140Text).
QString cut(const QString &s, int max)
{
    return s.trimmed().left(max);
}
} // namespace

QByteArray pain001(const Batch &b)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(2);
    x.writeStartDocument();
    x.writeDefaultNamespace(u"urn:iso:std:iso:20022:tech:xsd:pain.001.001.03"_s);
    x.writeStartElement(u"Document"_s);
    x.writeStartElement(u"CstmrCdtTrfInitn"_s);

    const QString count = QString::number(b.lines.size());
    const QString sum = QString::number(b.controlSum());
    x.writeStartElement(u"GrpHdr"_s);
    x.writeTextElement(u"MsgId"_s, b.messageId());
    x.writeTextElement(u"CreDtTm"_s, b.created.toString(u"yyyy-MM-ddTHH:mm:ss"_s));
    x.writeTextElement(u"NbOfTxs"_s, count);
    x.writeTextElement(u"CtrlSum"_s, sum);
    x.writeStartElement(u"InitgPty"_s);
    x.writeTextElement(u"Nm"_s, cut(b.debtorName, 140));
    x.writeEndElement(); // InitgPty
    x.writeEndElement(); // GrpHdr

    x.writeStartElement(u"PmtInf"_s);
    x.writeTextElement(u"PmtInfId"_s, b.messageId() + u"-1"_s);
    x.writeTextElement(u"PmtMtd"_s, u"TRF"_s);
    x.writeTextElement(u"BtchBookg"_s, u"true"_s);
    x.writeTextElement(u"NbOfTxs"_s, count);
    x.writeTextElement(u"CtrlSum"_s, sum);
    x.writeTextElement(u"ReqdExctnDt"_s, b.executionDate.toString(u"yyyy-MM-dd"_s));
    x.writeStartElement(u"Dbtr"_s);
    x.writeTextElement(u"Nm"_s, cut(b.debtorName, 140));
    x.writeEndElement();
    x.writeStartElement(u"DbtrAcct"_s);
    x.writeStartElement(u"Id"_s);
    x.writeTextElement(u"IBAN"_s, b.debtorAccount.iban);
    x.writeEndElement();
    x.writeTextElement(u"Ccy"_s, u"HUF"_s);
    x.writeEndElement(); // DbtrAcct
    // The paying bank is the one that receives the file: it need not be named.
    x.writeStartElement(u"DbtrAgt"_s);
    x.writeStartElement(u"FinInstnId"_s);
    x.writeStartElement(u"Othr"_s);
    x.writeTextElement(u"Id"_s, u"NOTPROVIDED"_s);
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement(); // DbtrAgt

    const QString day = b.created.toString(u"yyyyMMdd"_s);
    for (const Line &l : b.lines) {
        x.writeStartElement(u"CdtTrfTxInf"_s);
        x.writeStartElement(u"PmtId"_s);
        x.writeTextElement(u"EndToEndId"_s, cut(u"ZELV-%1-%2"_s.arg(l.code.trimmed(), day), 35));
        x.writeEndElement();
        x.writeStartElement(u"Amt"_s);
        x.writeStartElement(u"InstdAmt"_s);
        x.writeAttribute(u"Ccy"_s, u"HUF"_s);
        x.writeCharacters(QString::number(l.forint));
        x.writeEndElement();
        x.writeEndElement(); // Amt
        x.writeStartElement(u"Cdtr"_s);
        x.writeTextElement(u"Nm"_s, cut(l.name, 140));
        x.writeEndElement();
        x.writeStartElement(u"CdtrAcct"_s);
        x.writeStartElement(u"Id"_s);
        x.writeTextElement(u"IBAN"_s, l.account.iban);
        x.writeEndElement();
        x.writeEndElement(); // CdtrAcct
        x.writeStartElement(u"RmtInf"_s);
        x.writeTextElement(u"Ustrd"_s, cut(b.remittance, 140));
        x.writeEndElement();
        x.writeEndElement(); // CdtTrfTxInf
    }
    x.writeEndElement(); // PmtInf
    x.writeEndElement(); // CstmrCdtTrfInitn
    x.writeEndElement(); // Document
    x.writeEndDocument();
    return out;
}

namespace {
QString csvField(const QString &s)
{
    if (!s.contains(QLatin1Char(';')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')))
        return s;
    QString quoted = s;
    quoted.replace(u"\""_s, u"\"\""_s);
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

QByteArray csv(const Batch &b)
{
    QString out;
    for (const Line &l : b.lines) {
        // A Hungarian number as the domestic form banks print, a foreign one as its IBAN.
        const QString acct = l.account.kind == account::Kind::Hungarian ? l.account.display : l.account.iban;
        out += csvField(l.name.trimmed()) + QLatin1Char(';') + csvField(acct) + QLatin1Char(';') +
               QString::number(l.forint) + QLatin1Char(';') + csvField(b.remittance.trimmed()) + u"\r\n"_s;
    }
    return out.toUtf8();
}

QString tenantAccount(TData &d)
{
    Query *t = d.ZTable8;
    if (!t->isOpen())
        t->open();
    t->first();
    return t->eof() ? QString() : t->fieldText(u"BSzla"_s);
}

void setTenantAccount(TData &d, const QString &typed)
{
    const account::Number n = account::parse(typed);
    const QString stored = n.kind == account::Kind::Hungarian ? n.display : typed.trimmed();
    Query *t = d.ZTable8;
    if (!t->isOpen())
        t->open();
    t->first();
    if (t->eof())
        throw DbError(u"A bérlő adatai hiányoznak (berlo tábla): a számlaszám nem tárolható."_s);
    const QString id = t->fieldText(u"IDb"_s);
    Query *q = d.ZQ115;
    q->setSql({u"UPDATE berlo SET BSzla = :p1 "_s, u"  WHERE IDb = :p2 "_s});
    q->setText(u"p1"_s, stored);
    q->setText(u"p2"_s, id);
    q->execSql();
    // The reports' header reads the tenant's row.
    t->close();
    t->open();
}

} // namespace payout
