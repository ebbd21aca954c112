#!/usr/bin/env bash
# Plays a 1 kHz tone into the null sink while the recorder window's capture
# road records about 5 s from its monitor into a WAV file; passes when the
# file holds the tone, in the format asked for, never longer than the
# recording ran (+100 ms), and short of the audio the device gave from the
# first buffers the window took back to the stop by no more than a bare
# winmm capture loop of the same run loses and 50 ms (Wine's capture drops
# 10-50 ms now and then).
#   record_tone.sh RECORD_PROBE.exe BARE_CAPTURE.exe
set -eu -o pipefail
probe=$1
bare=$2
source "$(dirname "$0")/rig_basics.sh"
out=$(mktemp -d)
player=
trap '[ -n "$player" ] && kill_tree "$player"; rm -rf "$out"' EXIT
start_tone 20
bare_lost=$(bare_loss "$bare" 5)
wav="$out/tone.wav"
report=$("$tools/wine-run" "$probe" "Monitor of Null Output" "$(winpath "$wav")" ${RECORD_MS:-5000} 2>&1) \
    || { echo "the record probe failed (status $?): $(tr -d '\r' <<<"$report")"; exit 1; }
report=$(tr -d '\r' <<<"$report")
echo "$report"
value() { awk -v name="$1" '$1 == name {print $2}' <<<"$report"; }
[ "$(value first_ms)" -gt 0 ] || { echo "no buffer came back"; exit 1; }
recorded=$(($(value from_first_ms) + $(value first_ms)))
[ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] && [ "$(soxi -b "$wav")" = 16 ] \
    || { echo "wrong format"; exit 1; }
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
freq=$(sox "$wav" -n stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "recorded_ms $recorded length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v e="$(value elapsed_ms)" -v f="$freq" 'BEGIN { exit !(l <= e + 100 && f > 950 && f < 1050) }' \
    || { echo "longer than recorded, or not the tone"; exit 1; }
judge_loss $((recorded - length_ms)) "$bare_lost"
