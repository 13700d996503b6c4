#include "reports/engine/tablecursor.h"

namespace report {

TableCursor::TableCursor(QStringList columns)
{
    setColumns(columns);
}

void TableCursor::setColumns(const QStringList &columns)
{
    cols = columns;
    exact.clear();
    index.clear();
    for (int i = 0; i < cols.size(); ++i) {
        exact.insert(cols[i], i);
        index.insert(cols[i].toCaseFolded(), i);
    }
}

void TableCursor::addRow(const QVariantList &values)
{
    QVariantList row = values;
    while (row.size() < cols.size())
        row << QVariant();
    rows.push_back(std::move(row));
}

void TableCursor::clearRows()
{
    rows.clear();
    pos = -1;
    atEnd = true;
}

void TableCursor::open()
{
    opened = true;
    ++opens;
    first();
}

void TableCursor::first()
{
    pos = rows.empty() ? -1 : 0;
    atEnd = rows.empty();
}

void TableCursor::next()
{
    if (pos + 1 < rowCount())
        ++pos;
    else
        atEnd = true;
}

void TableCursor::setRowIndex(int index)
{
    if (rows.empty()) {
        pos = -1;
        atEnd = true;
        return;
    }
    pos = std::clamp(index, 0, rowCount() - 1);
    atEnd = false;
}

std::optional<QVariant> TableCursor::value(const QString &field) const
{
    auto it = exact.constFind(field);
    if (it == exact.constEnd()) {
        it = index.constFind(field.toCaseFolded());
        if (it == index.constEnd())
            return std::nullopt;
    }
    if (pos < 0)
        return QVariant();
    return rows[size_t(pos)][*it];
}

void SimpleContext::addDataset(Dataset *dataset)
{
    datasets.insert(dataset->name().toCaseFolded(), dataset);
}

void SimpleContext::addComponent(const QString &name, RowCursor *cursor)
{
    components.insert(name.toCaseFolded(), cursor);
}

Dataset *SimpleContext::dataset(const QString &name)
{
    return datasets.value(name.toCaseFolded(), nullptr);
}

RowCursor *SimpleContext::component(const QString &name)
{
    return components.value(name.toCaseFolded(), nullptr);
}

} // namespace report
