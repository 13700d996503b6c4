#pragma once
// The window driver of the tests: records every box the program shows, and drives each modal
// window with a script that runs inside that window's own event loop.

#include "foundation/ui.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

class UiDriver : public ui::Handler
{
public:
    UiDriver(); // installs itself as the ui handler
    ~UiDriver() override;

    // Scripts for the next modal windows, in the order they open. A script runs once the window
    // is shown; when it returns and the window is still open, the window is closed (rejected).
    // A window without a script is shown and closed at once (its show handler still runs).
    void onModal(std::function<void(QDialog &)> script);
    int modalCount() const { return modals; }
    QStringList modalClasses() const { return classes; }

    QList<ui::Box> boxes;
    QStringList texts() const; // every box text, in order
    QString lastText() const;  // the last box text, empty when none
    void clear();

    // Answers of the next questions, in order; a question without one is answered "Nem".
    std::deque<bool> answers;
    // What the next save-file dialogs return, in order (empty: cancelled); `proposals` records
    // the names they were offered.
    std::deque<QString> saveNames;
    QStringList proposals;

    void showBox(const ui::Box &box) override;
    int showModal(QDialog &dialog) override;
    bool ask(const ui::Box &box) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                         const QString &filter) override;

private:
    std::deque<std::function<void(QDialog &)>> scripts;
    int modals = 0;
    QStringList classes;
};

// Types text key by key, as a clerk would; unlike QTest::keyClicks it also types á, ő, ű ...
void typeText(QWidget *widget, const QString &text);

// Makes the window the active one, so that focus moves and focus-out events happen as on a desktop.
bool activate(QWidget *window);
