#include "foundation/query.h"

#include "foundation/formats.h"

#include <array>
#include <charconv>
#include <cstring>
#include <mysql.h>

Query::Query(Connection *connection, const QString &name, QObject *parent)
    : QObject(parent)
    , con(connection)
{
    setObjectName(name);
}

Query::~Query() = default;

void Query::close()
{
    const bool was = opened;
    opened = false;
    result.reset();
    columns.clear();
    columnByName.clear();
    columnAsAsked.clear();
    rows.clear();
    lengths.clear();
    windowFirst = 0;
    windowCount = -1;
    cur = -1;
    eofFlag = bofFlag = true;
    if (was)
        emit reset();
}

void Query::clearSql()
{
    lines.clear();
    // Parameters belong to the statement text: a new text starts with none set.
    params.clear();
}

void Query::addSql(const QString &line)
{
    lines.append(line);
}

void Query::setSql(const QStringList &l)
{
    close();
    clearSql();
    lines = l;
}

void Query::setText(const QString &param, const QString &value)
{
    Param p{Param::Type::Text, value, 0, {}};
    params.insert(param.toLower(), p);
}

void Query::setNumber(const QString &param, double value)
{
    Param p{Param::Type::Number, {}, value, {}};
    params.insert(param.toLower(), p);
}

void Query::setDate(const QString &param, const QDate &value)
{
    Param p{Param::Type::Date, {}, 0, value};
    params.insert(param.toLower(), p);
}

void Query::clearParams()
{
    params.clear();
}

namespace {
// Numbers come from the server with a decimal point whatever the desktop's locale says.
double parseServerNumber(const char *p, unsigned long len)
{
    double v = 0;
    std::from_chars(p, p + len, v);
    return v;
}
qint64 parseServerInt(const char *p, unsigned long len)
{
    qint64 v = 0;
    std::from_chars(p, p + len, v);
    return v;
}
// 'yyyy-mm-dd' as the server sends a date (and the start of a date and time); QDate's own parser
// costs more than the rest of a print's cell.
QDate serverDate(const char *p, unsigned long len)
{
    if (len < 10 || p[4] != '-' || p[7] != '-')
        return QDate();
    int y = 0, m = 0, d = 0;
    std::from_chars(p, p + 4, y);
    std::from_chars(p + 5, p + 7, m);
    std::from_chars(p + 8, p + 10, d);
    return QDate(y, m, d);
}
bool isIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}
bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}
} // namespace

QByteArray Query::boundStatement() const
{
    // Substitution works on tokens: quoted literals and quoted identifiers pass through untouched,
    // and a parameter name runs to the end of its identifier, so :p1 never matches inside :p10.
    const QString text = sqlText();
    QByteArray out;
    QString literal; // pending text outside parameters, encoded in one go
    auto flush = [&] {
        out += Cp1250::encode(literal);
        literal.clear();
    };
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            const int start = i++;
            while (i < n) {
                if (text[i] == QLatin1Char('\\') && c != QLatin1Char('`') && i + 1 < n) {
                    i += 2;
                    continue;
                }
                if (text[i] == c) {
                    if (i + 1 < n && text[i + 1] == c) { // doubled quote inside the literal
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            literal += text.mid(start, i - start);
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && isIdentStart(text[i + 1]) &&
            (i == 0 || (!isIdentChar(text[i - 1]) && text[i - 1] != QLatin1Char(':')))) {
            int j = i + 1;
            while (j < n && isIdentChar(text[j]))
                ++j;
            const QString name = text.mid(i + 1, j - i - 1).toLower();
            flush();
            auto it = params.constFind(name);
            if (it == params.constEnd()) {
                out += "NULL";
            } else {
                switch (it->type) {
                case Param::Type::Text:
                    out += '\'';
                    out += con ? con->escape(Cp1250::encode(it->text)) : Cp1250::encode(it->text);
                    out += '\'';
                    break;
                case Param::Type::Number:
                    out += formats::formatSql(it->number).toLatin1();
                    break;
                case Param::Type::Date:
                    if (it->date.isValid())
                        out += '\'' + formats::formatSqlDate(it->date).toLatin1() + '\'';
                    else
                        out += "NULL";
                    break;
                }
            }
            i = j;
            continue;
        }
        literal += c;
        ++i;
    }
    flush();
    return out;
}

void Query::load(ResultPtr res)
{
    windowFirst = 0;
    windowCount = -1;
    result = std::move(res);
    columns.clear();
    columnByName.clear();
    columnAsAsked.clear();
    rows.clear();
    lengths.clear();
    MYSQL_RES *r = result.get();
    const unsigned nf = mysql_num_fields(r);
    MYSQL_FIELD *fields = mysql_fetch_fields(r);
    columns.reserve(nf);
    for (unsigned f = 0; f < nf; ++f) {
        Kind k = Kind::Text;
        switch (fields[f].type) {
        case MYSQL_TYPE_TINY:
        case MYSQL_TYPE_SHORT:
        case MYSQL_TYPE_LONG:
        case MYSQL_TYPE_LONGLONG:
        case MYSQL_TYPE_INT24:
        case MYSQL_TYPE_YEAR:
            k = Kind::Integer;
            break;
        case MYSQL_TYPE_FLOAT:
        case MYSQL_TYPE_DOUBLE:
        case MYSQL_TYPE_DECIMAL:
        case MYSQL_TYPE_NEWDECIMAL:
            k = Kind::Float;
            break;
        case MYSQL_TYPE_DATE:
        case MYSQL_TYPE_NEWDATE:
            k = Kind::Date;
            break;
        case MYSQL_TYPE_DATETIME:
        case MYSQL_TYPE_TIMESTAMP:
            k = Kind::DateTime;
            break;
        default:
            break;
        }
        const QString name = Cp1250::decode(fields[f].name, fields[f].name_length);
        columns.push_back({name, k});
        const QString key = name.toLower();
        if (!columnByName.contains(key))
            columnByName.insert(key, int(f));
    }
    const auto count = mysql_num_rows(r);
    rows.reserve(count);
    lengths.reserve(count * nf);
    while (MYSQL_ROW row = mysql_fetch_row(r)) {
        rows.push_back(row);
        unsigned long *len = mysql_fetch_lengths(r);
        lengths.insert(lengths.end(), len, len + nf);
    }
}

void Query::open()
{
    if (!con)
        throw DbError(QStringLiteral("SQL Error: not connected"));
    const QByteArray stmt = boundStatement();
    close();
    ResultPtr res = con->execute(stmt);
    if (!res)
        throw DbError(QStringLiteral("SQL Error: the statement returned no result set"));
    writesAtOpen = con->writesSent();
    load(std::move(res));
    opened = true;
    cur = rowCount() == 0 ? -1 : 0;
    eofFlag = rowCount() == 0;
    bofFlag = true;
    emit reset();
    emit currentRowChanged();
}

void Query::execSql()
{
    if (!con)
        throw DbError(QStringLiteral("SQL Error: not connected"));
    const QByteArray stmt = boundStatement();
    con->execute(stmt); // a result, if any, is dropped
}

void Query::refresh()
{
    if (!opened) {
        open();
        return;
    }
    // Remember the current row's values, run again, find the same values.
    std::vector<QByteArray> before;
    std::vector<bool> beforeNull;
    if (cur >= 0) {
        for (int c = 0; c < columnCount(); ++c) {
            unsigned long len = 0;
            const char *p = raw(cur, c, &len);
            beforeNull.push_back(p == nullptr);
            before.emplace_back(p ? QByteArray(p, int(len)) : QByteArray());
        }
    }
    const int oldColumns = columnCount();
    open();
    if (before.empty() || columnCount() != oldColumns)
        return;
    for (int r = 0; r < rowCount(); ++r) {
        bool same = true;
        for (int c = 0; c < oldColumns && same; ++c) {
            unsigned long len = 0;
            const char *p = raw(r, c, &len);
            if ((p == nullptr) != beforeNull[c])
                same = false;
            else if (p &&
                     (len != (unsigned long)before[c].size() || memcmp(p, before[c].constData(), len) != 0))
                same = false;
        }
        if (same) {
            moveTo(r);
            return;
        }
    }
}

bool Query::reopen(const QStringList &l)
{
    if (opened && params.isEmpty() && l == lines && con && con->writesSent() == writesAtOpen) {
        first();
        return false;
    }
    setSql(l);
    open();
    return true;
}

void Query::moveTo(int row)
{
    cur = row;
    eofFlag = false;
    bofFlag = false;
    emit currentRowChanged();
}

void Query::setRowIndex(int index)
{
    if (rowCount() == 0)
        return;
    if (index < 0)
        index = 0;
    if (index >= rowCount())
        index = rowCount() - 1;
    moveTo(index);
}

void Query::first()
{
    if (rowCount() == 0) {
        eofFlag = bofFlag = true;
        return;
    }
    cur = 0;
    eofFlag = false;
    bofFlag = true;
    emit currentRowChanged();
}

void Query::last()
{
    if (rowCount() == 0) {
        eofFlag = bofFlag = true;
        return;
    }
    cur = rowCount() - 1;
    eofFlag = false;
    bofFlag = false;
    emit currentRowChanged();
}

void Query::next()
{
    if (cur + 1 < rowCount()) {
        ++cur;
        bofFlag = false;
        emit currentRowChanged();
    } else {
        eofFlag = true;
    }
}

void Query::prior()
{
    if (cur > 0) {
        --cur;
        eofFlag = false;
        emit currentRowChanged();
    } else {
        bofFlag = true;
    }
}

void Query::requireOpen() const
{
    if (!opened)
        throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(name()));
}

int Query::columnIndex(const QString &field) const
{
    requireOpen();
    auto it = columnByName.constFind(field.toLower());
    if (it == columnByName.constEnd())
        throw DbError(QStringLiteral("Field '%1' not found").arg(field));
    return *it;
}

bool Query::hasField(const QString &field) const
{
    return opened && columnByName.contains(field.toLower());
}

QStringList Query::fieldNames() const
{
    QStringList l;
    for (const auto &c : columns)
        l << c.name;
    return l;
}

QString Query::columnName(int column) const
{
    return columns.at(column).name;
}

bool Query::columnIsNumeric(int column) const
{
    const Kind k = columns.at(column).kind;
    return k == Kind::Integer || k == Kind::Float;
}

const char *Query::raw(int row, int column, unsigned long *length) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const size_t at = size_t(row + windowFirst);
    const char *p = rows[at][column];
    *length = lengths[at * columns.size() + column];
    return p;
}

QString Query::textOf(int row, int column) const
{
    unsigned long len = 0;
    const char *p = raw(row, column, &len);
    if (!p)
        return QString();
    switch (columns[column].kind) {
    case Kind::Float:
        return formats::formatGeneral(parseServerNumber(p, len));
    case Kind::Date: {
        const QDate d = serverDate(p, len);
        return formats::formatDate(d);
    }
    case Kind::DateTime: {
        const QString s = QString::fromLatin1(p, int(len));
        const QDate d = serverDate(p, len);
        const QString time = s.mid(11);
        if (time.isEmpty() || time == QLatin1String("00:00:00"))
            return formats::formatDate(d);
        return formats::formatDate(d) + QLatin1Char(' ') + time;
    }
    default:
        return Cp1250::decode(p, len);
    }
}

QString Query::cellText(int row, int column) const
{
    return textOf(row, column);
}

QVariant Query::cellValue(int row, int column) const
{
    unsigned long len = 0;
    const char *p = raw(row, column, &len);
    if (!p)
        return QVariant();
    switch (columns[column].kind) {
    case Kind::Integer:
        return QVariant(qlonglong(parseServerInt(p, len)));
    case Kind::Float:
        return QVariant(parseServerNumber(p, len));
    case Kind::Date:
    case Kind::DateTime:
        return QVariant(serverDate(p, len));
    default:
        return QVariant(Cp1250::decode(p, len));
    }
}

bool Query::isNull(const QString &field) const
{
    const int c = columnIndex(field);
    unsigned long len = 0;
    return raw(cur, c, &len) == nullptr;
}

QString Query::fieldText(const QString &field) const
{
    return textOf(cur, columnIndex(field));
}

double Query::fieldNumber(const QString &field) const
{
    const int c = columnIndex(field);
    unsigned long len = 0;
    const char *p = raw(cur, c, &len);
    if (!p)
        return 0;
    if (columns[c].kind == Kind::Integer || columns[c].kind == Kind::Float)
        return parseServerNumber(p, len);
    const QString t = textOf(cur, c);
    if (t.trimmed().isEmpty())
        return 0;
    auto v = formats::parseNumber(t);
    if (!v)
        throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(t));
    return *v;
}

qint64 Query::fieldInt(const QString &field) const
{
    const int c = columnIndex(field);
    unsigned long len = 0;
    const char *p = raw(cur, c, &len);
    if (!p)
        return 0;
    const QString t = textOf(cur, c).trimmed();
    if (columns[c].kind == Kind::Float)
        return qint64(parseServerNumber(p, len));
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(t));
    return v;
}

QDate Query::fieldDate(const QString &field) const
{
    const QVariant v = cellValue(cur, columnIndex(field));
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.isNull())
        return QDate();
    auto d = formats::parseDate(v.toString());
    return d ? *d : QDate();
}

std::optional<QVariant> Query::value(const QString &field) const
{
    if (!opened)
        return std::nullopt;
    // A print asks for the same names, spelt the same way, row after row: remember them as asked.
    auto exact = columnAsAsked.constFind(field);
    if (exact == columnAsAsked.constEnd()) {
        auto it = columnByName.constFind(field.toLower());
        exact = columnAsAsked.insert(field, it == columnByName.constEnd() ? -1 : *it);
    }
    if (*exact < 0)
        return std::nullopt;
    return cellValue(cur, *exact);
}

namespace {
// Upper case of every CP1250 byte that has a one-byte upper case (á -> Á, ő -> Ő); others map to
// themselves.
const std::array<unsigned char, 256> &cp1250Upper()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[size_t(b)] = static_cast<unsigned char>(b);
            const char byte = static_cast<char>(b);
            const QString ch = Cp1250::decode(&byte, 1);
            const QString up = ch.toUpper();
            if (up != ch && up.size() == 1 && Cp1250::unrepresentable(up).isEmpty()) {
                const QByteArray enc = Cp1250::encode(up);
                if (enc.size() == 1)
                    t[size_t(b)] = static_cast<unsigned char>(enc[0]);
            }
        }
        return t;
    }();
    return table;
}
} // namespace

bool Query::locate(const QString &field, const QString &value)
{
    const int c = columnIndex(field);
    if (columns[size_t(c)].kind == Kind::Text && Cp1250::unrepresentable(value).isEmpty()) {
        // Text cells are compared as the CP1250 bytes they are: a search in a list of 200 000
        // rows converts no cell.
        const auto &upper = cp1250Upper();
        QByteArray want = Cp1250::encode(value);
        for (char &b : want)
            b = static_cast<char>(upper[static_cast<unsigned char>(b)]);
        const unsigned long n = static_cast<unsigned long>(want.size());
        for (int r = 0; r < rowCount(); ++r) {
            unsigned long len = 0;
            const char *p = raw(r, c, &len);
            if (len < n || (!p && n > 0))
                continue;
            unsigned long i = 0;
            while (i < n &&
                   upper[static_cast<unsigned char>(p[i])] == static_cast<unsigned char>(want[qsizetype(i)]))
                ++i;
            if (i == n) {
                moveTo(r);
                return true;
            }
        }
        return false;
    }
    const QString want = value.toUpper();
    for (int r = 0; r < rowCount(); ++r) {
        if (textOf(r, c).toUpper().startsWith(want)) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

bool Query::locateCode(const QString &field, const QString &value)
{
    const int c = columnIndex(field);
    if (value.isEmpty()) {
        if (rowCount() == 0)
            return false;
        moveTo(0);
        return true;
    }
    for (int r = 0; r < rowCount(); ++r) {
        if (textOf(r, c).compare(value, Qt::CaseInsensitive) == 0) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

void Query::setWindow(int first, int count)
{
    windowFirst = qBound(0, first, int(rows.size()));
    windowCount = qBound(0, count, int(rows.size()) - windowFirst);
    cur = windowCount > 0 ? 0 : -1;
    eofFlag = windowCount == 0;
    bofFlag = true;
    emit reset();
    emit currentRowChanged();
}

void Query::clearWindow()
{
    setWindow(0, int(rows.size()));
    windowCount = -1;
}
