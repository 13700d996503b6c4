#!/usr/bin/env bash
# Runs bench_db_report against a throwaway server holding 50 000 owners.
#   bench/run-db-report.sh BUILD_DIR [rows]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build directory}
rows=${2:-50000}
dir=$(mktemp -d /tmp/zelvana-bench.XXXXXX)
trap '"$top/tests/support/testserver.sh" stop "$dir"' EXIT
"$top/tests/support/testserver.sh" start "$dir" >/dev/null
sock=$(cat "$dir/socketpath")
sql() { mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 "$@"; }
sed 's/`zelv2010`/`zelvana_bench`/g' "$top/db/create.sql" | sql
sql zelvana_bench -e "INSERT INTO berlo (BNeve) VALUES ('Zöldmező Mezőgazdasági Kft.');
  INSERT INTO tulaj (nKod, nNev, nIrszam, nHely, nUtca, nSzja)
  SELECT seq, CONCAT(ELT(1 + seq % 8, 'Kovács', 'Szűcs', 'Őry', 'Ábel', 'Nagy', 'Tóth', 'Ürögdi', 'Fehér'),
                     ' ', ELT(1 + seq % 5, 'Ödön', 'Ágnes', 'Lőrinc', 'Éva', 'Győző'), ' ', seq),
         6100 + seq % 50, ELT(1 + seq % 4, 'Bugac', 'Szank', 'Őrszentmiklós', 'Kiskunmajsa'),
         CONCAT('Petőfi u. ', seq % 120), (seq % 1000) / 10
  FROM seq_1_to_${rows};"
ZELVANA_DB_HOST=127.0.0.1 ZELVANA_DB_PORT=$(cat "$dir/port") ZELVANA_DB_NAME=zelvana_bench \
    "$build/bench/bench_db_report" "$dir/bench.pdf"
