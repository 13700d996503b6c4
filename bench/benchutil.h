#pragma once
// What the benchmarks share: timings with their median, the heap in use and the resident memory
// of the process, and a plain client-library connection for the database's own cost.

#include "foundation/connection.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mysql.h>
#include <vector>

namespace bench {

class Stats
{
public:
    void add(double v) { values.push_back(v); }
    double last() const { return values.empty() ? 0 : values.back(); }
    double median() const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }

private:
    std::vector<double> values;
};

// Bytes the process holds on its heap (what malloc handed out and was not freed).
inline long long heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return (long long)(m.uordblks + m.hblkhd);
}

inline long readStatusKb(const char *key)
{
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, n) == 0)
            kb = std::atol(line + n);
    std::fclose(f);
    return kb;
}
inline long residentKb()
{
    return readStatusKb("VmRSS:");
}
inline long peakResidentKb()
{
    return readStatusKb("VmHWM:");
}

// The program's own settings (socket or TCP), without anything of the program on top.
inline MYSQL *rawConnect(const ConnectionSettings &s)
{
    MYSQL *h = mysql_init(nullptr);
    mysql_optionsv(h, MYSQL_SET_CHARSET_NAME, "cp1250");
    const bool socket = !s.socket.isEmpty();
    unsigned protocol = socket ? MYSQL_PROTOCOL_SOCKET : MYSQL_PROTOCOL_TCP;
    mysql_optionsv(h, MYSQL_OPT_PROTOCOL, &protocol);
    if (!mysql_real_connect(h, socket ? "localhost" : s.host.toUtf8().constData(),
                            s.user.toUtf8().constData(), "", s.database.toUtf8().constData(),
                            socket ? 0 : s.port, socket ? s.socket.toUtf8().constData() : nullptr, 0)) {
        std::fprintf(stderr, "raw connect: %s\n", mysql_error(h));
        std::exit(1);
    }
    return h;
}

inline void rawExec(MYSQL *h, const QByteArray &statement)
{
    if (mysql_real_query(h, statement.constData(), statement.size()) != 0) {
        std::fprintf(stderr, "%s: %s\n", statement.constData(), mysql_error(h));
        std::exit(1);
    }
    if (MYSQL_RES *r = mysql_store_result(h))
        mysql_free_result(r);
}

} // namespace bench
