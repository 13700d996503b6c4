#pragma once
// What the report engine needs of the program's data: row cursors over queries, report datasets
// (query-bound ones with their callbacks, and user datasets driven wholly by callbacks), and a
// resolver of component names (ZQ33, ZTable8, frDBDataSet53, MasterDataset) for the templates.
// The data module implements DataContext; the engine knows nothing of the database.

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <stdexcept>

namespace report {

// An error that stops a build; `title` is the title of the box that shows it.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message, const QString &title = QStringLiteral("Error"))
        : std::runtime_error(message.toStdString())
        , msg(message)
        , ttl(title)
    {}
    QString message() const { return msg; }
    QString title() const { return ttl; }

private:
    QString msg;
    QString ttl;
};

// A result set with a current row: what a query of the data module offers the engine.
class RowCursor
{
public:
    virtual ~RowCursor() = default;
    virtual bool isOpen() const = 0;
    virtual void open() = 0; // run the query's statement; the first row becomes current
    virtual void first() = 0;
    virtual void next() = 0;
    // True when there are no rows, or after next() was called on the last row. As in the program's
    // queries, the current row then stays on the last row: its values can still be read.
    virtual bool eof() const = 0;
    virtual int rowCount() const = 0;
    virtual int rowIndex() const = 0;        // current row, 0-based (-1 when there are no rows)
    virtual void setRowIndex(int index) = 0; // bookmark support; clears the end flag
    // Value of a column of the current row, looked up without regard to letter case:
    // a double for numeric columns, a QDate for dates, a QString for text, a null QVariant for
    // NULL or when there is no current row. std::nullopt when the column does not exist.
    virtual std::optional<QVariant> value(const QString &field) const = 0;
};

// A named row source that data bands walk.
class Dataset
{
public:
    virtual ~Dataset() = default;
    virtual QString name() const = 0;
    virtual void open() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() = 0;
    virtual void close() = 0;
    // The cursor that field references through this dataset's name read; nullptr for user datasets.
    virtual RowCursor *cursor() { return nullptr; }
};

// Walks a RowCursor. open: opens the cursor if it is closed, then onOpen. first: cursor to its
// first row, then onFirst. next: cursor to the next row, then onNext (so the callback sees the new
// current row; it runs also when that step went past the last row). eof: the cursor has no row
// left. close: onClose; the cursor keeps its position.
class QueryDataset : public Dataset
{
public:
    QueryDataset(QString name, RowCursor *cursor)
        : nm(std::move(name))
        , cur(cursor)
    {}
    QString name() const override { return nm; }
    void open() override
    {
        if (!cur->isOpen())
            cur->open();
        if (onOpen)
            onOpen();
    }
    void first() override
    {
        cur->first();
        if (onFirst)
            onFirst();
    }
    void next() override
    {
        cur->next();
        if (onNext)
            onNext();
    }
    bool eof() override { return cur->eof(); }
    void close() override
    {
        if (onClose)
            onClose();
    }
    RowCursor *cursor() override { return cur; }

    std::function<void()> onOpen, onFirst, onNext, onClose;

private:
    QString nm;
    RowCursor *cur;
};

// Has no rows of its own: first and next only call their callbacks; the end test calls onCheckEOF
// with a flag that starts false and takes the flag it leaves. The engine may test the end more
// than once per row, so check-end callbacks must change nothing.
class UserDataset : public Dataset
{
public:
    explicit UserDataset(QString name)
        : nm(std::move(name))
    {}
    QString name() const override { return nm; }
    void open() override {}
    void first() override
    {
        if (onFirst)
            onFirst();
    }
    void next() override
    {
        if (onNext)
            onNext();
    }
    bool eof() override
    {
        bool end = false;
        if (onCheckEOF)
            onCheckEOF(end);
        return end;
    }
    void close() override {}

    std::function<void()> onFirst, onNext;
    std::function<void(bool &eof)> onCheckEOF;

private:
    QString nm;
};

// What a template can name: datasets (for bands) and components (for field references).
class DataContext
{
public:
    virtual ~DataContext() = default;
    // A report dataset by name, without regard to letter case; nullptr when there is none.
    virtual Dataset *dataset(const QString &name) = 0;
    // A query or table view by name (ZQ33, ZTable8), without regard to letter case; nullptr when
    // there is none. Report datasets are found through dataset(name)->cursor().
    virtual RowCursor *component(const QString &name) = 0;
};

} // namespace report
