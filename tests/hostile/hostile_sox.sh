#!/usr/bin/env bash
# Runs the hostile-input tests with files made by sox, oggenc, speexenc and
# lame among the seeds. LARKSPUR_HOSTILE_COUNTS names a file that gets the
# count line of every reader (tools/test shows them in its summary).
#   hostile_sox.sh PATH/hostile_tests.exe [gtest arguments...]
set -eu -o pipefail
tests_exe=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/larkspur-hostile.XXXXXX)
trap 'rm -rf "$dir"' EXIT
# The same seeds on every run: sox without its random dither (-R), oggenc
# with a fixed serial number (speexenc has no option for it).
sox -R -n -r 8000 -c 1 -b 16 "$dir/pcm16.wav" synth 0.3 sine 440
sox -R -n -r 22050 -c 2 -b 8 "$dir/pcm8.wav" synth 0.1 sine 300
sox -R -n -r 8000 -c 1 -e floating-point -b 32 "$dir/float.wav" synth 0.1 sine 300
sox -R -n -r 8000 -c 1 -e u-law "$dir/ulaw.wav" synth 0.1 sine 300
sox -R -n -r 8000 -c 1 -e ima-adpcm "$dir/ima.wav" synth 0.2 sine 300
sox -R -n -r 8000 -c 1 -e ms-adpcm "$dir/msadpcm.wav" synth 0.2 sine 300
# Seeds of the other readers: Ogg Vorbis, Speex and MP3 from their encoders.
oggenc -Q -s 1 -q 0 -t "a title" -c "COMMENT=seed" -o "$dir/vorbis.ogg" "$dir/pcm16.wav"
speexenc --quiet --title "a title" --comment "COMMENT=seed" "$dir/pcm16.wav" "$dir/speex.spx"
lame --quiet --tt "a title" --add-id3v2 "$dir/pcm16.wav" "$dir/lame.mp3"
rc=0
LARKSPUR_HOSTILE_SOX_DIR="Z:${dir//\//\\}" "$here/../../tools/wine-run" "$tests_exe" "$@" \
    | tee "$dir/output.txt" || rc=$?
if [ -n "${LARKSPUR_HOSTILE_COUNTS:-}" ]; then
    tr -d '\r' <"$dir/output.txt" | grep '^hostile: ' >"$LARKSPUR_HOSTILE_COUNTS" || true
fi
exit $rc
