#!/usr/bin/env bash
# WAV files against sox: files made by sox must open through the audio-file
# interface with the right format and length, and a file written by the
# library must be read cleanly by sox.
#   sox_interop.sh PATH/audiofile_tests.exe
set -eu
tests_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../tools/wine-run
dir=$(mktemp -d /tmp/larkspur-sox.XXXXXX)
trap 'rm -rf "$dir"' EXIT

sox -n -r 44100 -c 2 -b 16 "$dir/sox16.wav" synth 2 sine 440
sox -n -r 8000 -c 1 -b 8 "$dir/sox8.wav" synth 1 sine 300
sox -n -r 22050 -c 1 -e floating-point -b 32 "$dir/soxfloat.wav" synth 0.5 sine 300
sox -n -r 8000 -c 1 -e u-law "$dir/soxulaw.wav" synth 1 sine 300

LARKSPUR_SOX_DIR="Z:${dir//\//\\}" "$wine_run" "$tests_exe" --gtest_filter='SoxInterop.*'

written=$dir/written.wav
info=$(sox --i "$written")
echo "$info"
fail() { echo "sox check failed: $*" >&2; exit 1; }
grep -q 'Channels *: 2$' <<<"$info" || fail "channels"
grep -q 'Sample Rate *: 44100$' <<<"$info" || fail "sample rate"
grep -q '= 44100 samples' <<<"$info" || fail "length"
grep -q 'Sample Encoding: 16-bit Signed Integer PCM' <<<"$info" || fail "encoding"
# Reading every sample must work without a warning about the file.
sox "$written" -n stat 2>"$dir/stat.txt" || fail "sox could not read the audio"
cat "$dir/stat.txt"
if grep -qi 'warn\|fail' "$dir/stat.txt"; then fail "sox warned"; fi
grep -q 'Samples read: *88200' "$dir/stat.txt" || fail "samples read"
echo "sox interop: ok"
