#!/usr/bin/env bash
# The real program plays what it recorded: it records a 1 kHz tone from the
# null sink's monitor (/I settings /L, stopped by a second copy's /F /T),
# then plays the file into the null sink, once from the command line (/P)
# and once at speed 1.5 (five "faster" commands, then "Play at speed", as
# the menu sends them), while parec records the sink's monitor. Passes when
# the tone is heard for as long as it lasts in the file, about 1/1.5 of that
# at speed 1.5, and is followed by 2 s of silence while the program still
# runs: it stops by itself at the end of the file.
# Wine's PulseAudio output drops part of a stream at its start or end
# (measured on an idle machine: none to 0.8 s at speed 1, up to 1.3 s at
# speed 1.5), so a play may fall short of its length (the file's, or 1/1.5
# of it) by up to 1 s at speed 1 and 1.5 s at speed 1.5, and never exceed it
# by more than 0.2 s. The 32-bit Wine drops more at speed 1 (1.1-1.65 s
# in the runs measured): there a play may fall short by up to 2 s.
# The exact lengths the program hands to the device are checked by the
# recorder's unit tests with the scripted device.
#   play_program.sh PROGRAM.exe POST_COMMAND.exe
set -eu
program=$1
post=$2
listener=
source "$(dirname "$0")/program_lib.sh"
cleanup() {
    [ -n "$listener" ] && kill_tree "$listener"
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    rm -rf "$out"
}
write_recording_settings e2e
wav="$out/e2e.wav"
CM_SPEEDUP=25212
CM_PLAYATSPEED=25210

# Milliseconds from the first to the last 10 ms window whose peak passes a
# quarter of the tone's level (0.5 of full scale), and after that to the end.
tone_span() {
    sox "$@" -t dat - 2>/dev/null | awk '
        /^;/ { next }
        { w = int($1 * 100); v = $2 < 0 ? -$2 : $2; if (v > peak[w]) peak[w] = v; if (w > last) last = w }
        END {
            first = -1; end = -1
            for (i = 0; i <= last; i++) if (peak[i] > 0.125) { if (first < 0) first = i; end = i }
            if (first < 0) { print "0 0"; exit }
            printf "%d %d\n", (end - first + 1) * 10, (last - end) * 10
        }'
}
monitor_to() {
    parec --device=null.monitor --format=s16le --rate=44100 --channels=1 --raw >"$1" &
    listener=$!
    sleep 0.5
}
stop_monitor() { kill_tree "$listener"; listener=; }
raw() { echo -t raw -r 44100 -c 1 -b 16 -e signed "$1"; }
# Waits (at most 60 s: Wine may take a while to start) until the monitor in
# $1 has heard the tone and then 2 s of silence.
wait_for_tone_end() {
    local span after
    for _ in $(seq 60); do
        sleep 1
        read -r span after < <(tone_span $(raw "$1"))
        [ "$span" -gt 0 ] && [ "$after" -ge 2000 ] && return 0
    done
    return 0  # judged below
}

"$tools/sound-rig" start
# 1. The recording.
"$tools/sound-rig" tone 40 1000 &  # ended once the recording is made
player=$!
sleep 2.5
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
wait_for_file "$wav" || { echo "no recording started"; exit 1; }
sleep 5
"$tools/wine-run" "$program" /F /T
sleep 1
close_program "$program"
kill_tree "$player"; player=
sleep 1
read -r file_ms _ < <(tone_span "$wav")
[ "$file_ms" -ge 2000 ] || { echo "the recording holds too little tone: $file_ms ms"; exit 1; }

# Runs the program with the arguments after $1 while the monitor records
# into $1.raw; "post" as the first of them posts the speed commands once
# the window is up. Sets span_ms and after_ms: the tone and the silence after it.
play_and_listen() {
    local name=$1 speed=
    shift
    [ "$1" = post ] && { speed=1; shift; }
    monitor_to "$out/$name.raw"
    "$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" "$@" &
    recorder=$!
    [ -n "$speed" ] && "$tools/wine-run" "$post" Larkspur-PRO \
        $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_PLAYATSPEED
    wait_for_tone_end "$out/$name.raw"
    stop_monitor
    close_program "$program"
    read -r span_ms after_ms < <(tone_span $(raw "$out/$name.raw"))
}

# 2. Played from the command line; 3. at speed 1.5.
play_and_listen normal /P "$(winpath "$wav")"
normal_ms=$span_ms normal_after=$after_ms
play_and_listen fast post "$(winpath "$wav")"
fast_ms=$span_ms fast_after=$after_ms

echo "file_ms $file_ms played_ms $normal_ms then_silent_ms $normal_after at_1.5_ms $fast_ms then_silent_ms $fast_after"
allowed=1000 fast_allowed=1500
if [ "$(cat "$(dirname "$program")/wine-arch" 2>/dev/null)" = win32 ]; then allowed=2000 fast_allowed=2000; fi
awk -v f="$file_ms" -v n="$normal_ms" -v na="$normal_after" -v s="$fast_ms" -v sa="$fast_after" \
    -v al="$allowed" -v fal="$fast_allowed" 'BEGIN {
    short = f - n; fast_short = f / 1.5 - s
    exit !(short <= al && short >= -200 && fast_short <= fal && fast_short >= -200 &&
           na >= 2000 && sa >= 2000) }' \
    || { echo "playback length out of range"; exit 1; }
