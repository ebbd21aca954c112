#!/usr/bin/env bash
# tools/setup against stand-ins for apt-get, dpkg and dpkg-query on PATH, so
# no network is used: a package index that fails once or always does not end
# the set-up; a failed install does, with apt's own message; a wine32 that
# cannot be installed is reported and leaves no i386 architecture behind.
set -u
setup=$(cd "$(dirname "$0")/../../tools" && pwd)/setup
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE/log"
case $1 in
update)
    n=$(cat "$FAKE/updates" 2>/dev/null || echo 0); echo $((n + 1)) >"$FAKE/updates"
    if [ "$FAKE_UPDATE_FAILS" = always ] || [ "$n" -lt "$FAKE_UPDATE_FAILS" ]; then
        echo "E: Failed to fetch .../i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
        exit 100
    fi ;;
install)
    for p in "$@"; do
        if [ -n "$FAKE_INSTALL_FAILS" ] && [[ $p == $FAKE_INSTALL_FAILS ]]; then
            echo "E: Unable to correct problems, you have held broken packages ($p)." >&2
            exit 100
        fi
    done ;;
esac
STUB
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
exit 1
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE/log"
case $1 in
--print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;;
--add-architecture) echo "$2" >>"$FAKE/arches" ;;
--remove-architecture) sed -i "/^$2\$/d" "$FAKE/arches" ;;
esac
STUB
chmod +x "$work/bin"/*

# scenario NAME UPDATE_FAILS INSTALL_FAILS HOST32: runs the set-up in a fresh state
scenario() {
    export FAKE=$work/$1 FAKE_UPDATE_FAILS=$2 FAKE_INSTALL_FAILS=$3
    mkdir -p "$FAKE/sources" "$FAKE/state"
    printf 'Types: deb\nURIs: http://archive.invalid/debian\nSuites: bookworm\n' >"$FAKE/sources/debian.sources"
    PATH=$work/bin:$PATH LARKSPUR_APT_SOURCES=$FAKE/sources LARKSPUR_STATE=$FAKE/state \
        LARKSPUR_APT_RETRY_SLEEP=0 LARKSPUR_HOST32=$4 \
        "$setup" >"$FAKE/out" 2>&1
    echo $? >"$FAKE/rc"
}
check() {  # check NAME DESCRIPTION COMMAND...
    local name=$1 what=$2; shift 2
    if "$@"; then echo "ok: $name: $what"; passes=$((passes + 1)); else
        echo "FAILED: $name: $what"; sed 's/^/    /' "$work/$name/out" "$work/$name/log"; failures=$((failures + 1)); fi
}
rc() { [ "$(cat "$work/$1/rc")" = "$2" ]; }
out_has() { grep -q "$2" "$work/$1/out"; }
log_has() { grep -q "$2" "$work/$1/log"; }
log_count() { [ "$(grep -c "$2" "$work/$1/log")" = "$3" ]; }

scenario once 1 "" no
check once "an update that fails once is tried again" log_count once 'apt-get update' 2
check once "the packages are installed" log_has once 'apt-get install.*wine64'
check once "the set-up succeeds" rc once 0
check once "a deb-src entry is derived from the machine's" grep -q '^Types: deb-src' "$work/once/sources/larkspur-deb-src.sources"

scenario always always "" no
check always "the update is given up after three tries" log_count always 'apt-get update' 3
check always "the install still runs" log_has always 'apt-get install.*mingw'
check always "the set-up succeeds" rc always 0

scenario broken always "wine64" no
check broken "a failed install ends the set-up" rc broken 1
check broken "with apt's own message" out_has broken 'held broken packages'

scenario no32 0 "" no
check no32 "where 32-bit programs cannot run, no i386 architecture is added" bash -c "! grep -q 'add-architecture' '$work/no32/log'"
check no32 "and wine32 is not tried" bash -c "! grep -q 'wine32' '$work/no32/log'"

scenario wine32 0 "wine32*" yes
check wine32 "wine32 is tried where 32-bit programs run" log_has wine32 'apt-get install.*wine32:i386'
check wine32 "its failure does not end the set-up" rc wine32 0
check wine32 "its failure is reported" out_has wine32 'wine32 could not be installed'
check wine32 "the i386 architecture it added is removed again" bash -c "[ ! -s '$work/wine32/arches' ]"
check wine32 "the reason is kept for the test run" test -s "$work/wine32/state/larkspur-wine32-failed"

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
