#pragma once
// The program's number and date formats, in one place: a decimal comma, the Hungarian
// thousands separator and the short date yyyy.MM.dd. No window formats a value by hand.

#include <QDate>
#include <QString>
#include <optional>

namespace formats {

// "General" format: up to 15 significant digits, no exponent for ordinary values,
// decimal comma (1234.5 -> "1234,5", 100 -> "100", 0.1+0.2 -> "0,3").
QString formatGeneral(double value);

// The same digits with "." as decimal point: how a number is written into SQL.
QString formatSql(double value);

// Fixed decimals with the Hungarian thousands separator (a non-breaking space) and decimal comma:
// formatGrouped(1234567.891, 2) -> "1 234 567,89". decimals = 0 gives no decimal part.
QString formatGrouped(double value, int decimals, bool thousands = true);

// Reads a number typed with the decimal comma ("12,5", "-3", " 7 "); a "." is accepted as well.
// Returns nothing for empty text or text that is not a number ("1,2,3", "abc").
std::optional<double> parseNumber(const QString &text);

// Short date: yyyy.MM.dd.
QString formatDate(const QDate &date);
// Accepts yyyy.MM.dd, yyyy.M.d and a trailing dot; nothing for anything else or an invalid date.
std::optional<QDate> parseDate(const QString &text);
// 'yyyy-mm-dd' without the quotes.
QString formatSqlDate(const QDate &date);

} // namespace formats
