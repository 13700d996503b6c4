#!/usr/bin/env bash
# Starts or stops the throwaway MariaDB server of one test run, in a folder of the build tree.
# start DIR: new data folder, a free port on 127.0.0.1; writes DIR/port, DIR/socket and DIR/pid.
# restart DIR: starts the server again on the folder and port it had (after the reliability tests
#   killed it), keeping its data.
# stop DIR: stops that server by its pid and removes the folder.
set -euo pipefail
cmd=$1
dir=$(realpath -m "$2") # the server needs an absolute path
here=$(cd "$(dirname "$0")" && pwd)
cnf="$here/../../db/server.cnf"
# The server lives in /usr/sbin, which need not be on PATH.
mariadbd=$(command -v mariadbd || echo /usr/sbin/mariadbd)

# Starts mariadbd on DIR's data folder and port, and waits until it answers.
launch() {
    local port=$1
    userarg=()
    [ "$(id -u)" = 0 ] && userarg=(--user=root)
    # Tests need no durability; benchmarks of commits do (ZELVANA_DURABLE=1: the server's defaults).
    fast=(--innodb-log-file-size=16M --innodb-flush-log-at-trx-commit=0 --skip-innodb-doublewrite)
    [ "${ZELVANA_DURABLE:-0}" = 1 ] && fast=()
    # A small buffer pool: test databases are tiny (benchmarks ask for more with ZELVANA_POOL).
    "$mariadbd" --defaults-file="$cnf" --datadir="$dir/data" --port="$port" --socket="$dir/socket" \
        --pid-file="$dir/mariadbd.pid" --secure-file-priv="$dir/export" \
        --innodb-buffer-pool-size="${ZELVANA_POOL:-64M}" "${fast[@]}" \
        --log-error="$dir/error.log" "${userarg[@]}" >/dev/null 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 150); do
        if mariadb --no-defaults --socket="$dir/socket" -uroot -e 'SELECT 1' >/dev/null 2>&1; then
            echo "$port" >"$dir/port"
            echo "$dir/socket" >"$dir/socketpath"
            echo "test server on port $port"
            exit 0
        fi
        sleep 0.1
    done
}

case "$cmd" in
restart)
    launch "$(cat "$dir/port")"
    echo "the test server did not start again:" >&2
    tail -20 "$dir/error.log" >&2 || true
    exit 1
    ;;
start)
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
        kill "$(cat "$dir/pid")" || true
        sleep 1
    fi
    rm -rf "$dir"
    mkdir -p "$dir/export"
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()')
    mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal \
        --skip-test-db >"$dir/install.log" 2>&1
    launch "$port"
    echo "the test server did not start:" >&2
    cat "$dir/error.log" >&2 || true
    exit 1
    ;;
stop)
    if [ -f "$dir/pid" ]; then
        pid=$(cat "$dir/pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start|restart|stop DIR" >&2
    exit 2
    ;;
esac
