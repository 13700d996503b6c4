#pragma once
// The settlement windows: group posting TForm21, the payment register TForm22, the certificate
// TForm24 and the land-use notification sheet TForm30. Each rebuilds the work table when it is
// shown; a rebuild that failed leaves the table as it was and keeps the window's posting and
// printing from acting on it, with the reason in the window.

#include "settlement/settlement.h"

#include <QBrush>
#include <QDialog>
#include <functional>

class DbGrid;
class DbNavigator;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class TData;
class Query;

// What the settlement windows share: the rebuild at show, the line that tells why the window's
// actions are off, and the check list of owners with its ticks.
class SettlementWindow : public QDialog
{
    Q_OBJECT
public:
    QListWidget *CheckListBox1 = nullptr;
    QLabel *failureLabel = nullptr; // empty unless the rebuild failed

    // True when the work table was rebuilt; otherwise the step's message was shown.
    bool rebuilt() const { return ok; }
    // The ticks of the check list, line by line.
    std::vector<bool> ticks() const;
    void tickAll(bool ticked);

    ~SettlementWindow() override;

protected:
    explicit SettlementWindow(QWidget *parent);
    // The window's own show step; runs once, when the window is first shown.
    virtual void FormShow() = 0;
    bool centreAtShow = true; // the land-use window opens where the desktop puts it
    void showEvent(QShowEvent *event) override;

    // Rebuilds the work table; on failure shows the step's message, disables `actions` and puts
    // the reason into failureLabel.
    bool rebuild(settlement::Variant variant, const QList<QPushButton *> &actions);
    // The check list: a fixed-width font (its lines are aligned with blanks), one line per row of
    // `q` from its first, ticked as `ticked` says.
    QListWidget *makeCheckList();
    void fillCheckList(Query &q, const std::function<QString(const Query &)> &line,
                       const std::function<bool(const Query &)> &ticked);

private:
    // The work table is one for every copy of the program on the database: a named lock of the
    // server, held while a settlement window is open, lets one window at a time use it. False
    // (and the user told so) when another copy's window holds it.
    bool takeWorkTable();
    void releaseWorkTable();
    bool ok = false;
    bool shown = false;
    bool holdsWorkTable = false;
};

class TForm21 : public SettlementWindow
{
    Q_OBJECT
public:
    explicit TForm21(QWidget *parent = nullptr);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *Edit1, *Edit2;
    QPushButton *Button1, *Button2, *Button3, *Button6, *Button8;

    void Button6Click(); // Feladás
    void Button3Click(); // Visszavonás

protected:
    void FormShow() override;
};

class TForm22 : public SettlementWindow
{
    Q_OBJECT
public:
    explicit TForm22(QWidget *parent = nullptr);

    QLabel *Label1, *Label2, *Label3;
    DbGrid *DBGrid1;
    DbNavigator *DBNavigator1;
    QPushButton *Button1, *Button2;

    void Button1Click(); // Nyomtat

protected:
    void FormShow() override;
};

// What the certificate and the land-use sheet share: the owners of the work table in a check list,
// unticked, with their addresses; ticking; and a print of the ticked owners, one per page.
class OwnerPrintWindow : public SettlementWindow
{
    Q_OBJECT
public:
    QLabel *Label5 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button8 = nullptr;

    // "Nyomtat": the ticked owners are kept in the work table, their print is prepared and shown;
    // then the window closes. When the owners cannot be kept, the message is shown and nothing is
    // printed.
    void Button1Click();

protected:
    OwnerPrintWindow(const QString &caption, const QString &templateName, settlement::Variant variant,
                     QStringList ownerLines, std::function<void(TData &)> preparePrint, QWidget *parent);
    void FormShow() override;
    QVBoxLayout *body = nullptr;

private:
    QString templ;
    settlement::Variant variant;
    QStringList ownerLines;
    std::function<void(TData &)> prepare;
};

class TForm24 : public OwnerPrintWindow
{
    Q_OBJECT
public:
    explicit TForm24(QWidget *parent = nullptr);
    QLabel *Label1 = nullptr;
};

class TForm30 : public OwnerPrintWindow
{
    Q_OBJECT
public:
    explicit TForm30(QWidget *parent = nullptr);
};

namespace settlement {
// The background of a cell of the payment register's grid over `q`: red for an overpaid owner's
// name, white for the rest of that row, none (the grid's own) otherwise.
QBrush registerCellBackground(const Query &q, int row, int column);
// The payment register's print data: the grand total in ZQ112, the counts in the twelve v_p…
// variables (and the module-level counters), the cash total in "v_keszpenz", the register rows by
// name in ZQ110, and the callbacks that leave out owners with nothing to pay.
void prepareRegisterPrint();
void registerWindows();
} // namespace settlement
