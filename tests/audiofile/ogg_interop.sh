#!/usr/bin/env bash
# Ogg files against the reference tools: what the library writes must be read
# by ogginfo without complaint, decoded by oggdec and speexdec and listed by
# vorbiscomment; a file made by oggenc (comment and setup header on one page)
# must still decode after the library added an annotation to it.
#   ogg_interop.sh PATH/audiofile_tests.exe
set -eu
tests_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../tools/wine-run
dir=$(mktemp -d /tmp/larkspur-ogg.XXXXXX)
trap 'rm -rf "$dir"' EXIT
fail() { echo "ogg check failed: $*" >&2; exit 1; }

sox -n -r 44100 -c 1 -b 16 "$dir/tone.wav" synth 3 sine 440
oggenc -Q -q 3 -c "TITLE=x=y" -o "$dir/foreign.ogg" "$dir/tone.wav"

LARKSPUR_OGG_DIR="Z:${dir//\//\\}" "$wine_run" "$tests_exe" --gtest_filter='OggInterop.*'

for f in ours.ogg foreign.ogg ours.spx; do
    ogginfo "$dir/$f" >"$dir/info.txt" 2>&1 || { cat "$dir/info.txt"; fail "ogginfo $f"; }
    if grep -qi 'warning\|error' "$dir/info.txt"; then cat "$dir/info.txt"; fail "ogginfo complains of $f"; fi
done
samples() { sox "$1" -n stat 2>&1 | awk '/Samples read/ {print $3}'; }
oggdec -Q -o "$dir/ours.wav" "$dir/ours.ogg" || fail "oggdec ours.ogg"
[ "$(samples "$dir/ours.wav")" = 176400 ] || fail "ours.ogg decodes to $(samples "$dir/ours.wav") samples"
oggdec -Q -o "$dir/foreign.wav" "$dir/foreign.ogg" || fail "oggdec foreign.ogg"
[ "$(samples "$dir/foreign.wav")" = 132300 ] || fail "foreign.ogg decodes to $(samples "$dir/foreign.wav") samples"
speexdec "$dir/ours.spx" "$dir/spx.wav" 2>"$dir/speexdec.txt" || { cat "$dir/speexdec.txt"; fail "speexdec"; }
n=$(samples "$dir/spx.wav")
[ "$n" -ge 32000 ] && [ "$n" -le 32640 ] || fail "ours.spx decodes to $n samples"
vorbiscomment -l "$dir/ours.ogg" | grep -q 'interop note' || fail "vorbiscomment does not list the annotation"
vorbiscomment -l "$dir/foreign.ogg" | grep -q 'foreign note' || fail "the foreign file lost the annotation"
vorbiscomment -l "$dir/foreign.ogg" | grep -q '^TITLE=x=y$' || fail "the foreign file lost its title"
echo "ogg interop: ok"
