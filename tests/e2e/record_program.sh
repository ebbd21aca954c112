#!/usr/bin/env bash
# The real program records from the sound card: a 1 kHz tone plays into the
# null sink; "larkspurpro /I settings.ini /L" records its monitor into a WAV
# file named by the settings; a second copy with "/F /T" stops it; closing
# the window (WM_CLOSE, as the window's close box sends) finishes the file.
# Passes when the file holds the tone in the format the settings ask for and
# its length matches the time from the file's creation to the stop: never
# longer (+100 ms), shorter by at most Wine's capture start latency (the
# first buffer arrives 0.4-2 s after waveInStart under PulseAudio).
# With "mp3" the settings ask for MP3 files: the program encodes through the
# ACM codec driver installed in the prefix (LAME's, deps/build-lame-acm.sh),
# a comment sent with "/O" while recording must be in the ID3v2 tag's
# private frame at close, and the length is measured on the decoded audio.
#   record_program.sh PROGRAM.exe [wav|mp3]
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
DefaultAudioFormat=$([ "$kind" = mp3 ] && echo 1 || echo 0)
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
comment="e2e comment $$"

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
[ "$kind" = mp3 ] && "$tools/wine-run" "$program" /O "$comment"
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
slack=100
if [ "$kind" = mp3 ]; then
    ffprobe -v error -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 "$wav" \
        | grep -q '^mp3,' || { echo "not an MP3 stream:"; ffprobe "$wav"; exit 1; }
    # The comment is in the annotations' private frame, inside the ID3v2 tag.
    tag_bytes=$(head -c 10 "$wav" | od -An -tu1 | awk '$1 == 73 && $2 == 68 && $3 == 51 {
        print 10 + $7 * 2097152 + $8 * 16384 + $9 * 128 + $10 }')
    [ -n "$tag_bytes" ] && head -c "$tag_bytes" "$wav" | grep -aq PRIV \
        && head -c "$tag_bytes" "$wav" | grep -aqF "$comment" \
        || { echo "the comment is not in the ID3v2 tag"; exit 1; }
    ffmpeg -v error -i "$wav" "$out/decoded.wav"
    # The encoder's delay and padding: up to two frames of 1152 samples.
    slack=$((150 + 2 * 1152 * 1000 / $(soxi -r "$out/decoded.wav")))
    wav=$out/decoded.wav
else
[ "$(soxi -t "$wav")" = wav ] && [ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] \
    && [ "$(soxi -b "$wav")" = 16 ] && [ "$(soxi -e "$wav")" = "Signed Integer PCM" ] \
    || { echo "wrong format:"; soxi "$wav"; exit 1; }
[ "$(soxi -s "$wav")" = "$stopped_length" ] || { echo "audio was added after the stop"; exit 1; }
fi
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
freq=$(sox "$wav" -n stat 2>&1 | awk '/Rough   frequency/ {print $3}')
echo "recorded_ms $elapsed length_ms $length_ms frequency $freq size_at_stop $stopped_size size $(stat -c %s "$wav")"
awk -v l="$length_ms" -v e="$elapsed" -v f="$freq" -v s="$slack" 'BEGIN {
    exit !(l <= e + s && l >= e - 2000 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
