#pragma once
// Rows held in memory behind the RowCursor interface, and a DataContext over named datasets and
// components: for reports over data the program computes itself, for tests and for benchmarks.

#include "reports/engine/datasource.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>
#include <algorithm>
#include <memory>
#include <vector>

namespace report {

class TableCursor : public RowCursor
{
public:
    explicit TableCursor(QStringList columns = {});
    void setColumns(const QStringList &columns);
    void addRow(const QVariantList &values); // one value per column, in column order
    void clearRows();
    const QStringList &columns() const { return cols; }

    // As the program's queries do: past the last row the end flag is set and the last row stays
    // current; no rows: no current row (index -1).
    bool isOpen() const override { return opened; }
    void open() override;
    void close() { opened = false; }
    void first() override;
    void next() override;
    bool eof() const override { return atEnd || rows.empty(); }
    int rowCount() const override { return int(rows.size()); }
    int rowIndex() const override { return pos; }
    void setRowIndex(int index) override;
    std::optional<QVariant> value(const QString &field) const override;

    int opens = 0; // how often open() ran

private:
    QStringList cols;
    QHash<QString, int> exact; // column name as written -> column
    QHash<QString, int> index; // folded column name -> column
    std::vector<QVariantList> rows;
    int pos = -1;
    bool atEnd = true;
    bool opened = false;
};

// Names are matched without regard to letter case.
class SimpleContext : public DataContext
{
public:
    void addDataset(Dataset *dataset);
    void addComponent(const QString &name, RowCursor *cursor);
    Dataset *dataset(const QString &name) override;
    RowCursor *component(const QString &name) override;

private:
    QHash<QString, Dataset *> datasets;
    QHash<QString, RowCursor *> components;
};

} // namespace report
