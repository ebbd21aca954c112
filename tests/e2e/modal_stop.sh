#!/usr/bin/env bash
# A second copy's stop waits for an open dialog: the real program records a
# 1 kHz tone, its position dialog is opened (the menu command posted to the
# frame), a second copy sends /F /T, and the recording must go on while the
# dialog is open; closing the dialog lets the stop run. Passes when the
# program is still running after that, the log shows the stop kept while the
# dialog was open and run after it closed, no capture buffer was lost, and
# the file holds the tone: never longer than the time from its creation to
# the stop (+100 ms), and short of the audio the device gave from the first
# buffers the program took back (the log says when) to the stop by no more
# than a bare winmm capture loop of the same run loses and 50 ms.
#   modal_stop.sh PROGRAM.exe POST_COMMAND.exe WINDOW_PROBE.exe BARE_CAPTURE.exe
set -eu -o pipefail
program=$1
post=$2
probe=$3
bare=$4
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT
log=$(program_log "$program")
ids="$(dirname "$0")/../../resources/ResourceIds.h"
id_of() { awk -v name="$1" '$2 == name {print $3}' "$ids"; }
title="Set Time Position"

write_settings "$out/settings.ini" "$(winpath "$out")"
wav="$out/e2e.wav"
mark_log "$log"
start_tone 45
bare_lost=$(bare_loss "$bare" 5)
start_recording "$out/settings.ini" "$wav"
first_capture "$log" || exit 1
sleep 3  # audio with its segment's clock time: the position dialog may open

"$tools/wine-run" "$post" Larkspur-PRO "$(id_of CM_POSITION)"
"$tools/wine-run" "$probe" wait "$title" 15 || { echo "no position dialog"; exit 1; }
"$tools/wine-run" "$program" /F /T || { echo "/F /T found no running copy"; exit 1; }
size_before=$(stat -c %s "$wav")
sleep 3
size_after=$(stat -c %s "$wav")
[ "$size_after" -gt "$size_before" ] || { echo "the recording stopped under the dialog"; exit 1; }
"$tools/wine-run" "$probe" close "$title" || { echo "the dialog could not be closed"; exit 1; }
wait_until_settled "$wav" || { echo "still recording after the dialog closed"; exit 1; }
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
kill -0 "$recorder" 2>/dev/null || { echo "the program ended"; exit 1; }
[ "$("$tools/wine-run" "$probe" shown Larkspur-PRO | tr -d '\r')" = 1 ] \
    || { echo "the program's window is gone"; exit 1; }
close_program

log_since_mark "$log" >"$out/log.txt" || exit 1
line_of() { awk -v text="$1" 'index($0, text) {print NR; exit}' "$out/log.txt"; }
waited=$(line_of "a dialog is open: command $(id_of CM_STOP) waits")
released=$(line_of "the dialog has closed: 1 request(s) that waited run now")
stop=$(awk '/^stop  / {print NR; exit}' "$out/log.txt")
[ -n "$waited" ] && [ -n "$released" ] && [ -n "$stop" ] && [ "$waited" -lt "$released" ] \
    && [ "$released" -lt "$stop" ] || { cat "$out/log.txt"; echo "the log does not show the stop after the dialog"; exit 1; }
tally=$(grep -a "Capture buffers" "$out/log.txt" | tail -1 || true)
echo "$tally"
[ "$(sed -n 's/.* \([0-9]*\) lost;.*/\1/p' <<<"$tally")" = 0 ] || { echo "buffers were lost"; exit 1; }

[ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] && [ "$(soxi -b "$wav")" = 16 ] \
    || { echo "wrong format:"; soxi "$wav"; exit 1; }
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
elapsed=$((stopped_ms - created_ms)) recorded=$((stopped_ms - first_ms + first_held_ms))
freq=$(tone_frequency "$wav")
echo "since_creation_ms $elapsed recorded_ms $recorded length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" 'BEGIN {
    exit !(l <= e + 100 && f > 950 && f < 1050) }' \
    || { echo "longer than recorded, or not the tone"; exit 1; }
judge_loss $((recorded - length_ms)) "$bare_lost"
echo "modal stop: ok"
