#pragma once
// The edit window pattern: new mode (computed code, START TRANSACTION, INSERT, COMMIT) and change
// mode (REPLACE, COMMIT) of one row; the checks before storing, each with its message and focus;
// the failure paths (insert/change failure: ROLLBACK, the list re-read, the window closes; any
// other failure: the window stays open); the re-read of the list positioned on the saved row.

#include <QDialog>
#include <QHash>
#include <functional>

class Query;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

struct EditSpec
{
    enum class Type
    {
        Text,
        Number,
        Date
    };
    struct Box
    {
        QString name;      // Edit1
        QString label;     // "Művelési ág"
        QString column;    // the column it shows and stores (filled from the list's current row)
        int maxLength = 0; // the column's width; 0: no limit (numbers, dates)
        QString allowed;   // the characters a filtered box accepts; empty: any
        bool zeroWhenEmpty = false;
        QString initial;
        QString hint;
        bool hidden = false; // the hidden identifier and code boxes
        bool readOnly = false;
        QString accessibleName; // for boxes without a visible label of their own
    };
    struct Binding
    {
        QString param; // "p2"
        QString box;   // "Edit1"; empty: the new code
        Type type = Type::Text;
    };
    struct Check
    {
        QString box;
        enum class Kind
        {
            NotBlank,
            IsDate
        } kind = Kind::NotBlank;
        QString message;
    };
    // A column the window neither shows nor writes, carried over a change with its stored value
    // (the REPLACE would otherwise reset it to its default).
    struct Carried
    {
        QString column;
        QString param;
        Type type = Type::Text;
    };

    QString designCaption;
    bool fixedSize = true;
    bool enterMovesFocus = false;
    QList<Box> boxes;     // in layout order
    QStringList tabOrder; // names of boxes and buttons; empty: layout order
    QString okName = QStringLiteral("Button2"), cancelName = QStringLiteral("Button4");
    QString idBox, codeBox; // the hidden identifier and code boxes

    QString *editMode = nullptr;
    QString newModeText;
    QString *codeValue = nullptr;

    Query *list = nullptr, *stmt = nullptr, *aux = nullptr;
    QString codeField;
    QStringList insertLines;
    QList<Binding> insertBindings;
    QStringList replaceLines;
    QList<Binding> replaceBindings;
    QStringList listLinesAfterSaving;
    QList<Check> checks;

    QString table, idColumn; // the table (new codes, carried columns) and its identifier column
    QList<Carried> carried;

    QString fillFailure, changeFailure, insertFailure, otherFailure;
};

class EditWindow : public QDialog
{
    Q_OBJECT
public:
    EditWindow(EditSpec spec, QWidget *parent);

    QLineEdit *box(const QString &name) const;
    QPushButton *okButton() const { return ok; }
    QPushButton *cancelButton() const { return cancel; }
    const EditSpec &spec() const { return s; }
    bool isNewMode() const;

    // Change mode: caption := the mode text, boxes from the list's current row. On failure shows
    // the fill-failure message and returns false: the window is then closed without storing.
    bool fill();
    bool fillFailed() const { return failedFill; }

    void OKClick();
    void CancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    // For windows with more to fill (the parcel's code names): runs inside the fill's guard.
    virtual void fillMore() {}
    // For windows with checks beyond those of their EditSpec (run after them); false stops the save.
    virtual bool checkMore() { return true; }
    QFormLayout *form = nullptr;
    // Applies the fixed size and the tab order; a window that adds controls of its own (the
    // parcel's pick buttons) calls it again afterwards.
    void finishLayout();

private:
    void bind(Query *q, const QList<EditSpec::Binding> &bindings, const QString &newCode);
    void readCarried(QHash<QString, QVariant> &values);
    void exec(Query *q, const QStringList &lines);

    EditSpec s;
    QHash<QString, QLineEdit *> boxes;
    QPushButton *ok = nullptr, *cancel = nullptr;
    bool failedFill = false;
    bool centred = false;
};
