#include "foundation/formats.h"

#include <algorithm>

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace formats {

QString formatSql(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0"); // also turns -0 into 0
    // Locale-independent: a Hungarian desktop locale must not turn the point into a comma here.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    // An exponent appears only for very large or very small values; that is valid SQL too.
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString formatGeneral(double value)
{
    QString s = formatSql(value);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString formatGrouped(double value, int decimals, bool thousands)
{
    if (std::isnan(value) || std::isinf(value))
        value = 0;
    if (decimals < 0)
        decimals = 0;
    // Written into a buffer of characters, without a string per step: prints format thousands of
    // amounts.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const char *p = buf, *end = r.ptr;
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    const char *dot = std::find(p, end, '.');
    const int intDigits = int(dot - p);
    const bool allZero = std::all_of(p, end, [](char c) { return c == '0' || c == '.'; });
    char16_t out[600];
    int n = 0;
    if (negative && !allZero)
        out[n++] = u'-';
    for (int i = 0; i < intDigits; ++i) {
        if (thousands && i > 0 && (intDigits - i) % 3 == 0)
            out[n++] = char16_t(0x00A0);
        out[n++] = char16_t(p[i]);
    }
    if (dot < end) {
        out[n++] = u',';
        for (const char *f = dot + 1; f < end; ++f)
            out[n++] = char16_t(*f);
    }
    return QString(reinterpret_cast<const QChar *>(out), n);
}

std::optional<double> parseNumber(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!re.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    double v = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QString formatDate(const QDate &date)
{
    if (!date.isValid())
        return QString();
    // yyyy.MM.dd, written directly (QDate's pattern formatting costs as much as a print's row).
    const int y = date.year(), m = date.month(), d = date.day();
    if (y < 0 || y > 9999)
        return date.toString(QStringLiteral("yyyy.MM.dd"));
    const char16_t out[10] = {char16_t(u'0' + y / 1000),
                              char16_t(u'0' + y / 100 % 10),
                              char16_t(u'0' + y / 10 % 10),
                              char16_t(u'0' + y % 10),
                              u'.',
                              char16_t(u'0' + m / 10),
                              char16_t(u'0' + m % 10),
                              u'.',
                              char16_t(u'0' + d / 10),
                              char16_t(u'0' + d % 10)};
    return QString(reinterpret_cast<const QChar *>(out), 10);
}

std::optional<QDate> parseDate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})\\.(\\d{1,2})\\.(\\d{1,2})\\.?\\s*$"));
    auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString formatSqlDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace formats
