#pragma once
// Key handling the windows share: Enter moving the focus, key filters of boxes, and the search
// box that runs on every key press with the text as it stood before the key.

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace keys {

// The window sees keys before its controls: Enter moves the focus to the next control in tab
// order, Shift+Enter to the previous one. The key still reaches the control that had the focus.
void enterMovesFocus(QWidget *window);

// Drops every typed character of `box` that is not in `allowed` (Enter too); Backspace and the
// editing keys (arrows, Delete, Home, End, Tab) pass. Pasted text must consist of allowed
// characters as well. A filter on a box is the program's way of keeping letters out of number,
// date and code boxes.
void allowOnly(QLineEdit *box, const QString &allowed);

// Places a window in the middle of the screen it is on (the program's windows open centred on the
// desktop, not over their opener).
void centreOnScreen(QWidget *window);
// Centres the window the first time it is shown.
void centreWhenShown(QWidget *window);

// Sets the box to "0" when it loses the focus holding nothing but blanks.
void zeroWhenLeftEmpty(QLineEdit *box);

// Calls `left` when the focus leaves the box for another control of its window (not when another
// window or a popup takes it, so that a message box shown from `left` does not call it again).
void onLeave(QLineEdit *box, std::function<void()> left);

// Calls `search` with the box's text as it stands before each typed character (Enter and
// Backspace included; Tab, Escape and the cursor keys are not key presses here) is applied; the key
// then reaches the box as usual.
void onKeyPressBefore(QLineEdit *box, std::function<void(const QString &textBefore)> search);

} // namespace keys
