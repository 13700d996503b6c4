#pragma once
// Report variables: one store for the whole run of the program. Names are matched without regard
// to letter case; a value stays until it is set again (nothing clears the store).

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace report {

class Variables
{
public:
    // Replaces the value of an existing name (whatever its case) or adds a new one.
    void set(const QString &name, const QVariant &value);
    // The value, or a null QVariant when the name was never set.
    QVariant value(const QString &name) const;
    bool contains(const QString &name) const;
    // Names as they were first written.
    QStringList names() const;

    // Lookup by a key already folded with foldName(); the engine folds names once at load time.
    const QVariant *findFolded(const QString &foldedName) const;
    static QString foldName(const QString &name) { return name.toCaseFolded(); }

private:
    struct Entry
    {
        QString name;
        QVariant value;
    };
    QHash<QString, Entry> entries;
};

} // namespace report
