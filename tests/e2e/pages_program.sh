#!/usr/bin/env bash
# The real program's preferences sheet: "larkspurpro /I settings.ini" opens
# Preferences from its Options command; each page shows the values of the
# settings file; a changed value survives OK (the sheet opened again shows
# it) and "Save settings as..." writes it. With SHOTS=folder, a screenshot
# of every page is saved there.
#   pages_program.sh PROGRAM.exe SHEET_DRIVER.exe
set -eu -o pipefail
program=$1
driver=$2
source "$(dirname "$0")/rig_basics.sh"
out=$(mktemp -d)
recorder=
cleanup() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    rm -rf "$out"
}
trap cleanup EXIT
# Console output of a Windows program ends its lines in CR LF.
step() { "$tools/wine-run" "$driver" "$@" | tr -d '\r'; }

cat >"$out/settings.ini" <<EOF2
[Setup]
TrayIcon=0
ListenOnStart=0
AlwaysStart=1
[Play]
SoundByte=7
[Record]
RecordMode=2
TalkOff=45
[Vox]
VoxDisable=1
TalkOff2=12
VoxDiscardTimeTenths=15
[Driver]
WaveInDriver=-1
WaveOutDriver=-1
[Joy]
JoyEnable=0
JoyButton1=2
[Key]
KeyPlay=884
[File]
DefaultDirectory=$(winpath "$out")
EOF2

"$tools/sound-rig" start >/dev/null
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" &
recorder=$!
for _ in $(seq 300); do step open 2>/dev/null && break; sleep 0.2; done
step open

pages=0
while title=$(step page "$pages" 2>/dev/null); do
    echo "page $pages: $title"
    [ -n "${SHOTS:-}" ] && { mkdir -p "$SHOTS"; "$tools/screenshot" "$SHOTS/page-$pages.png"; }
    pages=$((pages + 1))
done
[ "$pages" -ge 7 ] || { echo "only $pages pages"; exit 1; }

# The values of the settings file are shown.
step show 211
[ "$(step text 211)" = 7 ] || { echo "SoundByte not shown"; exit 1; }
step show 2403
[ "$(step text 2403)" = 12 ] && [ "$(step text 2411)" = 1.5 ] || { echo "Vox values not shown"; exit 1; }
step show 203
[ "$(step text 203)" = 45 ] || { echo "quiet time not shown"; exit 1; }

# A changed value survives OK.
step show 211
step text 211 9
step ok
step open
step show 211
[ "$(step text 211)" = 9 ] || { echo "SoundByte not kept after OK"; exit 1; }
step ok

# Under /I closing writes nothing; "Save settings as..." writes the file.
saved="$out/saved.ini"
step saveas "$(winpath "$saved")"
has() { tr -d '\r' <"$saved" | grep -qx "$1"; }
# The file exists from the first value written; the hot keys are saved last.
for _ in $(seq 100); do grep -q '^KeyActivate=' "$saved" 2>/dev/null && break; sleep 0.2; done
has 'SoundByte=9' || { echo "SoundByte=9 not written:"; cat "$saved"; exit 1; }
has 'TalkOff2=12' && has 'KeyPlay=884' && has 'JoyButton1=2' && has 'RecordMode=2' \
    || { echo "the other pages' values were not written back:"; cat "$saved"; exit 1; }

"$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
kill -0 "$recorder" 2>/dev/null && { echo "the program did not end on close"; exit 1; }
wait "$recorder" || { echo "the program ended with an error ($?) on close"; exit 1; }
recorder=
echo "pages $pages shown, OK kept the change, Save settings as wrote it"
