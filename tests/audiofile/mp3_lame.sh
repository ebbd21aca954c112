#!/usr/bin/env bash
# MP3 files made by lame, read through the audio-file interface:
#   mp3_lame.sh PATH/audiofile_tests.exe
set -eu
tests_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/larkspur-mp3.XXXXXX)
trap 'rm -rf "$dir"' EXIT
command -v lame >/dev/null || { echo "lame is not installed (tools/setup)"; exit 1; }

sox -n -r 44100 -c 2 -b 16 "$dir/tone.wav" synth 2 sine 440
q=(--quiet -t)
lame "${q[@]}" -b 128 -m j "$dir/tone.wav" "$dir/m1.mp3"
lame "${q[@]}" -b 128 -m j --id3v1-only --tt "Old title" --ty 1999 --tc "old comment" \
    "$dir/tone.wav" "$dir/m1_v1.mp3"
lame "${q[@]}" --resample 16 -b 64 -m m --id3v2-only --tt "Tagged" "$dir/tone.wav" "$dir/m2_16k_v2.mp3"
lame "${q[@]}" --resample 22.05 -b 32 -m m --add-id3v2 --tt "Both" "$dir/tone.wav" "$dir/m2_22k_v1v2.mp3"
lame "${q[@]}" --resample 8 -b 16 -m m "$dir/tone.wav" "$dir/m25_8k.mp3"

LARKSPUR_MP3_DIR="Z:${dir//\//\\}" "$here/../../tools/wine-run" "$tests_exe" \
    --gtest_brief=1 --gtest_filter='Mp3Lame*'
