#pragma once
// The code of a new row: the numerically greatest code of the table plus one, as decimal text
// without leading zeros; an empty table starts at 1. Every window that adds a row uses this.

#include <QString>

class Query;

// `query` holds the table's rows (the window's last-code statement, already open); `codeField` is
// the code column. Codes that are not whole numbers are passed over: a generated code is all
// digits, so it can never equal one of them. Leaves the query on its last row.
QString nextCode(Query &query, const QString &codeField);
