#include "reports/engine/variables.h"

namespace report {

void Variables::set(const QString &name, const QVariant &value)
{
    const QString key = foldName(name);
    auto it = entries.find(key);
    if (it == entries.end())
        entries.insert(key, Entry{name, value});
    else
        it->value = value;
}

QVariant Variables::value(const QString &name) const
{
    const QVariant *v = findFolded(foldName(name));
    return v ? *v : QVariant();
}

bool Variables::contains(const QString &name) const
{
    return entries.contains(foldName(name));
}

QStringList Variables::names() const
{
    QStringList out;
    out.reserve(entries.size());
    for (const Entry &e : entries)
        out << e.name;
    out.sort(Qt::CaseInsensitive);
    return out;
}

const QVariant *Variables::findFolded(const QString &foldedName) const
{
    auto it = entries.constFind(foldedName);
    return it == entries.constEnd() ? nullptr : &it->value;
}

} // namespace report
