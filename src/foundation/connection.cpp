#include "foundation/connection.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <array>
#include <cctype>
#include <cerrno>
#include <errmsg.h>
#include <iconv.h>
#include <mysql.h>

namespace {

// One converter per direction; iconv_t is not thread-safe, but the program has one thread.
struct Iconv
{
    iconv_t cd;
    Iconv(const char *to, const char *from)
        : cd(iconv_open(to, from))
    {}
    ~Iconv()
    {
        if (cd != (iconv_t)-1)
            iconv_close(cd);
    }
};

Iconv &toCp1250()
{
    static Iconv c("CP1250", "UTF-8");
    return c;
}
Iconv &fromCp1250()
{
    static Iconv c("UTF-8", "CP1250");
    return c;
}

} // namespace

QString Cp1250::unrepresentable(const QString &text)
{
    QString bad;
    const auto ucs = text.toUcs4();
    for (char32_t c : ucs) {
        if (c < 0x80)
            continue;
        QString one = QString::fromUcs4(&c, 1);
        QByteArray in = one.toUtf8();
        char out[8];
        char *ip = in.data();
        size_t il = in.size();
        char *op = out;
        size_t ol = sizeof out;
        iconv(toCp1250().cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toCp1250().cd, &ip, &il, &op, &ol) == (size_t)-1 && !bad.contains(one))
            bad += one;
    }
    return bad;
}

QString Cp1250::firstUnrepresentable(const QString &text)
{
    const QString bad = unrepresentable(text);
    return bad.left(bad.isEmpty() ? 0 : bad.at(0).isHighSurrogate() ? 2 : 1);
}

QByteArray Cp1250::encode(const QString &text)
{
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() + 1, '\0');
    char *ip = in.data();
    size_t il = in.size();
    char *op = out.data();
    size_t ol = out.size();
    iconv(toCp1250().cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toCp1250().cd, &ip, &il, &op, &ol) == (size_t)-1) {
        // Find the offending character: the UTF-8 sequence at ip.
        QString rest = QString::fromUtf8(ip, int(il));
        uint ucs = rest.isEmpty() ? 0xFFFD : rest.toUcs4().value(0);
        QString ch = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs), 1);
        QString msg = QStringLiteral("A(z) „%1” karakter (U+%2) nem tárolható az adatbázisban, "
                                     "ezért az adat nem lett letárolva. Javítsa a szöveget!")
                          .arg(ch)
                          .arg(QString::number(ucs, 16).toUpper().rightJustified(4, QLatin1Char('0')));
        if (auto &notify = Connection::refusalNotifier())
            notify(msg);
        throw EncodingError(msg);
    }
    out.truncate(int(out.size() - ol));
    return out;
}

namespace {
// CP1250 is one byte per character: a table of the 256 characters, made by iconv once, decodes a
// cell without calling iconv (every cell a list or a print reads goes through here). The five byte
// values CP1250 leaves undefined show as the replacement character.
const std::array<char16_t, 256> &cp1250Table()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            char out[8];
            char *ip = &in;
            size_t il = 1;
            char *op = out;
            size_t ol = sizeof out;
            iconv(fromCp1250().cd, nullptr, nullptr, nullptr, nullptr);
            const bool ok = iconv(fromCp1250().cd, &ip, &il, &op, &ol) != (size_t)-1;
            const QString ch = QString::fromUtf8(out, int(sizeof out - ol));
            t[size_t(b)] = ok && ch.size() == 1 ? ch[0].unicode() : char16_t(0xFFFD);
        }
        return t;
    }();
    return table;
}
} // namespace

QString Cp1250::decode(const char *data, size_t length)
{
    if (length == 0)
        return QString();
    const auto &table = cp1250Table();
    QString out(qsizetype(length), Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    for (size_t i = 0; i < length; ++i)
        o[i] = table[static_cast<unsigned char>(data[i])];
    return out;
}

QString ConnectionSettings::privateSocketPath()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/zelvana/run/mariadbd.sock");
}

ConnectionSettings ConnectionSettings::fromEnvironment()
{
    ConnectionSettings s;
    const auto env = QProcessEnvironment::systemEnvironment();
    const bool tcpGiven =
        env.contains(QStringLiteral("ZELVANA_DB_HOST")) || env.contains(QStringLiteral("ZELVANA_DB_PORT"));
    if (env.contains(QStringLiteral("ZELVANA_DB_SOCKET"))) {
        s.socket = env.value(QStringLiteral("ZELVANA_DB_SOCKET"));
        s.tcpWhenNoSocket = false;
    } else if (!tcpGiven) {
        s.socket = privateSocketPath();
    }
    if (env.contains(QStringLiteral("ZELVANA_DB_HOST")))
        s.host = env.value(QStringLiteral("ZELVANA_DB_HOST"));
    if (env.contains(QStringLiteral("ZELVANA_DB_PORT")))
        s.port = env.value(QStringLiteral("ZELVANA_DB_PORT")).toUInt();
    if (env.contains(QStringLiteral("ZELVANA_DB_NAME"))) {
        s.database = env.value(QStringLiteral("ZELVANA_DB_NAME"));
        s.catalog = s.database;
    }
    if (env.contains(QStringLiteral("ZELVANA_DB_USER")))
        s.user = env.value(QStringLiteral("ZELVANA_DB_USER"));
    return s;
}

void ResultDeleter::operator()(st_mysql_res *res) const
{
    if (res)
        mysql_free_result(res);
}

std::function<void(const QString &)> &Connection::refusalNotifier()
{
    static std::function<void(const QString &)> f;
    return f;
}

std::function<void(const QString &)> &Connection::lossNotifier()
{
    static std::function<void(const QString &)> f;
    return f;
}

st_mysql *Connection::connectOnce(const QString &socket, unsigned *error, QString *message) const
{
    MYSQL *h = mysql_init(nullptr);
    if (!h) {
        *error = 0;
        *message = QStringLiteral("out of memory");
        return nullptr;
    }
    // A socket path, or TCP forced so that the port means what it says.
    unsigned protocol = socket.isEmpty() ? MYSQL_PROTOCOL_TCP : MYSQL_PROTOCOL_SOCKET;
    mysql_optionsv(h, MYSQL_OPT_PROTOCOL, &protocol);
    unsigned timeout = 5;
    mysql_optionsv(h, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    // The client library escapes for this character set; the server is told with SET CHARACTER SET.
    mysql_optionsv(h, MYSQL_SET_CHARSET_NAME, codepage().toLower().toLatin1().constData());
    const QByteArray host = cfg.host.toUtf8(), user = cfg.user.toUtf8(), pass = cfg.password.toUtf8(),
                     db = cfg.database.toUtf8(), path = QFile::encodeName(socket);
    if (!mysql_real_connect(h, socket.isEmpty() ? host.constData() : "localhost", user.constData(),
                            pass.constData(), db.constData(), socket.isEmpty() ? cfg.port : 0,
                            socket.isEmpty() ? nullptr : path.constData(), 0)) {
        *error = mysql_errno(h);
        *message = QString::fromUtf8(mysql_error(h));
        mysql_close(h);
        return nullptr;
    }
    return h;
}

QString Connection::codepage() const
{
    QString page = QStringLiteral("cp1250");
    const int eq = cfg.properties.indexOf(QLatin1Char('='));
    if (eq >= 0)
        page = cfg.properties.mid(eq + 1).trimmed();
    return page;
}

Connection::Connection(const ConnectionSettings &settings)
    : cfg(settings)
{
    QString message;
    if (!open(&message))
        throw DbError(QStringLiteral("SQL Error: ") + message);
}

bool Connection::open(QString *message)
{
    unsigned error = 0;
    st_mysql *h = nullptr;
    socketUsed = false;
    if (!cfg.socket.isEmpty()) {
        h = connectOnce(cfg.socket, &error, message);
        socketUsed = h != nullptr;
        // Only "nobody answers there" sends us on to TCP; a server that answers and refuses is the
        // answer (its message says why).
        const bool nobodyThere = error == CR_CONNECTION_ERROR || error == CR_CONN_HOST_ERROR;
        if (!h && (!cfg.tcpWhenNoSocket || !nobodyThere))
            return false;
    }
    if (!h)
        h = connectOnce(QString(), &error, message);
    if (!h)
        return false;
    handle = h;
    inTx = false;
    try {
        execute(QStringLiteral("SET CHARACTER SET %1").arg(codepage()).toLatin1());
        // A server the program did not configure itself may have ANSI_QUOTES or ONLY_FULL_GROUP_BY on.
        // File names (the export's place) are the desktop's: UTF-8, not the code page of the text.
        execute(QByteArray("SET SESSION sql_mode = '") + sqlMode() + "', character_set_filesystem = utf8mb4");
    } catch (const DbError &e) {
        *message = e.text();
        drop();
        return false;
    }
    return true;
}

void Connection::drop()
{
    if (handle)
        mysql_close(handle);
    handle = nullptr;
    inTx = false;
}

const char *Connection::sqlMode()
{
    return "STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION";
}

namespace {
enum class Kind
{
    Read,
    Begin,
    Commit,
    Rollback,
    Write
};

// What a statement is, by its first word: SELECT, SHOW, EXPLAIN and DESCRIBE only read.
Kind kindOf(const QByteArray &statement)
{
    qsizetype i = 0;
    while (i < statement.size() && (statement[i] == ' ' || statement[i] == '\n' || statement[i] == '\r' ||
                                    statement[i] == '\t' || statement[i] == '('))
        ++i;
    qsizetype j = i;
    while (j < statement.size() && std::isalpha(static_cast<unsigned char>(statement[j])))
        ++j;
    const QByteArray word = statement.mid(i, j - i).toUpper();
    if (word == "SELECT" || word == "SHOW" || word == "EXPLAIN" || word == "DESCRIBE")
        return Kind::Read;
    if (word == "START" || word == "BEGIN")
        return Kind::Begin;
    if (word == "COMMIT")
        return Kind::Commit;
    if (word == "ROLLBACK")
        return Kind::Rollback;
    return Kind::Write;
}

// The client library's and the server's ways of saying that the connection is gone.
bool isLoss(unsigned error)
{
    return error == CR_SERVER_GONE_ERROR || error == CR_SERVER_LOST || error == CR_CONNECTION_ERROR ||
           error == CR_CONN_HOST_ERROR || error == 1053 /* ER_SERVER_SHUTDOWN */ ||
           error == 1927 /* ER_CONNECTION_KILLED */;
}

const QString kUnreachable = QStringLiteral(
    "Az adatbázis-kiszolgáló nem érhető el. Ellenőrizze, hogy fut-e, majd ismételje meg a műveletet; a "
    "program újra kapcsolódik, nem kell újraindítani.");
} // namespace

Connection::~Connection()
{
    if (handle)
        mysql_close(handle);
}

void Connection::fail() const
{
    throw DbError(QStringLiteral("SQL Error: ") +
                  Cp1250::decode(mysql_error(handle), strlen(mysql_error(handle))));
}

void Connection::lost(const QString &text)
{
    if (!lossReported) {
        lossReported = true;
        if (auto &notify = lossNotifier())
            notify(text);
    }
    throw ConnectionLost(text);
}

ResultPtr Connection::execute(const QByteArray &statement)
{
    const Kind kind = kindOf(statement);
    if (!handle) {
        // A transaction of a connection that broke is gone with it: nothing to roll back.
        if (kind == Kind::Rollback)
            return nullptr;
        QString message;
        if (!open(&message))
            lost(kUnreachable + QStringLiteral(" (") + message + QLatin1Char(')'));
    }
    ++sent;
    if (kind != Kind::Read)
        ++writes; // counted before it runs: a failed write may still have changed something
    if (beforeStatement)
        beforeStatement(statement);
    struct After
    {
        const Connection *c;
        const QByteArray &s;
        ~After()
        {
            if (c->afterStatement)
                c->afterStatement(s);
        }
    } after{this, statement};
    for (int attempt = 0;; ++attempt) {
        if (mysql_real_query(handle, statement.constData(), statement.size()) == 0)
            break;
        const unsigned error = mysql_errno(handle);
        if (!isLoss(error))
            fail();
        const QString raw = Cp1250::decode(mysql_error(handle), strlen(mysql_error(handle)));
        const bool wasInTransaction = inTx;
        drop();
        if (kind == Kind::Rollback)
            return nullptr; // the server rolled the broken transaction back itself
        // Sent again only when repeating it cannot do anything twice.
        const bool neverLeft = error == CR_SERVER_GONE_ERROR;
        QString message;
        if (attempt == 0 && !wasInTransaction && (kind == Kind::Read || kind == Kind::Begin || neverLeft) &&
            open(&message))
            continue;
        QString text;
        if (wasInTransaction && !(kind == Kind::Commit && !neverLeft))
            text = QStringLiteral("Megszakadt a kapcsolat az adatbázissal. A megkezdett műveletből semmi sem "
                                  "tárolódott el (a kiszolgáló visszavonta); ismételje meg, ha a kapcsolat "
                                  "helyreállt.");
        else if (kind == Kind::Commit || (kind == Kind::Write && !neverLeft))
            text =
                QStringLiteral("Megszakadt a kapcsolat az adatbázissal, mialatt egy módosítás úton volt; nem "
                               "tudni, eltárolódott-e. A program nem ismétli meg: nézze meg a listában, és "
                               "ha hiányzik, vigye be újra.");
        else
            text = kUnreachable;
        lost(text + QStringLiteral(" (") + raw + QLatin1Char(')'));
    }
    if (kind == Kind::Begin)
        inTx = true;
    else if (kind == Kind::Commit || kind == Kind::Rollback)
        inTx = false;
    MYSQL_RES *res = mysql_store_result(handle);
    if (!res && mysql_field_count(handle) != 0)
        fail();
    return ResultPtr(res);
}

QByteArray Connection::escape(const QByteArray &raw) const
{
    QByteArray out(raw.size() * 2 + 1, '\0');
    // Without a connection (the server went away) the plain escape serves: CP1250 has one byte
    // per character, so nothing depends on the character set.
    unsigned long n = handle ? mysql_real_escape_string(handle, out.data(), raw.constData(), raw.size())
                             : mysql_escape_string(out.data(), raw.constData(), raw.size());
    out.truncate(int(n));
    return out;
}

quint64 Connection::affectedRows() const
{
    return handle ? mysql_affected_rows(handle) : 0;
}
