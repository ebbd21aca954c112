#!/usr/bin/env bash
# The properties report alone: the program records a few seconds of a tone,
# then "larkspurpro /R FILE" shows that file's report window with the main
# window hidden, and ends by itself once the report is closed.
# With REPORT_SCREENSHOT=PATH a picture of the report is saved there.
#   report_program.sh PROGRAM.exe WINDOW_PROBE.exe
set -eu
program=$1
probe=$2
source "$(dirname "$0")/rig_basics.sh"
out=$(mktemp -d)
player=
recorder=
viewer=
cleanup() {
    [ -n "$viewer" ] && kill_tree "$viewer"
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    rm -rf "$out"
}
trap cleanup EXIT
title="Larkspur-PRO Report File Properties"

{
    cat <<INI
[Wave]
SampleRate=22050
Resolution=1
Stereo=0
WaveFormat=010001002256000044ac0000020010000000
[Mp3]
DefaultAudioFormat=0
INI
    session_settings report "$(winpath "$out")"
} >"$out/settings.ini"
wav="$out/report.wav"

# A recording of the program's own: /L records, a second copy's /F /T stops,
# closing the window finishes the file.
"$tools/sound-rig" start
"$tools/sound-rig" tone 20 440 &
player=$!
sleep 2
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
for _ in $(seq 600); do [ -e "$wav" ] && break; sleep 0.05; done
[ -e "$wav" ] || { echo "no recording started: $wav missing"; exit 1; }
sleep 3
"$tools/wine-run" "$program" /F /T
sleep 1
"$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
wait "$recorder" || { echo "the recording program ended with an error"; exit 1; }
recorder=
[ "$(soxi -s "$wav")" -gt 0 ] || { echo "nothing recorded"; exit 1; }

"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /R "$(winpath "$wav")" &
viewer=$!
"$tools/wine-run" "$probe" wait "$title" 30 || { echo "no report window"; exit 1; }
main=$("$tools/wine-run" "$probe" shown Larkspur-PRO | tr -d '\r')
[ "$main" = 0 ] || { echo "the main window is shown ($main)"; exit 1; }
if [ -n "${REPORT_SCREENSHOT:-}" ]; then sleep 1; "$tools/screenshot" "$REPORT_SCREENSHOT"; fi

"$tools/wine-run" "$probe" close "$title"
for _ in $(seq 100); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$viewer" 2>/dev/null; then echo "the program did not end with its report"; exit 1; fi
wait "$viewer" || { echo "the program ended with an error"; exit 1; }
viewer=
echo "report shown for $(soxi -D "$wav") s, main window hidden, program ended with the report"
