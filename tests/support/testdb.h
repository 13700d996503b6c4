#pragma once
// A fresh database per test on the run's throwaway server, and a data module connected to it.

#include "foundation/connection.h"

#include <QString>
#include <QStringList>
#include <memory>

class TData;
struct st_mysql;
struct st_mysql_res;

class TestDb
{
public:
    // Creates a new database from db/create.sql (and db/seed.sql when `seed`), grants the
    // program's account on it, and points ZELVANA_DB_* at it.
    explicit TestDb(bool seed = false);
    ~TestDb();

    const QString &name() const { return db; }
    ConnectionSettings settings() const;

    // Runs SQL as the server's root on this database (setting up fixtures, reading back rows).
    void exec(const QString &sql);
    // First column of the first row of a SELECT, as UTF-8 text; empty for NULL or no row.
    QString scalar(const QString &sql);
    // The names of a table's visible columns, from a result's description (no catalogue query).
    QStringList columns(const QString &table);
    // All rows of a SELECT, columns joined by "|".
    QStringList rows(const QString &sql);
    // Loads a file of SQL statements (db/seed.sql, db/demo.sql ...), relative to the source tree.
    void load(const QString &relativePath);

    // Connects the root session again (after the server was stopped and started).
    void connectRoot();

    // A data module on this database (the one Data() returns, until the TestDb goes away).
    TData &data();

    static QString serverDir();
    static unsigned serverPort();
    static QString sourceDir();

private:
    // A SELECT's stored result on this database (null when it has none); throws on error.
    st_mysql_res *select(const QString &sql);

    st_mysql *root = nullptr;
    QString db;
    std::unique_ptr<TData> module;
};
