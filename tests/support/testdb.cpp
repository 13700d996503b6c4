#include "support/testdb.h"

#include "foundation/tdata.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <mysql.h>
#include <stdexcept>

namespace {
QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    return QString::fromUtf8(f.readAll());
}
} // namespace

QString TestDb::serverDir()
{
    // A test that stops and starts its server runs one of its own.
    return qEnvironmentVariable("ZELVANA_TEST_SERVER", QStringLiteral(ZELVANA_TEST_SERVER_DIR));
}
QString TestDb::sourceDir()
{
    return QStringLiteral(ZELVANA_SOURCE_DIR);
}

unsigned TestDb::serverPort()
{
    return readFile(serverDir() + QStringLiteral("/port")).trimmed().toUInt();
}

void TestDb::connectRoot()
{
    if (root)
        mysql_close(root);
    root = mysql_init(nullptr);
    const QByteArray socket = readFile(serverDir() + QStringLiteral("/socketpath")).trimmed().toUtf8();
    if (!mysql_real_connect(root, nullptr, "root", "", nullptr, 0, socket.constData(),
                            CLIENT_MULTI_STATEMENTS))
        throw std::runtime_error(std::string("test server: ") + mysql_error(root));
    mysql_set_character_set(root, "utf8mb4");
}

TestDb::TestDb(bool seed)
{
    connectRoot();
    db = QStringLiteral("zt_%1_%2")
             .arg(QCoreApplication::applicationPid())
             .arg(QRandomGenerator::global()->bounded(1u << 30));
    QString create = readFile(sourceDir() + QStringLiteral("/db/create.sql"));
    create.replace(QStringLiteral("`zelv2010`"), QLatin1Char('`') + db + QLatin1Char('`'));
    exec(create);
    if (seed)
        load(QStringLiteral("db/seed.sql"));
    qputenv("ZELVANA_DB_HOST", "127.0.0.1");
    qputenv("ZELVANA_DB_PORT", QByteArray::number(serverPort()));
    qputenv("ZELVANA_DB_NAME", db.toUtf8());
}

TestDb::~TestDb()
{
    if (module) {
        if (hasData() && &Data() == module.get())
            setData(nullptr);
        module.reset();
    }
    if (root) {
        mysql_query(root, ("DROP DATABASE IF EXISTS `" + db + "`").toUtf8().constData());
        mysql_close(root);
    }
}

ConnectionSettings TestDb::settings() const
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = serverPort();
    s.database = db;
    s.catalog = db;
    return s;
}

void TestDb::exec(const QString &sql)
{
    const QByteArray q = sql.toUtf8();
    if (mysql_select_db(root, db.toUtf8().constData()) != 0 &&
        !sql.contains(QLatin1String("CREATE DATABASE")))
        throw std::runtime_error(std::string("select db: ") + mysql_error(root));
    if (mysql_real_query(root, q.constData(), q.size()) != 0)
        throw std::runtime_error(std::string("fixture SQL: ") + mysql_error(root) + "\n" + q.toStdString());
    // Drain every result of a multi-statement text.
    do {
        if (MYSQL_RES *r = mysql_store_result(root))
            mysql_free_result(r);
    } while (mysql_next_result(root) == 0);
    if (mysql_errno(root))
        throw std::runtime_error(std::string("fixture SQL: ") + mysql_error(root));
}

MYSQL_RES *TestDb::select(const QString &sql)
{
    mysql_select_db(root, db.toUtf8().constData());
    const QByteArray q = sql.toUtf8();
    if (mysql_real_query(root, q.constData(), q.size()) != 0)
        throw std::runtime_error(std::string("fixture SQL: ") + mysql_error(root));
    return mysql_store_result(root);
}

QStringList TestDb::columns(const QString &table)
{
    QStringList out;
    MYSQL_RES *r = select("SELECT * FROM " + table + " LIMIT 0");
    if (!r)
        return out;
    const unsigned n = mysql_num_fields(r);
    MYSQL_FIELD *f = mysql_fetch_fields(r);
    for (unsigned i = 0; i < n; ++i)
        out << QString::fromUtf8(f[i].name);
    mysql_free_result(r);
    return out;
}

QStringList TestDb::rows(const QString &sql)
{
    QStringList out;
    MYSQL_RES *r = select(sql);
    if (!r)
        return out;
    const unsigned n = mysql_num_fields(r);
    while (MYSQL_ROW row = mysql_fetch_row(r)) {
        unsigned long *len = mysql_fetch_lengths(r);
        QStringList cells;
        for (unsigned i = 0; i < n; ++i)
            cells << (row[i] ? QString::fromUtf8(row[i], int(len[i])) : QStringLiteral("NULL"));
        out << cells.join(QLatin1Char('|'));
    }
    mysql_free_result(r);
    return out;
}

QString TestDb::scalar(const QString &sql)
{
    const QStringList r = rows(sql);
    if (r.isEmpty())
        return QString();
    const QString first = r.first().section(QLatin1Char('|'), 0, 0);
    return first == QLatin1String("NULL") ? QString() : first;
}

void TestDb::load(const QString &relativePath)
{
    exec(readFile(sourceDir() + QLatin1Char('/') + relativePath));
}

TData &TestDb::data()
{
    if (!module) {
        module = std::make_unique<TData>(settings());
        setData(module.get());
    }
    return *module;
}
