# The checks of the shell tests: `check DESCRIPTION COMMAND...` says ok or FAIL and counts the
# failures in $failures; the test exits with it at the end. Sourced, not run.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
