#include "foundation/keys.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace keys {
namespace {

bool isEnter(const QKeyEvent *k)
{
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

// Sees every key before the window's controls (an application filter runs before the target's own).
class EnterFilter : public QObject
{
public:
    explicit EnterFilter(QWidget *w)
        : QObject(w)
        , window(w)
    {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !window)
            return false;
        auto *k = static_cast<QKeyEvent *>(event);
        auto *target = qobject_cast<QWidget *>(watched);
        if (!isEnter(k) || !target || (target != window && !window->isAncestorOf(target)))
            return false;
        if (target->window() != window)
            return false;
        QWidget *focus = QApplication::focusWidget();
        // A key that no control takes travels up to the parents; act once, at the focused control.
        if (target != focus)
            return false;
        const bool back = k->modifiers() & Qt::ShiftModifier;
        QWidget *nextFocus =
            focus ? (back ? focus->previousInFocusChain() : focus->nextInFocusChain()) : nullptr;
        // Skip what cannot take the focus by Tab (labels, hidden and disabled boxes).
        int guard = 0;
        while (nextFocus && nextFocus != focus && guard++ < 500 &&
               (!(nextFocus->focusPolicy() & Qt::TabFocus) || !nextFocus->isVisible() ||
                !nextFocus->isEnabled() || nextFocus->window() != window))
            nextFocus = back ? nextFocus->previousInFocusChain() : nextFocus->nextInFocusChain();
        if (nextFocus && nextFocus != focus)
            nextFocus->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return false; // the key still reaches the control it was sent to
    }

private:
    QPointer<QWidget> window;
};

class CharFilter : public QObject
{
public:
    CharFilter(QLineEdit *box, QString allowed)
        : QObject(box)
        , chars(std::move(allowed))
    {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *k = static_cast<QKeyEvent *>(event);
        if (isEnter(k))
            return true;
        if (k->key() == Qt::Key_Backspace)
            return false;
        const QString t = k->text();
        if (t.isEmpty() || !t.at(0).isPrint())
            return false; // arrows, Delete, Home, Tab ... carry no character
        for (QChar c : t)
            if (!chars.contains(c))
                return true;
        return false;
    }

private:
    QString chars;
};

class ZeroFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            auto *box = static_cast<QLineEdit *>(watched);
            if (box->text().trimmed().isEmpty())
                box->setText(QStringLiteral("0"));
        }
        return false;
    }
};

class BeforeKeyFilter : public QObject
{
public:
    BeforeKeyFilter(QLineEdit *box, std::function<void(const QString &)> f)
        : QObject(box)
        , fn(std::move(f))
    {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *k = static_cast<QKeyEvent *>(event);
        const QString t = k->text();
        const bool character = !t.isEmpty() && t.at(0).isPrint();
        if (!character && !isEnter(k) && k->key() != Qt::Key_Backspace)
            return false; // Tab, Escape, arrows: navigation, not a key press of the search
        fn(static_cast<QLineEdit *>(watched)->text());
        return false;
    }

private:
    std::function<void(const QString &)> fn;
};

class LeaveFilter : public QObject
{
public:
    LeaveFilter(QLineEdit *box, std::function<void()> f)
        : QObject(box)
        , fn(std::move(f))
    {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut || busy)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        busy = true;
        fn();
        busy = false;
        return false;
    }

private:
    std::function<void()> fn;
    bool busy = false;
};

} // namespace

void onLeave(QLineEdit *box, std::function<void()> left)
{
    box->installEventFilter(new LeaveFilter(box, std::move(left)));
}

void enterMovesFocus(QWidget *window)
{
    qApp->installEventFilter(new EnterFilter(window));
}

void allowOnly(QLineEdit *box, const QString &allowed)
{
    box->installEventFilter(new CharFilter(box, allowed));
    // Pasting goes past the key filter; the validator refuses text with other characters.
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[%1]*").arg(QRegularExpression::escape(allowed))), box));
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

namespace {
class CentreFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            centreOnScreen(static_cast<QWidget *>(watched));
            deleteLater(); // once only
        }
        return false;
    }
};
} // namespace

void centreWhenShown(QWidget *window)
{
    window->installEventFilter(new CentreFilter(window));
}

void zeroWhenLeftEmpty(QLineEdit *box)
{
    box->installEventFilter(new ZeroFilter(box));
}

void onKeyPressBefore(QLineEdit *box, std::function<void(const QString &)> search)
{
    box->installEventFilter(new BeforeKeyFilter(box, std::move(search)));
}

} // namespace keys
