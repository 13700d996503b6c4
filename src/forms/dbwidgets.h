#pragma once
// Data-aware controls over a data source: the read-only grid, the record navigator and the
// read-only fields that follow the current row.

#include <QLineEdit>
#include <QTableView>
#include <QWidget>

class DataSource;
class QToolButton;

// Read-only grid; selecting a row makes it the query's current row and the other way round.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    DbGrid(DataSource *source, const QString &name, QWidget *parent = nullptr);
    DataSource *source() const { return src; }

signals:
    // A click on a column title (0-based grid column).
    void titleClicked(int column);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void followCurrent();
    // Measures the columns on a sample of rows (after the rows changed), then fits them to the view.
    void measureColumns();
    void fitColumns();
    DataSource *src;
    QList<int> contentWidths; // per column, measured by measureColumns
    bool syncing = false;
};

// First, prior, next and last.
class DbNavigator : public QWidget
{
    Q_OBJECT
public:
    DbNavigator(DataSource *source, const QString &name, QWidget *parent = nullptr);
    QToolButton *firstButton, *priorButton, *nextButton, *lastButton;

private:
    void updateButtons();
    DataSource *src;
};

// A read-only box showing one field of the current row as text.
class DbField : public QLineEdit
{
    Q_OBJECT
public:
    DbField(DataSource *source, const QString &field, const QString &name, QWidget *parent = nullptr);
    void refresh();

private:
    DataSource *src;
    QString fld;
};
