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

int openModal(const QString &className, QWidget *parent)
{
    auto it = registry().constFind(className);
    if (it == registry().constEnd())
        return -1;
    std::unique_ptr<QDialog> dialog((*it)(parent));
    if (!dialog)
        return -1;
    return ui::showModal(*dialog);
}

} // namespace windows
