#include "reports/engine/expression.h"

#include "foundation/formats.h"

#include <QDateTime>
#include <QLocale>

namespace report {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isName(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!isNameChar(c))
            return false;
    return true;
}

Piece parseReference(const QString &inner, int offset)
{
    Piece p;
    QString name = inner;
    const int bar = inner.indexOf(QLatin1Char('|'));
    if (bar >= 0) {
        name = inner.left(bar);
        try {
            p.format = parseFormat(inner.mid(bar + 1).trimmed());
        } catch (const ExpressionError &e) {
            throw ExpressionError{e.what, offset + bar + 1};
        }
    }
    name = name.trimmed();
    if (name.isEmpty())
        throw ExpressionError{QStringLiteral("empty expression []"), offset};

    const QString upper = name.toUpper();
    if (upper == QLatin1String("PAGE#")) {
        p.kind = Piece::Kind::Page;
    } else if (upper == QLatin1String("TOTALPAGES#")) {
        p.kind = Piece::Kind::TotalPages;
    } else if (upper == QLatin1String("LINE#")) {
        p.kind = Piece::Kind::Line;
    } else if (upper == QLatin1String("DATE")) {
        p.kind = Piece::Kind::Date;
    } else if (upper == QLatin1String("TIME")) {
        p.kind = Piece::Kind::Time;
    } else if (name.contains(QLatin1Char('.'))) {
        const int dot = name.indexOf(QLatin1Char('.'));
        p.kind = Piece::Kind::Field;
        p.component = name.left(dot).trimmed();
        p.text = name.mid(dot + 1).trimmed();
        if (!isName(p.component) || !isName(p.text))
            throw ExpressionError{QStringLiteral("invalid field reference [%1]").arg(name), offset};
        p.key = p.component.toCaseFolded();
    } else {
        if (!isName(name))
            throw ExpressionError{QStringLiteral("invalid name [%1]").arg(name), offset};
        p.kind = Piece::Kind::Variable;
        p.text = name;
        p.key = name.toCaseFolded();
    }
    if (p.kind == Piece::Kind::Page || p.kind == Piece::Kind::TotalPages || p.kind == Piece::Kind::Line) {
        if (p.format.kind == ValueFormat::Kind::Pattern)
            throw ExpressionError{QStringLiteral("a date format does not fit [%1]").arg(name), offset};
    }
    return p;
}

QString formatNumber(double v, const ValueFormat &f)
{
    switch (f.kind) {
    case ValueFormat::Kind::Grouped:
        return formats::formatGrouped(v, f.decimals, true);
    case ValueFormat::Kind::Fixed:
        return formats::formatGrouped(v, f.decimals, false);
    default:
        return formats::formatGeneral(v);
    }
}

QString formatDateTime(const QDateTime &dt, bool hasTime, const ValueFormat &f)
{
    if (f.kind == ValueFormat::Kind::Pattern)
        return QLocale(QLocale::Hungarian, QLocale::Hungary).toString(dt, f.pattern);
    if (!hasTime)
        return formats::formatDate(dt.date());
    return formats::formatDate(dt.date()) + QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm"));
}

} // namespace

ValueFormat parseFormat(const QString &spec)
{
    ValueFormat f;
    if (spec.isEmpty())
        throw ExpressionError{QStringLiteral("empty format after |"), 0};
    const QChar c = spec[0].toUpper();
    const QString rest = spec.mid(1);
    bool digitsOnly = !rest.isEmpty() || c == QLatin1Char('G');
    for (QChar d : rest)
        if (!d.isDigit())
            digitsOnly = false;
    if (spec.size() == 1 && (c == QLatin1Char('N') || c == QLatin1Char('F')))
        digitsOnly = true; // "N" alone: no decimals
    if (digitsOnly && (c == QLatin1Char('N') || c == QLatin1Char('F') || c == QLatin1Char('G'))) {
        if (c == QLatin1Char('G')) {
            if (!rest.isEmpty())
                throw ExpressionError{QStringLiteral("format G takes no decimals"), 0};
            f.kind = ValueFormat::Kind::General;
            return f;
        }
        f.kind = c == QLatin1Char('N') ? ValueFormat::Kind::Grouped : ValueFormat::Kind::Fixed;
        f.decimals = rest.isEmpty() ? 0 : rest.toInt();
        if (f.decimals > 15)
            throw ExpressionError{QStringLiteral("too many decimals in format %1").arg(spec), 0};
        return f;
    }
    // Anything else must be a date/time pattern: it has to name at least one date or time part.
    bool hasPart = false;
    for (QChar ch : spec)
        if (QStringLiteral("yMdHhms").contains(ch))
            hasPart = true;
    if (!hasPart)
        throw ExpressionError{QStringLiteral("unknown format '%1'").arg(spec), 0};
    f.kind = ValueFormat::Kind::Pattern;
    f.pattern = spec;
    return f;
}

Expression parseExpression(const QString &text)
{
    Expression e;
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            Piece p;
            p.kind = Piece::Kind::Literal;
            p.text = literal;
            e.pieces.push_back(std::move(p));
            literal.clear();
        }
    };
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('[')) {
            if (i + 1 < n && text[i + 1] == QLatin1Char('[')) {
                literal += c;
                ++i;
                continue;
            }
            const int close = text.indexOf(QLatin1Char(']'), i + 1);
            const int nested = text.indexOf(QLatin1Char('['), i + 1);
            if (close < 0)
                throw ExpressionError{QStringLiteral("'[' without a closing ']'"), i};
            if (nested >= 0 && nested < close)
                throw ExpressionError{QStringLiteral("'[' inside an expression (write [[ for a bracket)"),
                                      nested};
            flush();
            Piece p = parseReference(text.mid(i + 1, close - i - 1), i + 1);
            if (p.kind == Piece::Kind::Page || p.kind == Piece::Kind::TotalPages)
                e.hasPageRefs = true;
            e.pieces.push_back(std::move(p));
            i = close;
        } else if (c == QLatin1Char(']')) {
            literal += c;
            if (i + 1 < n && text[i + 1] == QLatin1Char(']'))
                ++i;
        } else {
            literal += c;
        }
    }
    flush();
    return e;
}

QString formatValue(const QVariant &value, const ValueFormat &format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return formatNumber(value.toDouble(), format);
    case QMetaType::QDate:
        return formatDateTime(QDateTime(value.toDate(), QTime(0, 0)), false, format);
    case QMetaType::QDateTime:
        return formatDateTime(value.toDateTime(), true, format);
    case QMetaType::QTime:
        if (format.kind == ValueFormat::Kind::Pattern)
            return value.toTime().toString(format.pattern);
        return value.toTime().toString(QStringLiteral("HH:mm"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        break;
    }
    const QString s = value.toString();
    // Text columns that hold numbers or dates still take a format written for them.
    if (format.kind == ValueFormat::Kind::Grouped || format.kind == ValueFormat::Kind::Fixed ||
        format.kind == ValueFormat::Kind::General) {
        if (auto v = formats::parseNumber(s))
            return formatNumber(*v, format);
    } else if (format.kind == ValueFormat::Kind::Pattern) {
        if (auto d = formats::parseDate(s))
            return formatDateTime(QDateTime(*d, QTime(0, 0)), false, format);
    }
    return s;
}

} // namespace report
