#!/usr/bin/env bash
# The real program records from the sound card: a 1 kHz tone plays into the
# null sink; "larkspurpro /I settings.ini /L" records its monitor into a WAV
# file named by the settings; a second copy with "/F /T" stops it; closing
# the window (WM_CLOSE, as the window's close box sends) finishes the file.
# Passes when the file holds the tone in the format the settings ask for and
# its length matches the time from the file's creation to the stop: never
# longer (+100 ms), shorter by at most Wine's capture start latency (the
# first buffer arrives 0.4-2 s after waveInStart under PulseAudio).
#   record_program.sh PROGRAM.exe
set -eu
program=$1
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT

write_settings "$out/settings.ini" "$(winpath "$out")"
wav="$out/e2e.wav"

start_tone 25
start_recording "$out/settings.ini" "$wav"

sleep 4
# The stop brings the header up to date at once; after it nothing more is
# written until the file is closed, so its modification time is the stop.
stop_from_second_copy "$wav"
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
stopped_size=$(stat -c %s "$wav")
stopped_length=$(soxi -s "$wav")

close_program

elapsed=$((stopped_ms - created_ms))
[ "$(soxi -t "$wav")" = wav ] && [ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] \
    && [ "$(soxi -b "$wav")" = 16 ] && [ "$(soxi -e "$wav")" = "Signed Integer PCM" ] \
    || { echo "wrong format:"; soxi "$wav"; exit 1; }
[ "$(soxi -s "$wav")" = "$stopped_length" ] || { echo "audio was added after the stop"; exit 1; }
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
freq=$(tone_frequency "$wav")
echo "recorded_ms $elapsed length_ms $length_ms frequency $freq size_at_stop $stopped_size size $(stat -c %s "$wav")"
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" 'BEGIN {
    exit !(l <= e + 100 && l >= e - 2000 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
