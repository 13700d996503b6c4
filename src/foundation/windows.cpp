#include "foundation/windows.h"

#include "foundation/ui.h"

#include <QDialog>
#include <QHash>
#include <memory>

namespace windows {
namespace {
QHash<QString, Factory> &registry()
{
    static QHash<QString, Factory> r;
    return r;
}
} // namespace

void registerWindow(const QString &className, Factory factory)
{
    registry().insert(className, std::move(factory));
}

bool isRegistered(const QString &className)
{
    return registry().contains(className);
}

QDialog *create(const QString &className, QWidget *parent)
{
    auto it = registry().constFind(className);
    return it == registry().constEnd() ? nullptr : (*it)(parent);
}

int openModal(const QString &className, QWidget *parent)
{
    std::unique_ptr<QDialog> dialog(create(className, parent));
    if (!dialog)
        return -1;
    return ui::showModal(*dialog);
}

} // namespace windows
