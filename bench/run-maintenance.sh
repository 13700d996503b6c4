#!/usr/bin/env bash
# The consistency checks and the owner purge on the generated farm and on the large register (10×).
#   bench/run-maintenance.sh BUILD_DIR [sizes...]   (default: farm large)
exec "$(dirname "$0")/on-registers.sh" "${1:?build directory}" bench_maintenance "${@:2}"
