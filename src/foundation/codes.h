#pragma once
// The code of a new row: the numerically greatest code of the table plus one, as decimal text
// without leading zeros; an empty table starts at 1. Every window that adds a row uses this.

#include <QString>

class Query;

// Reads the greatest whole-number code of `table` through the numeric twin of its code column
// (`codeColumn` + "Num", an invisible indexed column of db/create.sql): one index look-up,
// whatever the table's size. Codes that are not whole numbers are passed over: a generated code is
// all digits, so it can never equal one of them. Runs on `aux`, which it leaves open.
QString nextCode(Query &aux, const QString &table, const QString &codeColumn);

// The voucher number of a new payment (the payment entry window and group posting): the numerically
// greatest voucher number plus one, read through ZQ91 of the data module.
QString nextVoucherNumber();
