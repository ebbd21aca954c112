#!/usr/bin/env bash
# No captured audio is dropped while the window sits in one of the system's
# modal loops: the real program records a 1 kHz tone while its window is
# dragged by its caption, its File menu is held open, the preferences sheet
# shows its codec pages, and the "Save settings as" file dialog is open, each
# for a few seconds (xdotool's pointer and keys, on a display of its own so
# that no other program's window is in the way). Then a second copy's /F /T
# stops. Passes when the log's capture tally counts no buffer lost and the
# file holds the time from its first audio to the stop and the 200 ms the
# first buffer held before it came, give or take two buffers (400 ms; the
# device sometimes gives the first two at once), less no more than one. The device drops what it hears
# once the program has taken none of its five buffers back for a second:
# such a stall shows as a file that is too short, and as "device without
# buffers" in the tally.
#   busy_window.sh PROGRAM.exe POST_COMMAND.exe SHEET_DRIVER.exe
set -eu
program=$1
post=$2
driver=$3
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT
command -v xdotool >/dev/null || { echo "SKIPPED: xdotool is missing (tools/setup installs it)"; exit 77; }
log=$(program_log "$program")
unset DISPLAY
export LARKSPUR_DISPLAY=${LARKSPUR_BUSY_DISPLAY:-95}
x() { DISPLAY=:$LARKSPUR_DISPLAY xdotool "$@"; }
windows() { x search --onlyvisible --class larkspurpro 2>/dev/null || true; }
# wait_for COMMAND...: true once the command succeeds (at most 15 s).
wait_for() {
    for _ in $(seq 75); do "$@" && return 0; sleep 0.2; done
    return 1
}
titled() { x search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
not_titled() { ! titled "$1"; }
more_than() { [ "$(windows | wc -l)" -gt "$1" ]; }
just_main() { [ "$(windows | wc -l)" -eq 1 ]; }

write_settings "$out/settings.ini" "$(winpath "$out")"
wav="$out/e2e.wav"
mark_log "$log"
start_tone 60
start_recording "$out/settings.ini" "$wav"
header=$(stat -c %s "$wav")
for _ in $(seq 250); do [ "$(stat -c %s "$wav")" -gt "$header" ] && break; sleep 0.02; done
[ "$(stat -c %s "$wav")" -gt "$header" ] || { echo "no audio came in 5 s"; exit 1; }
first_ms=$(now_ms)
echo "first audio $((first_ms - created_ms)) ms after the file was made"
# How far the audio in the file lags the time since its first audio (a
# second of buffers is normal; what was dropped adds to it for good).
behind() {
    local ms=$(($(now_ms) - first_ms)) bytes=$(($(stat -c %s "$wav") - header))
    echo "$1: the file is $((ms - bytes * 10 / 882)) ms behind"
}
wait_for just_main || { echo "the program's window is not there"; exit 1; }
main=$(windows)
sleep 1
behind "before"

# The window dragged by its caption for four seconds.
eval "$(x getwindowgeometry --shell "$main")"
x0=$X y0=$Y
x mousemove $((X + WIDTH / 2)) $((Y + 11)) sleep 0.2 mousedown 1
for _ in $(seq 40); do x mousemove_relative -- 4 2; sleep 0.1; done
x mouseup 1
sleep 0.3
eval "$(x getwindowgeometry --shell "$main")"
echo "dragged from $x0,$y0 to $X,$Y"
behind "dragged"
[ "$X" -ge $((x0 + 120)) ] && [ "$Y" -ge $((y0 + 60)) ] || { echo "the drag did not move the window"; exit 1; }

# The File menu held open for three seconds.
x mousemove $((X + 18)) $((Y + 31)) click 1
wait_for more_than 1 || { echo "no menu opened"; exit 1; }
sleep 3
x key Escape sleep 0.3 key Escape
wait_for just_main || { echo "the menu stayed open"; exit 1; }
behind "menu closed"

# The preferences sheet, its codec pages set up while recording.
"$tools/wine-run" "$post" Larkspur-PRO "$(awk '$2 == "CM_PREFERENCES" {print $3}' "$(dirname "$0")/../../resources/ResourceIds.h")"
wait_for titled Options || { echo "no preferences sheet"; exit 1; }
for page in 1 2 0; do "$tools/wine-run" "$driver" page "$page" >/dev/null; sleep 1; done
x key Escape
wait_for not_titled Options || { echo "the sheet stayed open"; exit 1; }
behind "sheet closed"

# A file dialog open for four seconds.
"$tools/wine-run" "$post" Larkspur-PRO "$(awk '$2 == "CM_SAVESETTINGSAS" {print $3}' "$(dirname "$0")/../../resources/ResourceIds.h")"
wait_for titled "Save As" || { echo "no file dialog"; exit 1; }
sleep 4
x key Escape
wait_for not_titled "Save As" || { echo "the file dialog stayed open"; exit 1; }
sleep 1
behind "file dialog closed"
stop_from_second_copy "$wav"
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
close_program

log_since_mark "$log" >"$out/log.txt" || exit 1
tally=$(grep -a "Capture buffers" "$out/log.txt" | tail -1 || true)
[ -n "$tally" ] || { echo "no capture tally in the log"; exit 1; }
echo "$tally"
lost=$(sed -n 's/.* \([0-9]*\) lost;.*/\1/p' <<<"$tally")
[ "$lost" = 0 ] || { echo "buffers were lost"; exit 1; }

[ "$(soxi -r "$wav")" = 44100 ] && [ "$(soxi -c "$wav")" = 1 ] && [ "$(soxi -b "$wav")" = 16 ] \
    || { echo "wrong format:"; soxi "$wav"; exit 1; }
length_ms=$(soxi -D "$wav" | awk '{printf "%.0f", $1 * 1000}')
elapsed=$((stopped_ms - first_ms))
echo "from the first audio to the stop $elapsed ms; recorded $length_ms ms"
[ "$length_ms" -ge $((elapsed - 200)) ] || { echo "audio was dropped"; exit 1; }
[ "$length_ms" -le $((elapsed + 600)) ] || { echo "the file is longer than the time recorded"; exit 1; }
freq=$(tone_frequency "$wav")
awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; exit 1; }
echo "busy window: ok"
