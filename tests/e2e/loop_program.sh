#!/usr/bin/env bash
# The looping file limit in the real program: with the File page's "Loop
# (FIFO)" action and a 1 MB size limit (about 11.9 s of 44100 Hz 16-bit mono),
# "larkspurpro /I settings.ini /L" records a sequence of 16 tones of 2 s each
# from the null sink's monitor for about 1.6 laps of the file; a second copy's
# "/F /T" stops it while the tones still play, and the window is closed.
# Passes when the recording folder holds that one file, its data within two
# capture buffers of 1 MB, and it plays the last tones before the stop in
# time order, oldest first, with nothing of an earlier lap and no click where
# the laps meet (loop_check.sh judges the file).
# Wine's capture starts 0.4-2 s late; that part of the first lap is
# overwritten anyway. The newest tone may be any tone that played between a
# second before the stop was asked for (the sink's latency) and the file's
# last change.
#   loop_program.sh PROGRAM.exe
set -eu
program=$1
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT
check=$(dirname "$0")/loop_check.sh
build=$(cd "$(dirname "$program")" && pwd)
log="${WINEPREFIX:-$build/wineprefix}/drive_c/ProgramData/Larkspur-PRO/Larkspur-PRO.log"

limit=1048576
lap_ms=$((limit * 1000 / 88200))
tones_ms=32000
rec=$out/rec
wav=$rec/e2e.wav
mkdir "$rec"
write_settings "$out/settings.ini" "$(winpath "$rec")"
sed -i '/^\[File\]$/a FileAction=1\nFileSizeSel=0\nFileSize=1' "$out/settings.ini"
"$check" tones "$out/tones.wav"

"$tools/sound-rig" start
"$tools/sound-rig" play "$out/tones.wav" &
player=$!
tones_from=$(now_ms)
sleep 2.5  # the null sink delivers nothing to its monitor until a sound really plays
start_recording "$out/settings.ini" "$wav"

# About 1.6 laps after the capture started, and while a tone still plays.
stop_at=$((created_ms + 2000 + lap_ms * 8 / 5))
[ $stop_at -le $((tones_from + tones_ms - 3000)) ] || stop_at=$((tones_from + tones_ms - 3000))
if [ $((stop_at - created_ms)) -lt $((2000 + lap_ms * 13 / 10)) ]; then
    echo "FAIL: the program took $((created_ms - tones_from)) ms to start recording: the tones end before a second lap"
    exit 1
fi
sleep "$(awk -v ms=$((stop_at - $(now_ms))) 'BEGIN {printf "%.3f", (ms > 0 ? ms / 1000 : 0)}')"
asked_ms=$(now_ms)
"$tools/wine-run" "$program" /F /T
# Stopping re-orders the file: it may be replaced for a moment.
last= settled=
for _ in $(seq 60); do
    size=$(stat -c %s "$wav" 2>/dev/null || echo none)
    [ "$size" != none ] && [ "$size" = "$last" ] && { settled=1; break; }
    last=$size
    sleep 0.5
done
[ -n "$settled" ] || { echo "FAIL: the file did not settle after /F /T"; ls -l "$rec"; exit 1; }
settled_ms=$(now_ms)
close_program
stop_rig

echo "started recording $((created_ms - tones_from)) ms into the tones; recorded $((asked_ms - created_ms)) ms; stopped and settled $((settled_ms - asked_ms)) ms after /F /T"
[ -f "$log" ] && tr -d '\r' <"$log" | grep 'Capture buffers' | tail -1
files=$(ls -A "$rec")
if [ "$files" != e2e.wav ]; then
    echo "FAIL: the recording folder should hold e2e.wav alone, not:"
    ls -l "$rec"
    exit 1
fi
newest() { echo $(( ($1 - tones_from) / 2000 > 15 ? 15 : ($1 - tones_from) / 2000 )); }
"$check" check "$wav" $limit "$(newest $((asked_ms - 1000)))" "$(newest "$settled_ms")"
echo "loop program: ok"
