#!/usr/bin/env bash
# The Debian package as a user gets it: built from this build tree by script/package, unpacked
# (not installed) into a temporary folder, and run from there under Xvfb in temporary data homes.
# The launcher asks a new database's tenant in its dialog (typed with xdotool), starts the private
# server, keeps a user's own template, shows the main window, finds the database at the next start
# and stops its server when the program ends; zelvana-db backs a small register up and restores it
# into an empty database, over one with data only when told, and whole or not at all.
#   test_package.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
# shellcheck source=../support/check.sh
. "$src/tests/support/check.sh"

tmp=$(mktemp -d)
unset ZELVANA_DB_HOST ZELVANA_DB_PORT ZELVANA_DB_SOCKET ZELVANA_DB_NAME ZELVANA_DB_USER
# The windows are looked for on Xvfb (script/test runs the tests offscreen); the unattended start
# below asks for offscreen itself.
unset QT_QPA_PLATFORM
root=$tmp/root
homes=()
xvfb_pid=
launcher_pid=
cleanup() {
    if [ -n "$launcher_pid" ]; then
        kill $(pgrep -P "$launcher_pid") 2>/dev/null
        for _ in $(seq 1 100); do kill -0 "$launcher_pid" 2>/dev/null || break; sleep 0.2; done
        kill "$launcher_pid" 2>/dev/null
    fi
    for h in "${homes[@]}"; do
        XDG_DATA_HOME=$h "$root/usr/bin/zelvana-db" stop >/dev/null 2>&1
    done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

echo "== the package"
"$src/script/package" --build-dir "$build" --output "$tmp/out" || fail "script/package"
debs=("$tmp"/out/zelvana_*.deb)
check "script/package left one .deb (${debs[*]##*/})" test "${#debs[@]}" = 1 -a -f "${debs[0]}"
deb=${debs[0]}
mkdir -p "$root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
dep_names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for p in libqt6widgets6 libqt6printsupport6 libqt6gui6 libmariadb3 mariadb-server-core mariadb-client \
    fonts-dejavu-core fonts-droid-fallback zenity; do
    check "the package depends on $p" grep -qx "$p" <<<"$dep_names"
done
check "the package recommends the Wayland platform" test "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland
check "nothing of the build is a dependency" \
    bash -c '! grep -E -e "-dev$" -e "^(cmake|ninja-build|g\+\+|gcc|clang-format|pkg-config|qt6-base-dev-tools|dpkg-dev|appstream|xvfb)$" <<<"$0"' "$dep_names"
# What the launcher and zelvana-db run comes with the package's dependencies (or theirs).
dep_closure=$(for p in $dep_names; do
    echo "$p"
    dpkg-query -W -f='${Depends}\n' "$p" 2>/dev/null | tr ',|' '\n\n' | sed 's/^ *//; s/[ (:].*//'
done | sort -u)
for c in mariadbd mariadb-install-db mariadb mariadb-admin mariadb-dump my_print_defaults zenity; do
    path=$(command -v "$c" || echo "/usr/sbin/$c")
    owner=$(dpkg -S "$path" 2>/dev/null | head -1 | cut -d: -f1)
    check "$c ($owner) comes with a dependency" grep -qx "${owner:-none}" <<<"$dep_closure"
done
check "the program finds every library it links" bash -c '! ldd "$0" | grep -q "not found"' "$root/usr/libexec/zelvana"

echo "== its files"
for f in usr/bin/zelvana usr/bin/zelvana-db usr/libexec/zelvana; do
    check "$f is there and runs" test -x "$root/$f"
done
for f in db/create.sql db/seed.sql db/demo.sql db/server.cnf help/index.html help/mentes.html help/sugo.css; do
    check "usr/share/zelvana/$f is there" test -f "$root/usr/share/zelvana/$f"
done
for t in "$src"/templates/*.frf; do
    check "template $(basename "$t") is there" cmp -s "$t" "$root/usr/share/zelvana/templates/$(basename "$t")"
done
desktop=$root/usr/share/applications/hu.zelvana.Zelvana.desktop
metainfo=$root/usr/share/metainfo/hu.zelvana.Zelvana.metainfo.xml
icon=$root/usr/share/icons/hicolor/scalable/apps/hu.zelvana.Zelvana.svg
check "the desktop entry is valid" desktop-file-validate "$desktop"
check "the desktop entry is in Office and Finance" grep -qx 'Categories=Office;Finance;' "$desktop"
check "the desktop entry starts the launcher" grep -qx 'Exec=zelvana' "$desktop"
check "the desktop entry's icon is the package's" grep -qx "Icon=$(basename "$icon" .svg)" "$desktop"
check "the icon is well-formed SVG" xmllint --noout "$icon"
check "the AppStream metainfo is valid" appstreamcli validate --no-net "$metainfo"
check "every folder of the package is open to read" \
    test -z "$(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"')"

echo "== the launcher, under Xvfb"
# -noreset: an X server resets when its last client goes, and a dialog started in that moment (the
# tenant form asked again after the error box closed) cannot open the display. -ardelay: a key
# whose release xdotool sends late on a loaded machine must not repeat into the next dialog.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset -ardelay 30000 5>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$tmp/display")
# The clerk's keyboard: every Hungarian letter has a key of its own, so xdotool types them without
# remapping a spare key for each (a slow dialog then read some of them as other characters).
setxkbmap -layout hu || fail "setxkbmap -layout hu"
# A visible window whose name matches, waited for (up to $2 seconds); prints its id.
window() {
    local id
    for _ in $(seq 1 $((${2:-60} * 5))); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.2
    done
    return 1
}
gone() { # gone REGEX: no visible window matches (waits up to 10 s)
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}
# Whether the private server of a data home runs (by the pid it wrote).
server_runs() {
    local pidfile=$1/zelvana/run/mariadbd.pid
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}
export -f server_runs
main_title='^Zelvana Ver\. '
# Ends the program the launcher started, and waits for the launcher to finish.
end_program() {
    local prog
    prog=$(pgrep -P "$launcher_pid" -x zelvana)
    [ -n "$prog" ] && kill "$prog"
    for _ in $(seq 1 150); do kill -0 "$launcher_pid" 2>/dev/null || break; sleep 0.2; done
    ! kill -0 "$launcher_pid" 2>/dev/null
}

home=$tmp/a/share
homes+=("$home")
base=$home/zelvana
sock=$base/run/mariadbd.sock
# A user's own edited template, and a help page of an older version, in the working folder.
mkdir -p "$base/work/help"
echo '<!-- a sajat valtozatom -->' >"$base/work/tabla.frf"
echo 'regi' >"$base/work/help/regi.html"

XDG_DATA_HOME=$home "$root/usr/bin/zelvana" >"$tmp/launcher.log" 2>&1 &
launcher_pid=$!
if form=$(window 'Zelvana – első indítás' 60); then
    echo "ok: a new database's first start asks the tenant"
    # An empty name is refused and asked again.
    xdotool windowfocus --sync "$form"
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Return
    if err=$(window '^Zelvana$' 60); then
        echo "ok: an empty tenant name is refused"
        xdotool windowfocus --sync "$err" key Return
        gone '^Zelvana$' || fail "the error box closes"
    else
        fail "an empty tenant name is refused"
    fi
    if form=$(window 'Zelvana – első indítás' 60); then
        xdotool windowfocus --sync "$form"
        for answer in 'Dialógus Próba Kft.' 6000 Kecskemét 'Fő u. 1.' 12345678-2-03 11773016-11111018; do
            xdotool type --delay 10 "$answer"
            xdotool key Tab
        done
        xdotool key --delay 50 Tab Return
    else
        fail "the tenant is asked again"
    fi
else
    fail "a new database's first start asks the tenant"
fi
if window "$main_title" 60 >/dev/null; then
    echo "ok: the program shows its main window"
else
    fail "the program shows its main window"
    cat "$tmp/launcher.log" >&2
fi
# Without a pid file the pid is "none": kill -0 0 would signal this script's own group and succeed.
server_pid=$(cat "$base/run/mariadbd.pid" 2>/dev/null)
server_pid=${server_pid:-none}
check "the launcher started the private server" kill -0 "$server_pid"
check "the private server does not network" \
    test "$(mariadb --no-defaults --socket="$sock" -N -e 'SELECT @@skip_networking')" = 1
check "the tenant's row holds the dialog's answers" \
    test "$(mariadb --no-defaults --socket="$sock" -N zelv2010 -e 'SELECT BNeve, BIrszam, BHelyseg, BUtca, BAdoszam, BSzla FROM berlo')" = \
    "$(printf 'Dialógus Próba Kft.\t6000\tKecskemét\tFő u. 1.\t12345678-2-03\t11773016-11111018')"
check "the program is connected to its database" \
    test "$(mariadb --no-defaults --socket="$sock" -N -e "SELECT count(*) > 0 FROM information_schema.processlist WHERE user='zelv2010' AND db='zelv2010'")" = 1
for t in "$src"/templates/*.frf; do
    [ "$(basename "$t")" = tabla.frf ] && continue
    check "the working folder has the template $(basename "$t")" cmp -s "$t" "$base/work/$(basename "$t")"
done
check "the user's own template is kept" grep -q 'a sajat valtozatom' "$base/work/tabla.frf"
check "the help is the installed version's" cmp -s "$src/docs/help/index.html" "$base/work/help/index.html"
check "an older help page is gone" test ! -e "$base/work/help/regi.html"
check "the working folder is the user's alone" test "$(stat -c %a "$base/work")" = 700
check "the program ends and so does the launcher" end_program
check "the server the launcher started is stopped" bash -c '! kill -0 "$0" 2>/dev/null' "$server_pid"

echo "== a later start finds the database"
XDG_DATA_HOME=$home "$root/usr/bin/zelvana" >"$tmp/launcher2.log" 2>&1 &
launcher_pid=$!
if window "$main_title" 60 >/dev/null; then
    echo "ok: the program starts again"
    check "nothing was asked" bash -c '! xdotool search --onlyvisible --name "első indítás" >/dev/null 2>&1'
else
    fail "the program starts again"
    cat "$tmp/launcher2.log" >&2
fi
check "the program ends and so does the launcher" end_program
launcher_pid=

echo "== unattended, without a display"
home_c=$tmp/c/share
homes+=("$home_c")
out=$(env -u DISPLAY XDG_DATA_HOME=$home_c QT_QPA_PLATFORM=offscreen "$root/usr/bin/zelvana" </dev/null 2>&1)
check "a first start with neither dialog nor terminal nor tenant is refused" test $? != 0
check "the refusal shows the options to give" grep -q -- '--tenant-name' <<<"$out"
check "nothing is left running" bash -c '! server_runs "$0"' "$home_c"
env -u DISPLAY XDG_DATA_HOME=$home_c QT_QPA_PLATFORM=offscreen "$root/usr/bin/zelvana" --tenant-name 'Gépi Indítás Bt.' \
    --tenant-tax 87654321-1-02 </dev/null >"$tmp/launcher3.log" 2>&1 &
launcher_pid=$!
sock_c=$home_c/zelvana/run/mariadbd.sock
connected=0
for _ in $(seq 1 300); do
    n=$(mariadb --no-defaults --socket="$sock_c" -N -e "SELECT count(*) FROM information_schema.processlist WHERE user='zelv2010'" 2>/dev/null)
    [ -n "$n" ] && [ "$n" != 0 ] && connected=1 && break
    sleep 0.2
done
check "the program started offscreen with the tenant given as options reaches its database" test "$connected" = 1
check "the tenant's row holds the options" \
    test "$(mariadb --no-defaults --socket="$sock_c" -N zelv2010 -e 'SELECT BNeve, BAdoszam FROM berlo' 2>/dev/null)" = "$(printf 'Gépi Indítás Bt.\t87654321-1-02')"
check "the program ends and so does the launcher" end_program
check "the launcher stopped its server" bash -c '! server_runs "$0"' "$home_c"
launcher_pid=

echo "== backup and restore"
zdb=$root/usr/bin/zelvana-db
export XDG_DATA_HOME=$home
"$zdb" start >/dev/null || fail "zelvana-db start"
"$zdb" create --demo >/dev/null || fail "the demo farm"
sql() { mariadb --no-defaults --socket="$XDG_DATA_HOME/zelvana/run/mariadbd.sock" --default-character-set=utf8mb4 "$@"; }
# Text that needs escaping, empty values, a third that text would round, and work-table rows.
sql zelv2010 -e "INSERT INTO tulaj (nKod, nNev, nAnyja, nUtca, nSzja) VALUES
    ('901', 'O''Brien \"Jó\" Ödön', 'Back\\\\slash', 'Első sor\nMásodik sor', NULL), ('902', '', NULL, 'Űrhajós u. 7.', 0);
    INSERT INTO kifiz (kKod, kNkod, kFt, kMenny) VALUES ('9001', '901', 1/3, 0.1 + 0.2);
    INSERT INTO munk (xaKod, xaAK, xnNev, xjel) VALUES ('1', 12.3456, 'Őry Ödön', 'x'), (NULL, NULL, NULL, '');
    UPDATE muvag SET mDij = 1850.5 WHERE mKod = '1'" || fail "the register's extra rows"
# The whole database as text: its tables' definitions and every row.
snapshot() { mariadb-dump --no-defaults --socket="$XDG_DATA_HOME/zelvana/run/mariadbd.sock" --skip-dump-date \
    --default-character-set=utf8mb4 --skip-extended-insert zelv2010; }
original=$(snapshot)
check "the register holds the demo farm and the extra rows" \
    test "$(sql -N zelv2010 -e "SELECT (SELECT count(*) FROM tulaj WHERE nKod IN ('901', '902')), (SELECT count(*) > 2 FROM tulaj), (SELECT count(*) FROM munk)")" = "$(printf '2\t1\t2')"
mkdir -p "$tmp/backups"
(cd "$tmp/backups" && "$zdb" backup) || fail "zelvana-db backup"
file=$tmp/backups/zelvana-mentes-$(date +%Y-%m-%d).sql.gz
check "the backup is named with the date" test -f "$file"
check "the backup is the user's alone" test "$(stat -c %a "$file" 2>/dev/null)" = 600
check "a backup does not take another's name" bash -c '! "$0" backup "$1" 2>/dev/null' "$zdb" "$file"
out=$("$zdb" restore "$file" 2>&1)
check "a restore over data is refused without --felulir" test $? != 0
check "the refusal names --felulir" grep -q -- '--felulir' <<<"$out"
check "the refused restore changed nothing" test "$(snapshot)" = "$original"
"$zdb" stop >/dev/null

export XDG_DATA_HOME=$tmp/b/share
homes+=("$XDG_DATA_HOME")
"$zdb" restore "$file" || fail "a restore on a new computer"
check "the restore set up a server and the database on the new computer" test -d "$XDG_DATA_HOME/zelvana/data/zelv2010"
check "and stopped the server it started" bash -c '! server_runs "$0"' "$XDG_DATA_HOME"
"$zdb" start >/dev/null || fail "zelvana-db start on the new computer"
check "the restored register equals the backed-up one" test "$(snapshot)" = "$original"
check "a third is restored exactly" test "$(sql -N zelv2010 -e "SELECT kFt = 1/3 AND kMenny = 0.1 + 0.2 FROM kifiz WHERE kKod = '9001'")" = 1
check "the program's account reads the restored tables" \
    test "$(mariadb --no-defaults --socket="$XDG_DATA_HOME/zelvana/run/mariadbd.sock" -uzelv2010 -N zelv2010 -e 'SELECT count(*) FROM tulaj')" = \
    "$(sql -N zelv2010 -e 'SELECT count(*) FROM tulaj')"

sql zelv2010 -e "DELETE FROM tulaj WHERE nKod = '901'; UPDATE muvag SET mDij = 1; INSERT INTO kifiz (kKod, kFt) VALUES ('9002', 5)"
"$zdb" restore --felulir "$file" >/dev/null || fail "restore --felulir"
check "--felulir puts the backup in place of the data" test "$(snapshot)" = "$original"

sql zelv2010 -e "DELETE FROM tulaj WHERE nKod = '902'; INSERT INTO kifiz (kKod, kFt) VALUES ('9003', 7)"
changed=$(snapshot)
# A backup whose middle fails, and one cut short: neither touches the register.
gzip -cd "$file" | awk '/^INSERT INTO `kifiz`/ && !done { print "INSERT INTO nincs_ilyen_tabla VALUES (1);"; done = 1 } { print }' |
    gzip -c >"$tmp/broken.sql.gz"
check "a backup that fails midway is refused" bash -c '! "$0" restore --felulir "$1" >/dev/null 2>&1' "$zdb" "$tmp/broken.sql.gz"
check "the failed restore changed nothing" test "$(snapshot)" = "$changed"
head -c $(($(stat -c %s "$file") / 2)) "$file" >"$tmp/cut.sql.gz"
check "a backup cut short is refused" bash -c '! "$0" restore --felulir "$1" >/dev/null 2>&1' "$zdb" "$tmp/cut.sql.gz"
check "the refused restore changed nothing" test "$(snapshot)" = "$changed"
check "no scratch database is left behind" \
    test "$(sql -N -e "SELECT group_concat(schema_name) FROM information_schema.schemata WHERE schema_name LIKE 'zelv%'")" = zelv2010

# While the program is connected, nothing is restored.
mkfifo "$tmp/client"
mariadb --no-defaults --socket="$XDG_DATA_HOME/zelvana/run/mariadbd.sock" -uzelv2010 zelv2010 <"$tmp/client" >/dev/null 2>&1 &
client_pid=$!
exec 7>"$tmp/client"
for _ in $(seq 1 50); do [ "$("$zdb" sessions)" != 0 ] && break; sleep 0.1; done
check "a restore while the program runs is refused" bash -c '! "$0" restore --felulir "$1" >/dev/null 2>&1' "$zdb" "$file"
check "the refused restore changed nothing" test "$(snapshot)" = "$changed"
exec 7>&-
wait "$client_pid"
"$zdb" stop >/dev/null

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
