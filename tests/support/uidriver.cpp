#include "support/uidriver.h"

#include <QTimer>

UiDriver::UiDriver()
{
    ui::setHandler(this);
}
UiDriver::~UiDriver()
{
    ui::setHandler(nullptr);
}

void UiDriver::onModal(std::function<void(QDialog &)> script)
{
    scripts.push_back(std::move(script));
}

QStringList UiDriver::texts() const
{
    QStringList l;
    for (const auto &b : boxes)
        l << b.text;
    return l;
}

QString UiDriver::lastText() const
{
    return boxes.isEmpty() ? QString() : boxes.last().text;
}

void UiDriver::clear()
{
    boxes.clear();
}

void UiDriver::showBox(const ui::Box &box)
{
    boxes.append(box);
}

bool UiDriver::ask(const ui::Box &box)
{
    boxes.append(box);
    if (answers.empty())
        return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

QString UiDriver::saveFileName(QWidget *, const QString &, const QString &proposed, const QString &)
{
    proposals << proposed;
    if (saveNames.empty())
        return QString();
    const QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

int UiDriver::showModal(QDialog &dialog)
{
    ++modals;
    classes << QString::fromLatin1(dialog.metaObject()->className());
    std::function<void(QDialog &)> script;
    if (!scripts.empty()) {
        script = std::move(scripts.front());
        scripts.pop_front();
    }
    QDialog *d = &dialog;
    QTimer::singleShot(0, d, [d, script] {
        if (script)
            script(*d);
        if (d->isVisible())
            d->reject();
    });
    return dialog.exec();
}

#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80 && c.unicode() >= 0x20) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

#include <QApplication>

bool activate(QWidget *window)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}
