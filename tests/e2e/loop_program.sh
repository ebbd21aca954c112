#!/usr/bin/env bash
# The looping file limit in the real program: with the File page's "Loop
# (FIFO)" action and a 1 MB size limit (about 11.9 s of 44100 Hz 16-bit mono),
# "larkspurpro /I settings.ini /L" records a sequence of 16 tones of 2 s each
# from the null sink's monitor for about 1.6 laps of the file; a second copy's
# "/F /T" stops it while the tones still play, and the window is closed.
# Passes when the recording folder holds that one file, its data within two
# capture buffers of 1 MB, and it plays the last tones before the stop in
# time order, oldest first, with nothing of an earlier lap and no click where
# the laps meet, found from the program's log of the buffers it captured
# (loop_check.sh judges the file). Wine's capture drops 10-50 ms now and
# then (a bare winmm capture loop does too; PulseAudio's own capture of the
# monitor does not): such a jump elsewhere in the file is shown, not
# judged; a click where the laps meet fails.
# Wine's capture starts 0.4-2 s late; that part of the first lap is
# overwritten anyway. The newest tone may be any tone that played between a
# second before the stop was asked for (the sink's latency) and the file's
# last change.
#   loop_program.sh PROGRAM.exe
set -eu
program=$1
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT
check=$(dirname "$0")/loop_check.sh
log=$(program_log "$program")

limit=1048576
lap_ms=$((limit * 1000 / 88200))
tones_ms=32000
rec=$out/rec
wav=$rec/e2e.wav
write_settings "$out/settings.ini" "$(winpath "$rec")"
sed -i '/^\[File\]$/a FileAction=1\nFileSizeSel=0\nFileSize=1' "$out/settings.ini"
"$check" tones "$out/tones.wav"

# One recording and its judgement: 0 passed, else failed.
record_and_check() {
    rm -rf "$rec" && mkdir "$rec"
    mark_log "$log"
    "$tools/sound-rig" start
    "$tools/sound-rig" play "$out/tones.wav" &
    player=$!
    tones_from=$(now_ms)
    sleep 2.5  # the null sink delivers nothing to its monitor until a sound really plays
    start_recording "$out/settings.ini" "$wav"

    # About 1.6 laps after the capture started, and while a tone still plays.
    stop_at=$((created_ms + 2000 + lap_ms * 8 / 5))
    [ $stop_at -le $((tones_from + tones_ms - 3000)) ] || stop_at=$((tones_from + tones_ms - 3000))
    if [ $((stop_at - created_ms)) -lt $((2000 + lap_ms * 13 / 10)) ]; then
        echo "FAIL: the program took $((created_ms - tones_from)) ms to start recording: the tones end before a second lap"
        return 1
    fi
    sleep "$(awk -v ms=$((stop_at - $(now_ms))) 'BEGIN {printf "%.3f", (ms > 0 ? ms / 1000 : 0)}')"
    asked_ms=$(now_ms)
    "$tools/wine-run" "$program" /F /T
    # Stopping re-orders the file: it may be replaced for a moment.
    last= settled=
    for _ in $(seq 60); do
        size=$(stat -c %s "$wav" 2>/dev/null || echo none)
        [ "$size" != none ] && [ "$size" = "$last" ] && { settled=1; break; }
        last=$size
        sleep 0.5
    done
    [ -n "$settled" ] || { echo "FAIL: the file did not settle after /F /T"; ls -l "$rec"; return 1; }
    settled_ms=$(now_ms)
    close_program
    stop_rig

    echo "started recording $((created_ms - tones_from)) ms into the tones; recorded $((asked_ms - created_ms)) ms; stopped and settled $((settled_ms - asked_ms)) ms after /F /T"
    files=$(ls -A "$rec")
    if [ "$files" != e2e.wav ]; then
        echo "FAIL: the recording folder should hold e2e.wav alone, not:"
        ls -l "$rec"
        return 1
    fi

    # Where the laps meet: the first lap is the file's data, whole buffers of
    # 200 ms; the second holds the buffers taken after it, the last one maybe
    # part full.
    log_since_mark "$log" >"$out/log.txt" || return 1
    tally=$(grep 'Capture buffers' "$out/log.txt" | tail -1 || true)
    echo "${tally:-no capture tally in the log}"
    taken=$(sed -n 's/.*Capture buffers: \([0-9]*\) taken.*/\1/p' <<<"$tally")
    data=$(($(soxi -s "$wav") * 2))
    read -r seam_from seam_to < <(awk -v data="$data" -v taken="${taken:-0}" -v buffer=17640 'BEGIN {
        lap = int(data / buffer + 0.5); second = taken - lap
        if (second < 1 || second >= lap) { print "none none"; exit }
        printf "%.2f %.2f\n", (data - second * buffer) / 88200 - 0.1, (data - (second - 1) * buffer) / 88200 + 0.1 }')
    laps_ok=1
    if [ "$seam_from" = none ]; then
        echo "FAIL: ${taken:-no} buffers of 200 ms taken for $data bytes of data: not one lap and part of a second"
        laps_ok=
    fi
    newest() { echo $(( ($1 - tones_from) / 2000 > 15 ? 15 : ($1 - tones_from) / 2000 )); }
    local verdict=0
    "$check" check "$wav" $limit "$(newest $((asked_ms - 1000)))" "$(newest "$settled_ms")" "$seam_from" "$seam_to" \
        || verdict=$?
    [ -n "$laps_ok" ] || return 1
    return $verdict
}

record_and_check || exit 1
echo "loop program: ok"
