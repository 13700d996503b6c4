#pragma once
// Data-aware controls over a data source: the read-only grid, the record navigator and the
// read-only fields that follow the current row.

#include <QLineEdit>
#include <QStringList>
#include <QTableView>
#include <QWidget>

class DataSource;
class QGroupBox;
class QToolButton;

// Read-only grid; selecting a row makes it the query's current row and the other way round.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    DbGrid(DataSource *source, const QString &name, QWidget *parent = nullptr);
    DataSource *source() const { return src; }
    // The column that takes the room the others leave (the name; by default the first).
    void setStretchColumn(int column);

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
    int stretch = 0;
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

// One row of an "Adata" frame: its label and one field of the current row, or several side by
// side with an optional text between them (the "-" between the two dates of a lease).
struct FieldRow
{
    QString label;      // "Kód:"
    QStringList fields; // one field, or several side by side
    QString between = {};
};

// The "Adata" frame: read-only fields (DBEdit1, DBEdit2, ..., numbered on from `*fieldNo`) of the
// current row of `source`, each with its label as buddy; in two columns when there are more than
// four rows.
QGroupBox *adataGroup(DataSource *source, const QList<FieldRow> &rows, QWidget *parent,
                      int *fieldNo = nullptr);
