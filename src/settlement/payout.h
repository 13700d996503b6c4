#pragma once
// The rent payout by bank transfer and postal order: the owners still to be paid with their
// accounts and whole-forint amounts (after the settlement's rebuild and balance query), the batch
// transfer file in ISO 20022 (pain.001.001.03) and as CSV, and the rows of the two lists.

#include "foundation/account.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

class TData;

namespace payout {

enum class Way
{
    Transfer,   // a valid account: into the transfer file
    Postal,     // no account: a postal order
    BadAccount, // an account that is not valid: neither, until it is mended
};

struct Line
{
    QString code, name, postcode, town, street;
    QString accountText;     // as stored
    account::Number account; // as checked
    qint64 forint = 0;       // the amount to pay, whole forints
    Way way = Way::Postal;

    QString address() const; // "6100 Kiskunfélegyháza, Petőfi u. 12."
    // "11773016-11111018", "postai utalvány" or "hibás számlaszám: …"
    QString accountShown() const;
};

// A balance in whole forints: rounded to the fillér first (as every amount of the settlement),
// then half up to the forint (1234,49 → 1234, 1234,50 → 1235); negative balances give 0 or less.
qint64 wholeForint(double balance);

// The owners of the rebuilt work table who are still to be paid at least 1 Ft, by name, each with
// the account number of their owner row. The balance query is the payment register's, read
// through ZQ115 with the owners' accounts joined to it.
QList<Line> lines(TData &data);

struct Totals
{
    int transfers = 0, postal = 0, bad = 0;
    qint64 transferSum = 0, postalSum = 0, badSum = 0;
};
Totals totals(const QList<Line> &lines, const std::vector<bool> &ticked);

struct Batch
{
    QString debtorName;
    account::Number debtorAccount;
    QDateTime created;
    QDate executionDate;
    QString remittance; // "Földbérleti díj 2026"
    QList<Line> lines;  // the transfers only

    QString messageId() const; // "ZELV-20261210-193005"
    qint64 controlSum() const;
};

// The batch in ISO 20022 customer credit transfer initiation (pain.001.001.03), HUF, UTF-8.
QByteArray pain001(const Batch &batch);
// The same transfers as "name;account;amount;text" lines (fields with ";" or quotes quoted).
QByteArray csv(const Batch &batch);

// The tenant's paying account (berlo.BSzla), and storing it: a valid Hungarian number in its
// hyphenated form, anything else as typed.
QString tenantAccount(TData &data);
void setTenantAccount(TData &data, const QString &typed);

} // namespace payout
