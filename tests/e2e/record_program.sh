#!/usr/bin/env bash
# The real program records from the sound card: a 1 kHz tone plays into the
# null sink; "larkspurpro /I settings.ini /L" records its monitor into a WAV
# file named by the settings; a second copy with "/F /T" stops it; closing
# the window (WM_CLOSE, as the window's close box sends) finishes the file.
# Passes when the file holds the tone in the format the settings ask for and
# its length matches the time from the file's creation to the stop: never
# longer (+100 ms), shorter by at most Wine's capture start latency (the
# first buffer arrives 0.4-2 s after waveInStart under PulseAudio).
# With "ogg" or "spx" the default-format setting chooses an Ogg Vorbis or a
# Speex recording instead; a comment sent with "/O" while recording must then
# be in the file, and the decoded tone must last as long as it was recorded.
#   record_program.sh PROGRAM.exe [wav|ogg|spx]
set -eu
program=$1
kind=${2:-wav}
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
out=$(mktemp -d)
player=
recorder=
# Ends a process started here and everything it started (the tone's
# sox | paplay, the program under wine-run), so none outlives the check.
kill_tree() {
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}
cleanup() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    rm -rf "$out"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)}
winpath() { echo "Z:${1//\//\\}"; }
now_ms() { date +%s%3N; }

# 44100 Hz, 16-bit, mono PCM; named files e2e.wav in the temporary folder;
# no voice activation, no tray icon (so closing the window ends the program).
cat >"$out/settings.ini" <<EOF
[Wave]
SampleRate=44100
Resolution=1
Stereo=0
WaveFormat=0100010044ac000088580100020010000000
[Mp3]
DefaultAudioFormat=$(case $kind in ogg) echo 3;; spx) echo 4;; *) echo 0;; esac)
[Vorbis]
VorSampleRate=44100
VorStereo=0
VorQ=4
[Speex]
SpxSampleRate=32000
SpxStereo=0
SpxQ=8
[File]
DefaultDirectory=$(winpath "$out")
AutoName=1
AutoPrompt=0
ImprovedFilePrefix=e2e
LHMode=1
[Vox]
VoxDisable=1
[Driver]
WaveInDriver=Monitor of Null Output
[Setup]
TrayIcon=0
EOF
wav="$out/e2e.$kind"

"$tools/sound-rig" start
"$tools/sound-rig" tone 25 1000 &
player=$!
sleep 2.5  # the null sink delivers nothing to its monitor until the tone really plays

"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
# The file is created when recording starts, just before the device opens.
for _ in $(seq 600); do [ -e "$wav" ] && break; sleep 0.05; done
[ -e "$wav" ] || { echo "no recording started: $wav missing"; ls -l "$out"; exit 1; }
created_ms=$(now_ms)
birth=$(stat -c %W "$wav")
[ "$birth" != 0 ] && [ "$birth" != - ] && created_ms=$(stat -c %.3W "$wav" | tr -d .)

sleep 2
if [ "$kind" != wav ]; then
    "$tools/wine-run" "$program" /O "e2e comment" || { echo "/O found no running copy"; exit 1; }
fi
sleep 2
"$tools/wine-run" "$program" /F /T
# The stop brings the header up to date at once; after it nothing more is
# written until the file is closed, so its modification time is the stop.
last=; settled=; for _ in $(seq 40); do
    size=$(stat -c %s "$wav"); [ "$size" = "$last" ] && { settled=1; break; }; last=$size; sleep 0.3
done
[ -n "$settled" ] || { echo "still recording after /F /T"; exit 1; }
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
stopped_size=$(stat -c %s "$wav")
[ "$kind" = wav ] && stopped_length=$(soxi -s "$wav")

"$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$recorder" 2>/dev/null; then echo "the program did not end on close"; exit 1; fi
wait "$recorder" || { echo "the program ended with an error"; exit 1; }
recorder=

elapsed=$((stopped_ms - created_ms))
case $kind in
ogg)
    ogginfo "$wav" >"$out/info.txt" 2>&1 && ! grep -qi 'warning\|error' "$out/info.txt" \
        || { cat "$out/info.txt"; echo "ogginfo complains"; exit 1; }
    vorbiscomment -l "$wav" | grep -q 'e2e comment' || { echo "the /O comment is not in the file"; exit 1; }
    oggdec -Q -o "$out/decoded.wav" "$wav" || { echo "oggdec failed"; exit 1; }
    decoded=$out/decoded.wav rate=44100 ;;
spx)
    ogginfo "$wav" >"$out/info.txt" 2>&1 || { cat "$out/info.txt"; echo "ogginfo complains"; exit 1; }
    grep -aq 'e2e comment' "$wav" || { echo "the /O comment is not in the file"; exit 1; }
    speexdec "$wav" "$out/decoded.wav" 2>/dev/null || { echo "speexdec failed"; exit 1; }
    decoded=$out/decoded.wav rate=32000 ;;
*)
    decoded=$wav rate=44100
    [ "$(soxi -t "$wav")" = wav ] && [ "$(soxi -e "$wav")" = "Signed Integer PCM" ] \
        || { echo "wrong format:"; soxi "$wav"; exit 1; }
    [ "$(soxi -s "$wav")" = "$stopped_length" ] || { echo "audio was added after the stop"; exit 1; } ;;
esac
[ "$(soxi -r "$decoded")" = "$rate" ] && [ "$(soxi -c "$decoded")" = 1 ] && [ "$(soxi -b "$decoded")" = 16 ] \
    || { echo "wrong format:"; soxi "$decoded"; exit 1; }
length_ms=$(soxi -D "$decoded" | awk '{printf "%.0f", $1 * 1000}')
freq=$(sox "$decoded" -n stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "$kind recorded_ms $elapsed length_ms $length_ms frequency $freq size_at_stop $stopped_size size $(stat -c %s "$wav")"
# A codec file ends its last frame or block on close: a little slack above.
slack=$([ "$kind" = wav ] && echo 100 || echo 150)
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" -v s="$slack" 'BEGIN {
    exit !(l <= e + s && l >= e - 2000 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
