#pragma once
// The lists window TForm25, the consistency check and owner purge TForm27, the data export
// TForm26, the about window TForm28 and the help window TForm29 with the program's help viewer.

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTextBrowser;
class QTextEdit;
class QTreeWidget;
class Query;
class TData;

// ---- lists ---------------------------------------------------------------------------------

class TForm25 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm25(QWidget *parent = nullptr);

    QGroupBox *GroupBox1;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5;
    QPushButton *Button8, *Button7, *Button5;
    QLineEdit *Edit2; // the picked code (hidden)

    void Button8Click(); // Kiválasztás
    void Button7Click(); // Nyomtat

private:
    int choice() const; // 3 … 7
};

// ---- consistency check and purge -----------------------------------------------------------

namespace maintenance {
// One check of references: the rows of `table`, ordered by `orderBy`, whose reference names no row
// of the referenced table; the result line of each such row.
struct Check
{
    QString caption;
    QString table, orderBy;
    QString idColumn;         // the table's row identifier
    QString lineColumns;      // the columns its line shows
    QString missingCondition; // that the reference names nothing, as a lookup of it would find
    std::function<QString(const Query &)> line;
    // A check that is no reference check (the account numbers): its lines, whole.
    std::function<QStringList(TData &)> own;
    // The statement whose rows the check walks: "SELECT * " / "  FROM alresz " / "  ORDER BY aTkod ".
    QStringList outerLines() const;
};
const QList<Check> &checks();
// The result lines of check `index`, exactly as a lookup per row of the outer statement would give
// them, in the same order: one statement whatever the table's size, and a walk of the outer
// statement only when rows that point nowhere share their sort value (their order among
// themselves is the server's).
QStringList runCheck(TData &data, int index);
// Deletes the owners that neither a contract nor a payment names, in one transaction; returns the
// lines ("NKOD= 12 Törölve.") in owner-code order.
QStringList purgeOwners(TData &data);
} // namespace maintenance

class TForm27 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm27(QWidget *parent = nullptr);

    QGroupBox *GroupBox1, *GroupBox2;
    QList<QRadioButton *> RadioButtons; // RadioButton1 …
    QPushButton *Button1, *Button2, *Button3;
    QPlainTextEdit *Memo1;

    void Button1Click(); // Ellenörzés
    void Button3Click(); // Törlés
};

// ---- data export ---------------------------------------------------------------------------

namespace maintenance {
struct ExportTable
{
    QString checkName, caption, table, file;
};
const QList<ExportTable> &exportTables();
// The folder the database server may write its files into (its secure_file_priv), with a final
// "/"; the private server's export folder when the server allows any place or none.
QString defaultExportPlace(TData &data);
// Writes the table into `folder`/`file`: the server writes a temporary file beside it, which
// replaces the old file only after the server succeeded (a failed export keeps the last good one).
// Throws DbError with the server's message; `renameFailure` when the new file could not be put in
// place (the message names it).
void exportTable(TData &data, const ExportTable &table, const QString &folder);
} // namespace maintenance

class TForm26 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm26(QWidget *parent = nullptr);

    QLabel *Label1, *Label2;
    QList<QCheckBox *> CheckBoxes; // CheckBox1 … CheckBox10
    QLineEdit *Edit1;
    QPushButton *Button1, *Button2;

    void Button1Click(); // OK

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool shown = false;
};

// ---- about and help ------------------------------------------------------------------------

class TForm28 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm28(QWidget *parent = nullptr);
    QTextEdit *Memo1;
    QPushButton *Button2;
    static QStringList lines();
};

// The help viewer: contents, index, the page, back and forward.
class HelpViewer : public QDialog
{
    Q_OBJECT
public:
    // Opens at `page` (a file of the help folder) when it exists; otherwise says so.
    explicit HelpViewer(const QString &page, QWidget *parent = nullptr);
    QTextBrowser *browser;
    QTreeWidget *contents;
    QListWidget *index;
    QPushButton *backButton, *forwardButton;
    bool opened() const { return ok; }

    // Where the help pages are: the working folder's "help", or the installed program's.
    static QString folder();

private:
    bool ok = false;
};

class TForm29 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm29(QWidget *parent = nullptr);
    QPushButton *Button1;
    // Opens the help at its contents; a missing help says so and this window stays open.
    void Button1Click();

protected:
    // Opened by F1 on a menu with a help context: the help opens at that topic at once.
    void showEvent(QShowEvent *event) override;
};

namespace maintenance {
// Opens the help viewer at a topic (the "Kifizetés" menu's F1: help context 1).
void showHelp(const QString &page, QWidget *parent);
QString helpPageOfContext(int context);
void registerWindows();
} // namespace maintenance
