#!/usr/bin/env bash
# Opening the Wave and MP3 pages with LAME's codec driver installed, against
# opening them with it not installed, in one run: three interleaved rounds of
# a process each, the least time of each kind, per rate and channels. "first"
# is a page's first opening in a process, "later" the least of the later
# ones; "enum" lines are the codec manager's own enumeration under the Wave
# page. Runs in a Wine prefix of its own (the driver's registration is
# switched there).
#   bench/prefs/format_page.sh [BUILD_DIR]   (default build/x86_64)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
cmake --build "$build" --target format_page_bench >/dev/null
export LARKSPUR_BUILD_DIR=$build
export WINEPREFIX=$build/bench-wineprefix
run() { "$root/tools/wine-run" "$@"; }
drivers='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32'
lame() {  # on | off
    if [ "$1" = on ]; then
        run reg add "$drivers" /v msacm.lameacm /d lameACM.acm /f >/dev/null 2>&1
    else
        run reg delete "$drivers" /v msacm.lameacm /f >/dev/null 2>&1 || true
    fi
}
run "$build/bench/prefs/format_page_bench.exe" 0 >/dev/null  # makes the prefix and installs the driver
trap 'lame on' EXIT
out=$(mktemp /tmp/larkspur-bench.XXXXXX)
for _ in 1 2 3; do
    for state in off on; do
        lame $state
        run "$build/bench/prefs/format_page_bench.exe" 5 | tr -d '\r' | sed "s/^/$state /" >>"$out"
    done
done
awk '
$2 == "mp3" && $3 == "drivers" { drivers[$1] = $4; next }
{
    key = $1 " " $2
    if (!($2 in seen)) { seen[$2] = 1; order[++n] = $2 }
    if (!(key in first) || $4 < first[key]) first[key] = $4
    if (!(key in again) || $6 < again[key]) again[key] = $6
    entries[key] = $8
}
END {
    printf "MP3 drivers probed: without LAME %s, with LAME %s\n", drivers["off"], drivers["on"]
    printf "%-18s %-31s %-31s %s\n", "seconds", "first opening: without  LAME", "later: without  LAME", "entries"
    for (i = 1; i <= n; i++) {
        p = order[i]; a = "off " p; b = "on " p
        printf "%-18s %7.3f %7.3f  ratio %4.1f   %7.3f %7.3f  ratio %4.1f   %3d %3d\n",
            p, first[a], first[b], first[b] / first[a], again[a], again[b], again[b] / again[a], entries[a], entries[b]
    }
}' "$out"
rm -f "$out"
