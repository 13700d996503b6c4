#!/usr/bin/env bash
# Runs one benchmark program on generated registers: a throwaway server with the private server's
# buffer pool and durability, a database of each size, the program with the templates in its
# working folder.
#   [REPEAT=n] bench/on-registers.sh BUILD_DIR BENCHMARK [sizes...]   (default: farm large; 3 runs)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
program=${2:?benchmark program}
shift 2
sizes=("$@")
[ $# -eq 0 ] && sizes=(farm large)
dir=$(mktemp -d /tmp/zelvana-bench.XXXXXX)
chmod 700 "$dir"
trap '"$top/tests/support/testserver.sh" stop "$dir"' EXIT
ZELVANA_POOL=512M ZELVANA_DURABLE=1 "$top/tests/support/testserver.sh" start "$dir" >/dev/null
sock=$(cat "$dir/socketpath")
runtime=$dir/work
mkdir -p "$runtime"
cp "$top"/templates/*.frf "$runtime/"
cd "$runtime"
export ZELVANA_DB_SOCKET=$sock XDG_RUNTIME_DIR=$dir
for size in "${sizes[@]}"; do
    db=zelvana_$size
    python3 "$top/bench/generate.py" --size "$size" --socket "$sock" --database "$db"
    mariadb --no-defaults --socket="$sock" -uroot -e "GRANT SELECT, INSERT, UPDATE, DELETE ON $db.* TO 'zelv2010'@'localhost'"
    echo "== $size"
    ZELVANA_DB_NAME=$db "$build/bench/$program" "${REPEAT:-3}" 2>&1 | grep -v -e propagateSizeHints -e QStandardPaths
done
