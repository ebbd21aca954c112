#!/usr/bin/env bash
# Each edit command in the real program under Wine on a 1 s, a 10-minute and
# a 60-minute 44.1 kHz stereo WAV recording (the last about 635 MB), timed
# from the posted command to its result seen from outside, against
# CopyFileA of the bytes the edit writes in the same run (edit_command_bench);
# a copy or cut also against a bare program putting as many bytes from a file
# on the clipboard (bare_clipboard_put).
# The display is the tests' bare X server (no window manager); with
# "desktop" the bench and the program run in a Wine virtual desktop instead.
#   bench/edit/edit_commands.sh [BUILD_DIR] [bare|desktop] [SIZES...]
# SIZES are seconds (default 1 600 3600); BENCH_PROGRAM runs another build of
# the program (a baseline) in the same prefix. The recordings live in /tmp and
# are removed at the end.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
mode=${2:-bare}
shift $(( $# > 2 ? 2 : $# ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 600 3600)
cmake --build "$build" --target larkspurpro edit_command_bench bare_clipboard_put >/dev/null
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)}
export LARKSPUR_BUILD_DIR=$build  # the build's own Wine prefix, also for "explorer"
"$root/tools/sound-rig" start
dir=$(mktemp -d /tmp/larkspur-edit.XXXXXX)
trap 'rm -rf "$dir"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
cat >"$dir/settings.ini" <<EOF2
[File]
DefaultDirectory=$(winpath "$dir")
[Vox]
VoxDisable=1
[Setup]
TrayIcon=0
EOF2
sox -n -r 44100 -c 2 -b 16 "$dir/insert.wav" synth 1 sine 660
# BENCH_PROGRAM: another build of the program (a baseline) in the same prefix.
program=${BENCH_PROGRAM:-$(find "$build" -maxdepth 2 -name larkspurpro.exe | head -1)}
bench=$build/bench/edit/edit_command_bench.exe
# A virtual desktop for the bench, the program and the bench's bare program
# only (the build's Wine prefix keeps it for these names until the end of
# the run).
appkeys=('HKCU\Software\Wine\AppDefaults\larkspurpro.exe\Explorer'
         'HKCU\Software\Wine\AppDefaults\edit_command_bench.exe\Explorer'
         'HKCU\Software\Wine\AppDefaults\bare_clipboard_put.exe\Explorer')
desktop() {
    local key
    for key in "${appkeys[@]}"; do
        if [ "$1" = on ]; then
            "$root/tools/wine-run" reg add "$key" /v Desktop /d editbench /f >/dev/null
        else
            "$root/tools/wine-run" reg delete "$key" /f >/dev/null 2>&1 || true
        fi
    done
    [ "$1" = on ] && "$root/tools/wine-run" reg add 'HKCU\Software\Wine\Explorer\Desktops' \
        /v editbench /d 1024x768 /f >/dev/null
    return 0
}
if [ "$mode" = desktop ]; then
    desktop on
    trap 'desktop off; rm -rf "$dir"' EXIT
fi
echo "display: $mode ($([ "$mode" = desktop ] && echo 'Wine virtual desktop' || echo 'bare Xvfb, no window manager'))"
for seconds in "${sizes[@]}"; do
    sox -n -r 44100 -c 2 -b 16 "$dir/master.wav" synth "$seconds" sine 440 vol 0.5
    sync "$dir/master.wav"  # written back before anything is timed
    echo "== $seconds s recording ($(stat -c %s "$dir/master.wav") bytes)"
    "$root/tools/wine-run" "$bench" "$(winpath "$program")" "$(winpath "$dir/settings.ini")" \
        "$(winpath "$dir/master.wav")" "$seconds" "$(winpath "$dir/insert.wav")" | tr -d '\r' || echo "the bench failed"
    rm -f "$dir/master.wav" "$dir/take.wav"
done
