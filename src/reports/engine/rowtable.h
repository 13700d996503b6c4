#pragma once
// Rows the program computed itself (the lines of a payout, say), offered to the engine as a cursor
// like a query's: named columns, a current row, the same end rule.

#include "reports/engine/datasource.h"

#include <QStringList>
#include <QVariantList>

namespace report {

class RowTable : public RowCursor
{
public:
    void setColumns(const QStringList &names)
    {
        columns = names;
        rows.clear();
        current = 0;
        atEnd = true;
    }
    void clear()
    {
        rows.clear();
        current = 0;
        atEnd = true;
    }
    // One row, its values in the order of the columns (text, double, QDate or a null QVariant).
    void append(const QVariantList &row)
    {
        rows.append(row);
        first();
    }

    bool isOpen() const override { return true; }
    void open() override { first(); }
    void first() override
    {
        current = 0;
        atEnd = rows.isEmpty();
    }
    void next() override
    {
        if (current + 1 < rows.size())
            ++current;
        else
            atEnd = true;
    }
    bool eof() const override { return atEnd; }
    int rowCount() const override { return int(rows.size()); }
    int rowIndex() const override { return rows.isEmpty() ? -1 : current; }
    void setRowIndex(int index) override
    {
        current = index;
        atEnd = rows.isEmpty();
    }
    std::optional<QVariant> value(const QString &field) const override
    {
        for (qsizetype c = 0; c < columns.size(); ++c)
            if (columns[c].compare(field, Qt::CaseInsensitive) == 0)
                return rows.isEmpty() ? QVariant() : rows[current].value(c);
        return std::nullopt;
    }

private:
    QStringList columns;
    QList<QVariantList> rows;
    int current = 0;
    bool atEnd = true;
};

} // namespace report
