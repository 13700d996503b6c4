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
class QVBoxLayout;

struct EditSpec
{
    enum class Type
    {
        Text,
        Number,      // the decimal comma or a point
        CommaNumber, // the decimal comma only: a point makes it no number (the item's AK box)
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
        QStringList items;      // not empty: an editable drop-down list; whatever text it shows is stored
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
        QString focus; // the control that gets the focus: empty, the box itself; "-", none
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
    QString cancelHint = QStringLiteral("Kilépés letárolás nélkül");
    QString idBox, codeBox; // the hidden identifier and code boxes

    QString *editMode = nullptr;
    QString newModeText;
    QString *codeValue = nullptr;

    Query *list = nullptr, *stmt = nullptr, *aux = nullptr;
    QString codeField;
    // A new row takes the code this box shows (worked out when the window was shown and already
    // carried by rows stored meanwhile) instead of a code computed at OK.
    QString newCodeBox;
    // The new code is computed inside the transaction, in its guard (the payment's voucher number).
    bool codeInTransaction = false;
    // The box that shows the new code after the INSERT.
    QString newCodeShownIn;
    QStringList insertLines;
    QList<Binding> insertBindings;
    QStringList replaceLines;
    QList<Binding> replaceBindings;
    QStringList listLinesAfterSaving;
    QList<Binding> listBindings; // parameters of the list re-read
    QList<Check> checks;

    QString table, idColumn; // the table (new codes, carried columns) and its identifier column
    QList<Carried> carried;

    QString fillFailure, changeFailure, insertFailure, otherFailure;
};

// The kinds of box the edit windows are made of.
namespace boxes {
// A box the clerk types into; `allowed` empty: any key. `width`: the column's width (0: none).
EditSpec::Box typed(const QString &name, const QString &label, const QString &column, int width,
                    const QString &allowed = {});
// Digits and the decimal comma only; "0" to start with and whenever it is left empty.
EditSpec::Box number(const QString &name, const QString &label, const QString &column);
// A read-only box that shows a value (a pick's name or code, a total, an identifier).
EditSpec::Box shown(const QString &name, const QString &label, const QString &column, int width = 0,
                    const QString &accessible = {});
// A hidden read-only box (identifier, code), announced by `accessible`.
EditSpec::Box hidden(const QString &name, const QString &column, int width, const QString &accessible);
// An editable drop-down list; `width`: the column's width, so that whatever it shows can be stored.
EditSpec::Box choice(const QString &name, const QString &label, const QString &column,
                     const QStringList &items, const QString &initial, int width = 45);
} // namespace boxes

class EditWindow : public QDialog
{
    Q_OBJECT
public:
    EditWindow(EditSpec spec, QWidget *parent);

    // A box by name; for a drop-down list, its text box.
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
    // The window's own show step, run once when it is first shown (after it is centred).
    virtual void showMore() {}
    // Runs after the list re-read of a save (also of a refused one), before the window closes.
    virtual void afterSave() {}
    QFormLayout *form = nullptr;
    // Takes a box's row out of the form (the window places the box itself) and returns the box's
    // label, which the caller places again or deletes; the box stays.
    QLabel *takeFromForm(QWidget *box);
    // Adds a part of a window's own below the boxes, above the OK and Mégsem buttons.
    void addSection(QWidget *section);
    void addSection(QLayout *section);
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
    QVBoxLayout *outer = nullptr;
    bool failedFill = false;
    bool centred = false;
};
