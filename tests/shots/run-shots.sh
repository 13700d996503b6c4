#!/usr/bin/env bash
# Pictures of windows and list previews over the demo farm or a generated register, on a
# throwaway server (a developer's tool for looking at layouts, not a test).
#   tests/shots/run-shots.sh BUILD_DIR OUTDIR [--size farm|large|N] [TFormN | print-TFormN ...]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
out=${2:?output folder}
shift 2
size=
if [ "${1:-}" = --size ]; then
    size=$2
    shift 2
fi
dir=$(mktemp -d /tmp/zelvana-shots.XXXXXX)
trap '"$top/tests/support/testserver.sh" stop "$dir"' EXIT
ZELVANA_POOL=512M "$top/tests/support/testserver.sh" start "$dir" >/dev/null
sock=$(cat "$dir/socketpath")
sql() { mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 "$@"; }
if [ -n "$size" ]; then
    python3 "$top/bench/generate.py" --size "$size" --socket "$sock" --database zelv2010
else
    sql <"$top/db/create.sql"
    sql zelv2010 <"$top/db/seed.sql"
    sql zelv2010 -e "INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam, BSzla) VALUES ('Aranykalász Mezőgazdasági Kft.', '6100', 'Kiskunfélegyháza', 'Szegedi út 41.', '12345678-2-03', '10405114-49512870-00000000')"
    sql zelv2010 <"$top/db/demo.sql"
fi
sql -e "GRANT SELECT, INSERT, UPDATE, DELETE ON zelv2010.* TO 'zelv2010'@'localhost'"
chmod 700 "$dir"
mkdir -p "$out"
# The program reads its templates from its working folder.
work=$dir/work
mkdir -p "$work"
cp "$top"/templates/*.frf "$work/"
cp -r "$top/docs/help" "$work/help"
cd "$work"
ZELVANA_PDF_ARCHIVE=$out/pdf ZELVANA_DB_SOCKET=$sock ZELVANA_DB_NAME=zelv2010 XDG_RUNTIME_DIR=$dir QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/tests/shots/zelvana_shots" "$out" "$@"
