#pragma once
// One named query of the data module: SQL text built from lines, parameters :p0 ... :p11 bound by
// name and substituted on the client, a stored result with a current row, fields read by name
// without regard to letter case.

#include "foundation/connection.h"
#include "reports/engine/datasource.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <vector>

class Query : public QObject, public report::RowCursor
{
    Q_OBJECT
public:
    Query(Connection *connection, const QString &name, QObject *parent = nullptr);
    ~Query() override;

    QString name() const { return objectName(); }
    void setConnection(Connection *connection) { con = connection; }

    // 1. close; 2. SQL text from lines; 3. parameters; 4. open or execute.
    void close();
    void clearSql();
    void addSql(const QString &line);
    // Steps 1 and 2 in one: closes the query and gives it these lines as its new text.
    void setSql(const QStringList &lines);
    QString sqlText() const { return lines.join(QLatin1Char('\n')); }
    const QStringList &sql() const { return lines; }

    void setText(const QString &param, const QString &value);
    void setNumber(const QString &param, double value);
    void setDate(const QString &param, const QDate &value);
    void clearParams();

    // Runs a SELECT; the first row becomes current. Throws DbError.
    void open() override;
    // Runs a statement that returns no rows (INSERT, REPLACE, START TRANSACTION, COMMIT, ...).
    void execSql();
    // Runs the same SELECT again and makes current the row whose values all equal those of the row
    // that was current before; the first row when there is no such row any more.
    void refresh();
    // setSql(lines) and open(), unless the query already holds the result of exactly these lines
    // (no parameters) and nothing that may change data was sent since it ran: then the result is
    // kept and only the first row becomes current, as a re-run would leave it. True when it ran.
    bool reopen(const QStringList &lines);

    // The statement as it is sent (CP1250 bytes), with the parameters substituted.
    QByteArray boundStatement() const;

    bool isOpen() const override { return opened; }
    int rowCount() const override { return windowCount >= 0 ? windowCount : int(rows.size()); }
    int rowIndex() const override { return cur; }
    void setRowIndex(int index) override;
    bool isEmpty() const { return rowCount() == 0; }

    // Shows only `count` rows of the result from row `first` on, as if they were all of it (the
    // settlement prints read every owner's detail rows at once and show each owner their own);
    // the first of them becomes current. Reading the query again shows all its rows.
    void setWindow(int first, int count);
    void clearWindow();

    void first() override;
    void last();
    void next() override;
    void prior();
    bool eof() const override { return eofFlag; }
    bool bof() const { return bofFlag; }

    // Reads a field of the current row. An unknown name throws DbError("Field 'x' not found");
    // on an empty result every field reads as NULL (empty text, number 0).
    bool hasField(const QString &field) const;
    QStringList fieldNames() const;
    bool isNull(const QString &field) const;
    QString fieldText(const QString &field) const;  // numbers with the decimal comma, dates yyyy.MM.dd
    double fieldNumber(const QString &field) const; // throws DbError when the text is not a number
    qint64 fieldInt(const QString &field) const;    // throws DbError when the text is not a whole number
    QDate fieldDate(const QString &field) const;
    std::optional<QVariant> value(const QString &field) const override;
    // Same reads by column position (for grids).
    int columnCount() const { return int(columns.size()); }
    QString columnName(int column) const;
    bool columnIsNumeric(int column) const;
    QString cellText(int row, int column) const;
    QVariant cellValue(int row, int column) const;

    // Case-insensitive prefix match on the display text, from the first row in the current order.
    // On success that row becomes current; otherwise the current row does not move. An empty value
    // matches the first row.
    bool locate(const QString &field, const QString &value);
    // Finds a row again by its whole code: case-insensitive equality, from the first row in the
    // current order. On success that row becomes current; otherwise the current row does not
    // move. An empty value matches the first row. (A prefix would find code 21 for code 2.)
    bool locateCode(const QString &field, const QString &value);

signals:
    void reset();             // opened, closed or re-run: rows and columns may have changed
    void currentRowChanged(); // the current row moved

private:
    enum class Kind
    {
        Text,
        Integer,
        Float,
        Date,
        DateTime
    };
    struct Column
    {
        QString name;
        Kind kind;
    };
    struct Param
    {
        enum class Type
        {
            Text,
            Number,
            Date
        } type;
        QString text;
        double number = 0;
        QDate date;
    };

    int columnIndex(const QString &field) const; // throws when unknown
    const char *raw(int row, int column, unsigned long *length) const;
    QString textOf(int row, int column) const;
    void requireOpen() const;
    void load(ResultPtr result);
    void moveTo(int row);

    Connection *con;
    QStringList lines;
    QHash<QString, Param> params; // keyed by lower-case name
    bool opened = false;
    quint64 writesAtOpen = 0; // the connection's write count when the result was read
    ResultPtr result;
    std::vector<Column> columns;
    QHash<QString, int> columnByName;          // lower-case name -> first column of that name
    mutable QHash<QString, int> columnAsAsked; // a name as it was asked -> its column, -1: none
    std::vector<char **> rows;
    int windowFirst = 0, windowCount = -1; // the rows shown: all when windowCount < 0
    std::vector<unsigned long> lengths;    // columns.size() per row
    int cur = -1;
    bool eofFlag = true;
    bool bofFlag = true;
};
