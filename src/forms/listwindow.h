#pragma once
// The list window pattern shared by the code-table, owner and parcel registers: a read-only grid
// over the table's shared list query with a navigator and the "Adata" fields of the current row,
// a search box that locates by the first letters of the name (one key behind), sorting by column
// title, "Új", "Módosít" (with the in-use notice), "Töröl" (in-use and last-row refusals, no
// question), "Nyomtat", and "Kiválaszt"/"Mégsem", which both close and leave the list query on its
// row for the window that opened the list.

#include "forms/dbwidgets.h"
#include "foundation/datasource.h"
#include "foundation/ui.h"

#include <QDialog>
#include <functional>

class DbGrid;
class ListWindow;
class DbNavigator;
class EditWindow;
class Query;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

struct ListSpec
{
    struct Sort
    {
        int column;        // 0-based grid column whose title sorts
        QStringList lines; // the list statement in that order
        QString caption;   // order caption shown afterwards
    };
    using Field = FieldRow;

    QString caption;
    bool fixedSize = true;
    bool enterMovesFocus = false;

    Query *list = nullptr;
    DataSource *source = nullptr;
    QList<DataSource::Column> gridColumns;
    QList<Field> adata;

    QString openingCaption;   // listOrderText, set at creation
    QStringList defaultLines; // the list in its default order
    QString searchLabel;      // Label19
    QString searchField;      // the name column the search locates on
    QString searchCaption;    // Label18 after a search
    QList<Sort> sorts;

    QString codeField;            // code column of the list (locate at opening)
    QString *codeValue = nullptr; // muvagCode and its sisters

    // A use of the current row's code elsewhere: a statement that counts the rows naming it (in
    // column db; no row at all when none do), the column of the list row bound to :p1, and what
    // the Confirm box says when there are any.
    struct Use
    {
        QStringList lines;
        QString codeField;
        QString message;
    };
    // "Módosít" warns with the first use that counts and opens the editor anyway; "Töröl" refuses
    // with the first use that counts. Empty: no check.
    Query *usageQuery = nullptr;
    QList<Use> usesOnChange, usesOnDelete;
    // "Módosít" and "Töröl": row count, delete by code.
    Query *countQuery = nullptr;
    QStringList countLines;
    Query *deleteQuery = nullptr;
    QStringList deleteLines;
    QString deleteCodeField;
    QString deletedMessage, deleteFailedMessage;

    QString *editMode = nullptr;
    QString newModeText, changeModeText;
    std::function<EditWindow *(QWidget *parent)> makeEditor;

    QString hintNew, hintChange, hintPrint;
    // The same in every register.
    QString hintDelete = QStringLiteral("Kiválasztott sort törli");
    QString hintCancel = QStringLiteral("Kilépés, ablak bezárás");
    QString hintPick = QStringLiteral("Ablak záráskor a megjelölt sort átemeli");
    QString hintGrid = QStringLiteral("Sorbarendezéshez klikk az oszlop fejlécre.");
    // Visual order of the buttons, by name (Button1 ... Button7), and their tab order.
    QStringList buttonOrder, buttonTabOrder;

    std::function<void()> beforeChange;       // runs before the edit window opens for a change
    std::function<void()> print;              // prepares the print data and prints
    std::function<void(ListWindow &)> onPick; // runs on "Kiválaszt" before the window closes
};

class ListWindow : public QDialog
{
    Q_OBJECT
public:
    ListWindow(ListSpec spec, QWidget *parent);

    QLabel *Label18 = nullptr;
    QLabel *Label19 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button6 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    DbGrid *DBGrid1 = nullptr;
    DbNavigator *DBNavigator1 = nullptr;
    QWidget *Panel1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
                *Button5 = nullptr, *Button7 = nullptr;

    const ListSpec &spec() const { return s; }

    void FormShow();
    // A key press keeps the list already read when nothing was written since; "Keres" always
    // reads it again (the clerk's way to see what another copy of the program stored).
    void search(const QString &text, bool readAgain = false);
    void Button6Click();
    void DBGrid1TitleClick(int column);
    void Button2Click(); // Új
    void Button3Click(); // Módosít
    void Button4Click(); // Töröl
    void Button7Click(); // Nyomtat
    void Button1Click(); // Kiválaszt
    void Button5Click(); // Mégsem

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The first use that counts the current code, or null.
    const ListSpec::Use *firstUse(const QList<ListSpec::Use> &uses);
    void openEditor(bool change);

    ListSpec s;
    bool shown = false;
};

// Opens a list window as a pick list: shown modally and destroyed. Its list query stays on the row
// it closed on, whichever button closed it; that row is the pick.
template<class List> void pickFrom(QWidget *parent)
{
    List list(parent);
    ui::showModal(list);
}
