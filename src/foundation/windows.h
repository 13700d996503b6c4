#pragma once
// The windows that the menu and other windows open, by class name. A subsystem registers its
// windows once at program start; a menu item whose window is not registered stays disabled.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace windows {

using Factory = std::function<QDialog *(QWidget *parent)>;

void registerWindow(const QString &className, Factory factory);
bool isRegistered(const QString &className);
// Creates the window (nullptr when it is not registered); the caller owns it.
QDialog *create(const QString &className, QWidget *parent);
// Creates the window, shows it modally through the ui seam and destroys it when it closes.
// Returns the dialog's result; -1 when the window is not registered.
int openModal(const QString &className, QWidget *parent);

} // namespace windows
