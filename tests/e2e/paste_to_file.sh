#!/usr/bin/env bash
# The running program takes audio from the clipboard that another program
# put there: once the program's window and Wine's clipboard manager are up,
# the peer puts a WAV file's image on the clipboard, posts Paste to File to
# the program's window and types a name into the save dialog; the file
# written under that name must be the image, byte for byte. When it is not,
# the peer tells whether the image was taken from the clipboard meanwhile and
# what the program shows (an error box's text among it).
#   paste_to_file.sh PROGRAM.exe PEER.exe
set -eu
program=$1
peer=$2
source "$(dirname "$0")/rig_basics.sh"
out=$(mktemp -d)
recorder=
cleanup() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    rm -rf "$out"
}
trap cleanup EXIT

sox -n -r 22050 -c 2 -b 16 "$out/tone.wav" synth 1.3 sine 440 sine 660
cat >"$out/settings.ini" <<EOF
[File]
DefaultDirectory=$(winpath "$out")
[Vox]
VoxDisable=1
[Setup]
TrayIcon=0
EOF

"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" &
recorder=$!
"$tools/wine-run" "$peer" "$(winpath "$out/tone.wav")" "$(winpath "$out/pasted.wav")" \
    || { echo "the peer failed"; ls -l --time-style=full-iso "$out"; exit 1; }
cmp "$out/tone.wav" "$out/pasted.wav" || { echo "the pasted file differs"; exit 1; }
echo "pasted $(stat -c %s "$out/pasted.wav") bytes byte for byte"

"$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$recorder" 2>/dev/null; then echo "the program did not end on close"; exit 1; fi
wait "$recorder" || { echo "the program ended with an error"; exit 1; }
recorder=
