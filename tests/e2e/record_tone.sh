#!/usr/bin/env bash
# Plays a 1 kHz tone into the null sink while the recorder window's capture
# road records 3 s from its monitor into a WAV file; passes when the file
# holds the tone, in the format asked for, and is never longer than the
# recording ran (+100 ms). Wine's capture from PulseAudio delivers its first
# buffer 0.4-2 s after waveInStart (measured with a bare winmm program too),
# so the file may be shorter by up to that start latency, never more.
set -eu
probe=$1
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
out=$(mktemp -d)
trap 'kill $player 2>/dev/null || true; rm -rf "$out"' EXIT
"$tools/sound-rig" start
"$tools/sound-rig" tone 12 1000 &
player=$!
sleep 2.5  # the null sink delivers nothing to its monitor until the tone really plays
wav="$out/tone.wav"
report=$(XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)} \
         "$tools/wine-run" "$probe" "Monitor of Null Output" "Z:${wav//\//\\}" ${RECORD_MS:-3000})
echo "$report"
elapsed=$(echo "$report" | awk '/elapsed_ms/ {print $2}')
[ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] && [ "$(soxi -b "$wav")" = 16 ] \
    || { echo "wrong format"; exit 1; }
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
freq=$(sox "$wav" -n stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" 'BEGIN {
    exit !(l <= e + 100 && l >= e - 2000 && f > 950 && f < 1050) }'
