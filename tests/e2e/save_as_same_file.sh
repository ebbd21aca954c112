#!/usr/bin/env bash
# The real program with a saved recording of a tone open (under its C:
# name, from the command line), Save As typed into its file dialog as the Z:
# path that names the same file, the overwrite question answered yes: the
# file stays whole (its tone measured by sox) and stays the current file
# (the window's caption names it, no message box is shown).
#   save_as_same_file.sh PROGRAM.exe POST_COMMAND.exe
set -eu
set -o pipefail
program=$1
post=$2
source "$(dirname "$0")/program_lib.sh"
command -v xdotool >/dev/null || { echo "SKIPPED: xdotool is missing (tools/setup installs it)"; exit 77; }
build=$(cd "$(dirname "$program")" && pwd)
prefix=${WINEPREFIX:-$build/wineprefix}
[ -d "$prefix/drive_c" ] || { echo "no Wine prefix at $prefix"; exit 1; }
folder=$(mktemp -d "$prefix/drive_c/larkspur-saveas.XXXXXX")
trap 'cleanup; rm -rf "$folder"' EXIT
unset DISPLAY
x() { DISPLAY=:${LARKSPUR_DISPLAY:-91} xdotool "$@"; }
titled() { x search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
not_titled() { ! titled "$1"; }
wait_for() {
    for _ in $(seq 75); do "$@" && return 0; sleep 0.2; done
    return 1
}

wav=$folder/tone.wav
c_name="C:\\$(basename "$folder")\\tone.wav"
z_name=$(winpath "$wav")
sox -n -r 44100 -c 1 -b 16 "$wav" synth 3 sine 1000
size=$(stat -c %s "$wav")
session_settings tone "C:\\$(basename "$folder")" >"$out/settings.ini"

check_tone() {
    local seconds freq
    seconds=$(soxi -D "$wav" 2>/dev/null) || { echo "$1: sox cannot read the file ($(stat -c %s "$wav") bytes)"; return 1; }
    freq=$(rough_frequency "$wav")
    echo "$1: $(stat -c %s "$wav") bytes, $seconds s, rough frequency $freq Hz"
    awk -v s="$seconds" -v f="$freq" 'BEGIN { exit !(s > 2.99 && s < 3.01 && f > 950 && f < 1050) }' \
        || { echo "$1: the tone is not whole"; return 1; }
}

"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" "$c_name" &
recorder=$!
"$tools/wine-run" "$post" Larkspur-PRO "$(awk '$2 == "CM_SAVEAS" {print $3}' "$(dirname "$0")/../../resources/ResourceIds.h")"
wait_for titled "Save As" || { echo "no Save As dialog"; exit 1; }
sleep 0.5
x key --clearmodifiers ctrl+a
x type --delay 10 "$z_name"
x key Return
# The file dialog's overwrite question ("File already exists.", Yes first).
wait_for titled Error || { echo "no overwrite question"; exit 1; }
sleep 0.3
x key Return
wait_for not_titled "Save As" || { echo "the Save As dialog stayed open"; exit 1; }
sleep 1
# The caption names the file again once it is saved, and nothing else is
# shown (a failed save would say so in a message box).
titled "tone.wav Larkspur-PRO" || { echo "the recording is no longer the current file"; exit 1; }
shown=$({ x search --onlyvisible --class larkspurpro 2>/dev/null || true; } | wc -l)
[ "$shown" = 1 ] || { echo "$shown windows shown after Save As"; exit 1; }
check_tone "after Save As"
close_program "$program"
check_tone "after closing"
