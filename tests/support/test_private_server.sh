#!/usr/bin/env bash
# The private server that script/db runs for a user, in a temporary data home: it listens on no
# TCP port, its folders and exported files are the user's alone, another local account cannot
# reach it, the program starts through its socket, and a data folder set up the old way (root
# without a password, TCP) is mended by the next start with its rows intact.
#   test_private_server.sh SOURCE_DIR CONNECT_TEST_BINARY
set -uo pipefail
src=$1
connect_test=$2
# shellcheck source=check.sh
. "$src/tests/support/check.sh"

home=$(mktemp -d)
export XDG_DATA_HOME=$home/share
unset ZELVANA_DB_HOST ZELVANA_DB_PORT ZELVANA_DB_SOCKET ZELVANA_DB_NAME ZELVANA_DB_USER
base=$XDG_DATA_HOME/zelvana
sock=$base/run/mariadbd.sock
server_pid=
cleanup() {
    "$src/script/db" stop >/dev/null 2>&1 || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT

# The TCP ports a process listens on (from /proc: its socket inodes in the LISTEN state).
listening_ports() {
    python3 - "$1" <<'PY'
import os, sys
pid = sys.argv[1]
inodes = set()
for fd in os.listdir(f"/proc/{pid}/fd"):
    try:
        link = os.readlink(f"/proc/{pid}/fd/{fd}")
    except OSError:
        continue
    if link.startswith("socket:["):
        inodes.add(link[8:-1])
for table in ("tcp", "tcp6"):
    try:
        lines = open(f"/proc/{pid}/net/{table}").read().splitlines()[1:]
    except OSError:
        continue
    for line in lines:
        f = line.split()
        if f[3] == "0A" and f[9] in inodes:  # 0A: LISTEN
            print(int(f[1].split(":")[1], 16))
PY
}
mode() { stat -c %a "$1"; }

echo "== a new private server"
out=$("$src/script/db" start) || fail "script/db start: $out"
echo "$out"
pid=$(cat "$base/run/mariadbd.pid")
check "the server runs" kill -0 "$pid"
ports=$(listening_ports "$pid")
check "no TCP port answers (listening: ${ports:-none})" test -z "$ports"
check "the server does not network" test "$(mariadb --no-defaults --socket="$sock" -N -e 'SELECT @@skip_networking')" = 1
for d in "$base" "$base/data" "$base/run" "$base/export"; do
    check "$d is 700" test "$(mode "$d")" = 700
done
status=$("$src/script/db" status)
check "status names the socket and says there is no TCP port" \
    bash -c '[[ "$0" == *"$1"* && "$0" == *"no TCP port"* ]]' "$status" "$sock"
check "the administrator needs no password through the socket" \
    mariadb --no-defaults --socket="$sock" -u"$(id -un)" -N -e 'SELECT 1'
check "root has no password login" \
    test "$(mariadb --no-defaults --socket="$sock" -N -e "SELECT count(*) FROM mysql.global_priv WHERE JSON_VALUE(priv,'$.plugin') = 'mysql_native_password' AND JSON_VALUE(priv,'$.authentication_string') = '' AND user <> 'zelv2010' AND NOT JSON_VALUE(priv,'$.account_locked')")" = 0

"$src/script/db" create --tenant-name "Próba Kft." >/dev/null || fail "script/db create"
check "the program's account reaches the database through the socket" \
    mariadb --no-defaults --socket="$sock" -uzelv2010 zelv2010 -N -e 'SELECT count(*) FROM muvag'
mariadb --no-defaults --socket="$sock" -uzelv2010 zelv2010 -e \
    "SELECT BNeve INTO OUTFILE '$base/export/berlo.txt' FROM berlo" || fail "an export by the server"
# The server writes its files 0644 whatever its umask; the folder keeps them the user's (the export
# window makes its own files 0600).
check "an exported file lies in a folder only the user can open" test "$(mode "$(dirname "$base/export/berlo.txt")")" = 700

if [ "$(id -u)" = 0 ]; then
    # Another local account: neither the program's account nor the administrator gets in.
    check "nobody cannot reach the socket" \
        bash -c '! runuser -u nobody -- mariadb --no-defaults --socket="$0" -uzelv2010 zelv2010 -e "SELECT 1" 2>/dev/null' "$sock"
    check "nobody cannot read the data folder" bash -c '! runuser -u nobody -- ls "$0" >/dev/null 2>&1' "$base/data"
    check "nobody cannot read an exported file" bash -c '! runuser -u nobody -- cat "$0" >/dev/null 2>&1' "$base/export/berlo.txt"
else
    echo "note: not root, so no second account to try; the 700 folders above are what keeps others out"
fi

echo "== the program starts through the socket"
QT_QPA_PLATFORM=offscreen "$connect_test" || fail "the program did not start through the private socket"

"$src/script/db" stop >/dev/null
check "the server stopped" bash -c '! kill -0 "$0" 2>/dev/null' "$pid"

echo "== a data folder set up the old way is mended"
rm -rf "$base"
mkdir -p "$base/data" "$base/run" "$base/export"
chmod 755 "$base" "$base/data" "$base/run" "$base/export"
mariadb-install-db --no-defaults --datadir="$base/data" --auth-root-authentication-method=normal \
    --skip-test-db >"$home/install.log" 2>&1 || fail "old-style install"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()')
userarg=()
[ "$(id -u)" = 0 ] && userarg=(--user=root)
mariadbd=$(command -v mariadbd || echo /usr/sbin/mariadbd)
"$mariadbd" --defaults-file="$src/db/server.cnf" --datadir="$base/data" --port="$port" --socket="$sock" \
    --pid-file="$base/run/mariadbd.pid" --secure-file-priv="$base/export" --log-error="$base/run/error.log" \
    --innodb-buffer-pool-size=32M "${userarg[@]}" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
    mariadb --no-defaults --socket="$sock" -uroot -e 'SELECT 1' >/dev/null 2>&1 && break
    sleep 0.2
done
check "the old server lets root in over TCP without a password" \
    mariadb --no-defaults -h127.0.0.1 -P"$port" --protocol=TCP -uroot -N -e 'SELECT 1'
mariadb --no-defaults --socket="$sock" -uroot <"$src/db/create.sql" || fail "old-style create"
# A tenant's row of a version that had no paying account yet.
mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 zelv2010 -e \
    "ALTER TABLE berlo DROP COLUMN BSzla; INSERT INTO berlo (BNeve, BAdoszam) VALUES ('Régi Kft.', '11111111-2-03')"
mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 zelv2010 -e \
    "INSERT INTO tulaj (nKod, nNev) VALUES ('1', 'Őry Ödön'), ('2', 'Kiss Anna'); INSERT INTO kifiz (kKod, kNkod, kFt) VALUES ('7', '1', 1234.5)"
before=$(mariadb --no-defaults --socket="$sock" -uroot -N zelv2010 -e 'SELECT nKod, nNev FROM tulaj ORDER BY nKod; SELECT kKod, kFt FROM kifiz' | md5sum)
kill "$server_pid"
for _ in $(seq 1 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
server_pid=

"$src/script/db" start || fail "script/db start on the old folder"
pid=$(cat "$base/run/mariadbd.pid")
ports=$(listening_ports "$pid")
check "the mended server listens on no TCP port (listening: ${ports:-none})" test -z "$ports"
check "root is reached by socket authentication only" \
    test "$(mariadb --no-defaults --socket="$sock" -u"$(id -un)" -N -e "SELECT JSON_VALUE(priv,'$.plugin') FROM mysql.global_priv WHERE user='root' AND host='localhost'")" = unix_socket
check "no root account over TCP remains" \
    test "$(mariadb --no-defaults --socket="$sock" -u"$(id -un)" -N -e "SELECT count(*) FROM mysql.global_priv WHERE user='root' AND host <> 'localhost'")" = 0
after=$(mariadb --no-defaults --socket="$sock" -u"$(id -un)" -N zelv2010 -e 'SELECT nKod, nNev FROM tulaj ORDER BY nKod; SELECT kKod, kFt FROM kifiz' | md5sum)
check "the register's rows are intact" test "$before" = "$after"
for d in "$base" "$base/data" "$base/run" "$base/export"; do
    check "$d is 700 after the mend" test "$(mode "$d")" = 700
done
"$src/script/db" create --tenant-account 11773016-11111018 >/dev/null || fail "script/db create on the old database"
tenant() { mariadb --no-defaults --socket="$sock" -u"$(id -un)" --default-character-set=utf8mb4 -N zelv2010 -e 'SELECT BNeve, BAdoszam, BSzla FROM berlo'; }
check "the tenant's row gets the paying account and keeps the rest" \
    test "$(tenant)" = "$(printf 'Régi Kft.\t11111111-2-03\t11773016-11111018')"
"$src/script/db" create --tenant-account 10405114-49512870 >/dev/null || fail "script/db create again"
check "a stored paying account is not overwritten" test "$(tenant | cut -f3)" = 11773016-11111018
after=$(mariadb --no-defaults --socket="$sock" -u"$(id -un)" -N zelv2010 -e 'SELECT nKod, nNev FROM tulaj ORDER BY nKod; SELECT kKod, kFt FROM kifiz' | md5sum)
check "the register's rows are intact after the upgrade" test "$before" = "$after"
"$src/script/db" stop >/dev/null

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
