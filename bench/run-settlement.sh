#!/usr/bin/env bash
# The settlement benchmarks on the generated farm and on the large register (10×).
#   bench/run-settlement.sh BUILD_DIR [sizes...]   (default: farm large)
exec "$(dirname "$0")/on-registers.sh" "${1:?build directory}" bench_settlement "${@:2}"
