#!/usr/bin/env bash
# A second copy's requests under an open dialog run in the order they came:
# the real program records a 1 kHz tone, its position dialog is opened (the
# menu command posted to the frame), a second copy sends /H with another file
# (a 440 Hz tone) and then /F /P. Once the dialog is closed the other file
# must be the one heard on the sound card's monitor (its tone measured), the
# program still running, and the first recording whole on disk: the tone
# from its creation until the open closed it (never longer, +100 ms; shorter
# by at most Wine's capture start latency, 2 s), no capture buffer lost.
#   modal_open_play.sh PROGRAM.exe POST_COMMAND.exe WINDOW_PROBE.exe
set -euo pipefail
program=$1
post=$2
probe=$3
out=$(mktemp -d)
listener=
. "$(dirname "$0")/program_rig.sh"
trap '[ -n "$listener" ] && kill_tree "$listener"; stop_rig; rm -rf "$out"' EXIT
log=$(program_log "$program")
ids="$(dirname "$0")/../../resources/ResourceIds.h"
id_of() { awk -v name="$1" '$2 == name {print $3}' "$ids"; }
title="Set Time Position"

write_settings "$out/settings.ini" "$(winpath "$out")"
wav="$out/e2e.wav"
other="$out/other.wav"
sox -q -n -r 44100 -c 1 -b 16 "$other" synth 4 sine 440 vol 0.5
mark_log "$log"
start_tone 7
start_recording "$out/settings.ini" "$wav"
sleep 3  # audio with its segment's clock time: the position dialog may open

"$tools/wine-run" "$post" Larkspur-PRO "$(id_of CM_POSITION)"
"$tools/wine-run" "$probe" wait "$title" 15 || { echo "no position dialog"; exit 1; }
"$tools/wine-run" "$program" /H "$(winpath "$other")" || { echo "/H found no running copy"; exit 1; }
"$tools/wine-run" "$program" /F /P || { echo "/F /P found no running copy"; exit 1; }
wait "$player" || true  # the recorded tone has ended: from now on only the program plays
player=
size_before=$(stat -c %s "$wav")
sleep 1
[ "$(stat -c %s "$wav")" -gt "$size_before" ] || { echo "the recording stopped under the dialog"; exit 1; }

parec --device=null.monitor --format=s16le --rate=44100 --channels=1 --raw >"$out/heard.raw" &
listener=$!
sleep 0.5
"$tools/wine-run" "$probe" close "$title" || { echo "the dialog could not be closed"; exit 1; }
wait_until_settled "$wav" || { echo "still recording after the dialog closed"; exit 1; }
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
sleep 6  # the other file's 4 s, and Wine's output latency
kill_tree "$listener"
listener=
kill -0 "$recorder" 2>/dev/null || { echo "the program ended"; exit 1; }
close_program

log_since_mark "$log" >"$out/log.txt" || exit 1
tally=$(grep -a "Capture buffers" "$out/log.txt" | head -1 || true)
echo "$tally"
[ "$(sed -n 's/.* \([0-9]*\) lost;.*/\1/p' <<<"$tally")" = 0 ] || { cat "$out/log.txt"; echo "buffers were lost"; exit 1; }

raw() { echo -t raw -r 44100 -c 1 -b 16 -e signed "$1"; }
heard_peak=$(sox $(raw "$out/heard.raw") -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
heard_freq=$(sox $(raw "$out/heard.raw") -n stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "heard: peak $heard_peak frequency $heard_freq"
awk -v p="$heard_peak" -v f="$heard_freq" 'BEGIN { exit !(p > 0.25 && f > 420 && f < 460) }' \
    || { cat "$out/log.txt"; echo "the other file was not heard"; exit 1; }

length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
elapsed=$((stopped_ms - created_ms))
freq=$(sox "$wav" -n trim 0 3 stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "recorded_ms $elapsed length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" 'BEGIN {
    exit !(l <= e + 100 && l >= e - 2000 && f > 950 && f < 1050) }' \
    || { echo "the first recording's length or frequency is out of range"; exit 1; }
echo "modal open and play: ok"
