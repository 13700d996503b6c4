#pragma once
// The plain controls of the windows that are built by hand (not from a list or edit spec): a
// named label, and a named button with its hint that Enter does not press.

#include <QLabel>
#include <QPushButton>

namespace forms {

inline QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QString &hint)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace forms
