#pragma once
// The one seam through which windows show message boxes and modal windows. Production shows
// real QMessageBoxes and exec()s; the test harness installs a handler that records every text
// and drives each modal window with a script. No window calls QMessageBox or exec() directly.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace ui {

enum class BoxKind
{
    Message, // plain information box, button OK
    Confirm, // title "Confirm", question icon, a single "Yes" button
    Error,   // the standard error box ("SQL Error: ..." and other uncaught errors)
    Titled,  // a box with a caller-given title (the report engine's "Error")
    Question // "Igen" / "Nem"
};

struct Box
{
    BoxKind kind;
    QString title;
    QString text;
};

class Handler
{
public:
    virtual ~Handler() = default;
    virtual void showBox(const Box &box) = 0;
    // Shows the dialog modally; returns its result code (QDialog::Accepted / Rejected).
    virtual int showModal(QDialog &dialog) = 0;
    // A question box: true for "Igen".
    virtual bool ask(const Box &box) = 0;
    // The save-file dialog; an empty text when the user cancelled. It asks nothing about an
    // existing file: the caller does, through ask().
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                                 const QString &filter) = 0;
};

// Plain message (the program's "ShowMessage").
void message(const QString &text);
// "Confirm" box with a single "Yes" button; its answer changes nothing.
void confirm(const QString &text);
// The standard error box.
void error(const QString &text);
// A box with its own title, for example the report engine's "Error".
void titledBox(const QString &title, const QString &text);
// A question with the buttons "Igen" and "Nem"; true for "Igen".
bool ask(const QString &text);
// Asks where to save a file, starting at `proposed`; empty when the user cancelled.
QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed, const QString &filter);
// Shows a window modally and returns when it closes.
int showModal(QDialog &dialog);

// Installs a handler (the test harness does); nullptr restores the production handler.
void setHandler(Handler *handler);
Handler &handler();

} // namespace ui
