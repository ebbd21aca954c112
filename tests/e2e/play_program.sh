#!/usr/bin/env bash
# The real program plays what it recorded: it records 4 s of a 1 kHz tone,
# with silence before and after, from the null sink's monitor (/I settings /L, stopped by a second copy's /F /T),
# then plays the file into the null sink, from the command line (/P) and at
# speed 1.5 (five "faster" commands, then "Play at speed", as the menu sends
# them), while parec records the sink's monitor. In every round the tone
# must be heard for as long as it lasts in the file (1/1.5 of that at speed
# 1.5), at most 0.15 s shorter and 0.2 s longer, followed by 2 s of silence
# while the program still runs: it stops by itself at the end of the file.
# Beside each play the bare winmm loop (bench/wine/BarePlayback.cpp) plays
# the same audio (made 1.5 times faster by sox for the second) in the same
# round, and its figures are printed: what the platform alone does.
#   play_program.sh PROGRAM.exe POST_COMMAND.exe BARE_PLAYBACK.exe [ROUNDS=2]
set -eu
program=$1
post=$2
bare=$3
rounds=${4:-2}
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
# 1. The recording: silence, 4 s of tone, silence. Wine's PulseAudio output
# may drop the first half second or more of a stream (the bare loop's too;
# the 32-bit Wine up to about 1.6 s): the silence before the tone, about 4 s
# (2.7 s at speed 1.5), takes that, so that the check measures the tone's end.
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
wait_for_file "$wav" || { echo "no recording started"; exit 1; }
sleep 5.5
"$tools/sound-rig" tone 4 1000
sleep 1.5
"$tools/wine-run" "$program" /F /T
sleep 1
close_program "$program"
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

# The bare loop reads a plain PCM file: the recording as it is, and 1.5
# times faster with its pitch kept.
sox "$wav" -t wav -e signed -b 16 "$out/plain.wav"
sox "$wav" -t wav -e signed -b 16 "$out/faster.wav" tempo 1.5
bare_play_and_listen() {
    monitor_to "$out/$1.raw"
    "$tools/wine-run" "$bare" "$(winpath "$2")" || true
    wait_for_tone_end "$out/$1.raw"
    stop_monitor
    read -r span_ms after_ms < <(tone_span $(raw "$out/$1.raw"))
}

# Each round: played from the command line, the bare loop, at speed 1.5, the
# bare loop on the faster file.
failed=0
judge() {  # heard_ms expected_ms silence_after_ms
    awk -v h="$1" -v e="$2" -v a="$3" 'BEGIN { exit !(e - h <= 150 && h - e <= 200 && a >= 2000) }'
}
for round in $(seq "$rounds"); do
    play_and_listen "normal$round" /P "$(winpath "$wav")"
    normal_ms=$span_ms normal_after=$after_ms
    bare_play_and_listen "bare$round" "$out/plain.wav"
    bare_ms=$span_ms
    play_and_listen "fast$round" post "$(winpath "$wav")"
    fast_ms=$span_ms fast_after=$after_ms
    bare_play_and_listen "barefast$round" "$out/faster.wav"
    bare_fast_ms=$span_ms
    fast_expected=$((file_ms * 2 / 3))
    echo "round $round: file_ms $file_ms program_ms $normal_ms bare_ms $bare_ms then_silent_ms $normal_after" \
         "| at_1.5 expected_ms $fast_expected program_ms $fast_ms bare_ms $bare_fast_ms then_silent_ms $fast_after"
    judge "$normal_ms" "$file_ms" "$normal_after" || { echo "round $round: playback length out of range"; failed=1; }
    judge "$fast_ms" "$fast_expected" "$fast_after" || { echo "round $round: length at speed 1.5 out of range"; failed=1; }
done
exit "$failed"
