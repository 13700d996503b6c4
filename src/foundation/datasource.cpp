#include "foundation/datasource.h"

#include "foundation/query.h"

DataSource::DataSource(Query *query, const QString &name, QObject *parent)
    : QAbstractTableModel(parent)
    , q(query)
{
    setObjectName(name);
    connect(q, &Query::reset, this, [this] {
        beginResetModel();
        rebuild();
        endResetModel();
    });
    connect(q, &Query::currentRowChanged, this, [this] { emit currentChanged(q->rowIndex()); });
    rebuild();
}

void DataSource::setColumns(const QList<Column> &columns)
{
    beginResetModel();
    cols = columns;
    rebuild();
    endResetModel();
}

void DataSource::rebuild()
{
    map.clear();
    if (cols.isEmpty()) {
        for (int c = 0; c < q->columnCount(); ++c)
            map << c;
        return;
    }
    const QStringList names = q->fieldNames();
    for (const auto &col : cols) {
        int found = -1;
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(col.field, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        map << found;
    }
}

QString DataSource::fieldAt(int column) const
{
    if (!cols.isEmpty())
        return cols.value(column).field;
    return column < q->columnCount() ? q->columnName(column) : QString();
}

int DataSource::currentRow() const
{
    return q->rowIndex();
}

void DataSource::setCurrentRow(int row)
{
    if (row != q->rowIndex() && row >= 0 && row < q->rowCount())
        q->setRowIndex(row);
}

int DataSource::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !q->isOpen() ? 0 : q->rowCount();
}

int DataSource::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return cols.isEmpty() ? q->columnCount() : int(cols.size());
}

QVariant DataSource::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int c = map.value(index.column(), -1);
    if (c < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return q->cellText(index.row(), c);
    case Qt::TextAlignmentRole:
        // Numbers to the right; decided by the column's type, without reading the cell again.
        return q->columnIsNumeric(c) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                     : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    if (!cols.isEmpty()) {
        const auto &col = cols.value(section);
        return col.title.isEmpty() ? col.field : col.title;
    }
    return section < q->columnCount() ? q->columnName(section) : QString();
}
