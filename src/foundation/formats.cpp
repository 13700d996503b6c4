#include "foundation/formats.h"

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
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    QString s = QString::fromLatin1(buf, int(r.ptr - buf));
    bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    QString intPart = s, frac;
    int dot = s.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        intPart = s.left(dot);
        frac = s.mid(dot + 1);
    }
    if (thousands) {
        QString grouped;
        int n = intPart.size();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += QChar(0x00A0);
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    bool allZero = true;
    for (QChar c : intPart + frac)
        if (c.isDigit() && c != QLatin1Char('0'))
            allZero = false;
    QString out = (negative && !allZero) ? QStringLiteral("-") : QString();
    out += intPart;
    if (!frac.isEmpty())
        out += QLatin1Char(',') + frac;
    return out;
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
    return date.toString(QStringLiteral("yyyy.MM.dd"));
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
