#pragma once
// The one database connection (ZCon1): MariaDB Connector/C over TCP, CP1250 on the wire.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

struct st_mysql;
struct st_mysql_res;

// A database failure. For errors of the server the text is "SQL Error: " and the server's message.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &text)
        : std::runtime_error(text.toStdString())
        , txt(text)
    {}
    QString text() const { return txt; }

private:
    QString txt;
};

// Text that CP1250 cannot carry: the statement is refused before it is sent.
class EncodingError : public DbError
{
public:
    explicit EncodingError(const QString &text)
        : DbError(text)
    {}
};

// Conversion between Qt's Unicode strings and CP1250 bytes, through iconv.
class Cp1250
{
public:
    // Throws EncodingError naming the first character that CP1250 cannot represent.
    static QByteArray encode(const QString &text);
    static QString decode(const char *data, size_t length);
    // The characters of `text` that CP1250 cannot represent (empty when all can).
    static QString unrepresentable(const QString &text);
    // The first of them, a whole character (an emoji is two UTF-16 units); empty when none.
    static QString firstUnrepresentable(const QString &text);
};

// The server could not be reached, or the connection broke during a statement. The text says, in
// Hungarian, what is known of the statement's fate (never sent, rolled back, or not known).
class ConnectionLost : public DbError
{
public:
    explicit ConnectionLost(const QString &text)
        : DbError(text)
    {}
};

struct ConnectionSettings
{
    QString host = QStringLiteral("localhost");
    unsigned port = 3306;
    QString database = QStringLiteral("zelv2010");
    QString user = QStringLiteral("zelv2010");
    QString password;
    QString catalog = QStringLiteral("zelv2010");
    QString properties = QStringLiteral("codepage=CP1250");
    // The user's private server's socket, tried first; empty: TCP only.
    QString socket;
    // When the socket does not answer: go on to host and port over TCP (false: the socket only).
    bool tcpWhenNoSocket = true;

    // The fixed settings: the private server's socket when that server answers there, otherwise
    // "localhost", port 3306, over TCP. Tests, and only tests, point them elsewhere through
    // ZELVANA_DB_HOST, ZELVANA_DB_PORT (TCP only), ZELVANA_DB_SOCKET (that socket only),
    // ZELVANA_DB_NAME and ZELVANA_DB_USER.
    static ConnectionSettings fromEnvironment();
    // Where the private server of this user listens: ${XDG_DATA_HOME:-~/.local/share}/zelvana/run.
    static QString privateSocketPath();
};

// Owns a stored result; frees it when destroyed.
struct ResultDeleter
{
    void operator()(st_mysql_res *res) const;
};
using ResultPtr = std::unique_ptr<st_mysql_res, ResultDeleter>;

class Connection
{
public:
    // Connects at once (the data module is connected from the moment it exists); throws DbError.
    explicit Connection(const ConnectionSettings &settings);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Sends one statement (already encoded). Returns the stored result for statements that
    // produce rows, nullptr otherwise. Throws DbError("SQL Error: ...").
    //
    // When the server has gone away the connection is made again, once, at the next statement, so
    // the program goes on without a restart once the server is back. A statement is sent again
    // only when its fate is known and repeating it changes nothing: a read outside a transaction,
    // or a statement that never left (the client found the connection dead). Otherwise
    // ConnectionLost says what is known: a transaction that broke was rolled back by the server; a
    // write or COMMIT whose answer was lost may or may not have happened. A ROLLBACK on a broken
    // connection succeeds without being sent (the server rolled back already).
    ResultPtr execute(const QByteArray &statement);
    bool inTransaction() const { return inTx; }
    // Escapes text for a quoted literal, safely for the connection's character set.
    QByteArray escape(const QByteArray &raw) const;
    quint64 affectedRows() const;
    // Statements sent so far, and those of them that may have changed data (anything but a
    // SELECT, SHOW, EXPLAIN or DESCRIBE). The program is its database's only client, so a result
    // read when this count was n still holds while it is n.
    quint64 statementsSent() const { return sent; }
    quint64 writesSent() const { return writes; }
    // The session's sql_mode, the same as db/server.cnf gives the private server: the program's
    // SQL relies on it (double quotes are text, grouped queries may select other columns).
    static const char *sqlMode();

    // Called with each statement just before it is sent and just after its answer (or failure)
    // came back; unset in the program. Benchmarks time the statements of a step with them, and
    // reliability tests stop the server at a chosen point.
    std::function<void(const QByteArray &statement)> beforeStatement, afterStatement;

    const ConnectionSettings &settings() const { return cfg; }
    bool connected() const { return handle != nullptr; }
    // True when the connection went through the private server's socket.
    bool viaSocket() const { return socketUsed; }

    // Called with the message when a statement is refused for a character CP1250 lacks, before
    // the exception is thrown (the program shows the message to the user).
    static std::function<void(const QString &)> &refusalNotifier();
    // Called with the message when the server cannot be reached or the connection broke, once per
    // outage, before ConnectionLost is thrown (the program shows it to the user).
    static std::function<void(const QString &)> &lossNotifier();
    // The user began something new: the next broken connection is reported again.
    static void newUserAction() { lossReported = false; }

private:
    [[noreturn]] void fail() const;
    QString codepage() const; // the part of `properties` after "codepage=" (cp1250)
    // One attempt: through `socket` when it is not empty, otherwise over TCP. Null on failure,
    // with the client library's error number and message.
    st_mysql *connectOnce(const QString &socket, unsigned *error, QString *message) const;
    // Connects as the constructor does (socket, then TCP as the settings say) and sets the
    // session up; false when the server does not answer.
    bool open(QString *message);
    void drop();
    [[noreturn]] void lost(const QString &text);

    st_mysql *handle = nullptr;
    bool inTx = false;
    static inline bool lossReported = false;
    ConnectionSettings cfg;
    bool socketUsed = false;
    quint64 sent = 0, writes = 0;
};
