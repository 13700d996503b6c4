#!/usr/bin/env bash
# The scale benchmarks on generated registers: a throwaway server with the private server's
# buffer pool, an empty database and the register of the chosen size, then bench_scale.
#   bench/run-scale.sh BUILD_DIR [farm|large|N]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build directory}
size=${2:-large}
dir=$(mktemp -d /tmp/zelvana-bench.XXXXXX)
trap '"$top/tests/support/testserver.sh" stop "$dir"' EXIT
ZELVANA_POOL=512M ZELVANA_DURABLE=1 "$top/tests/support/testserver.sh" start "$dir" >/dev/null
sock=$(cat "$dir/socketpath")
sql() { mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 "$@"; }

sed 's/`zelv2010`/`zelvana_empty`/g' "$top/db/create.sql" | sql
sql zelvana_empty <"$top/db/seed.sql"
sql zelvana_empty -e "INSERT INTO berlo (BNeve) VALUES ('Üres Kft.')"
python3 "$top/bench/generate.py" --size "$size" --socket "$sock" --database zelvana_bench
sql -e "GRANT SELECT, INSERT, UPDATE, DELETE ON zelvana_empty.* TO 'zelv2010'@'localhost';
        GRANT SELECT, INSERT, UPDATE, DELETE ON zelvana_bench.* TO 'zelv2010'@'localhost'"

export ZELVANA_DB_SOCKET=$sock
chmod 700 "$dir"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$dir}
echo "== start-up to the main window (three runs each)"
for db in zelvana_empty zelvana_bench; do
    for _ in 1 2 3; do
        printf '%-14s %s\n' "$db" "$(ZELVANA_DB_NAME=$db "$build/bench/bench_scale" startup 2>/dev/null)"
    done
done
echo "== lists, search and store on $size"
ZELVANA_DB_NAME=zelvana_bench "$build/bench/bench_scale" all
