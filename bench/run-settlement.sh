#!/usr/bin/env bash
# The settlement benchmarks on the generated farm and on the large register (10×).
#   bench/run-settlement.sh BUILD_DIR [sizes...]   (default: farm large)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
shift
sizes=("${@:-farm large}")
[ $# -eq 0 ] && sizes=(farm large)
dir=$(mktemp -d /tmp/zelvana-bench.XXXXXX)
chmod 700 "$dir"
trap '"$top/tests/support/testserver.sh" stop "$dir"' EXIT
ZELVANA_POOL=512M ZELVANA_DURABLE=1 "$top/tests/support/testserver.sh" start "$dir" >/dev/null
sock=$(cat "$dir/socketpath")
runtime=$(mktemp -d)
# The prints read their templates from the working folder.
cp "$top"/templates/*.frf "$runtime/"
cd "$runtime"
export ZELVANA_DB_SOCKET=$sock XDG_RUNTIME_DIR=$runtime
for size in "${sizes[@]}"; do
    db=zelvana_$size
    python3 "$top/bench/generate.py" --size "$size" --socket "$sock" --database "$db"
    mariadb --no-defaults --socket="$sock" -uroot -e "GRANT SELECT, INSERT, UPDATE, DELETE ON $db.* TO 'zelv2010'@'localhost'"
    echo "== $size"
    ZELVANA_DB_NAME=$db "$build/bench/bench_settlement" 3 2>&1 | grep -v propagateSizeHints
done
