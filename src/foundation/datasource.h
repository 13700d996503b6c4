#pragma once
// A data source (DQ30, ...): a read-only table model over one query, with the current row.
// Grids, record navigators and the read-only "Adata" fields bind to it and follow the current row.

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

class Query;

class DataSource : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString field;
        QString title; // empty: the field name itself
    };

    DataSource(Query *query, const QString &name, QObject *parent = nullptr);
    Query *query() const { return q; }

    // The grid's columns in order; without a list, every column of the query under its name.
    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return cols; }
    QString fieldAt(int column) const;

    int currentRow() const;
    void setCurrentRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void currentChanged(int row);

private:
    void rebuild();
    Query *q;
    QList<Column> cols;
    QList<int> map; // grid column -> query column (-1 when the query lacks the field)
};
