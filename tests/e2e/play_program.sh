#!/usr/bin/env bash
# The real program plays files into the null sink while parec records the
# sink's monitor: a 3 s sweep made by sox (300 Hz rising to 3300 Hz, to the
# file's last sample), as 16-bit PCM and as IMA ADPCM (decoded by Wine's
# codec), each from the command line (/P) and at speed 1.5 (five "faster"
# commands, then "Play at speed", as the menu sends them), in every round.
# The sweep's pitch tells which part of the file each moment heard comes
# from, so every play is judged on both ends:
#  - the start lost (ms of play) is at most the bare loop's worst of the run
#    plus 100 ms, and so is what is skipped within the play (the sweep jumps
#    ahead: a start heard for 20 ms that then jumps is a start lost too);
#  - the end lost is at most 150 ms;
#  - no part is heard twice: the sweep never steps back more than 100 ms
#    (three windows in a row), and no more than 200 ms is heard beyond what
#    the part heard lasts;
#  - afterwards the program still runs, its log says the device was
#    closed, and nothing is heard for 3 s.
# Beside the program the bare winmm loop (bench/wine/BarePlayback.cpp) plays
# the PCM file and a 1.5 times faster one (sox's tempo) in the same round;
# it must have played more than half of the file, or the round fails. The
# sink never rewinds (tools/sound-rig), so the monitor hears a play whole.
#   play_program.sh PROGRAM.exe POST_COMMAND.exe BARE_PLAYBACK.exe [ROUNDS=2]
set -euo pipefail
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
log=$(program_log "$program")
CM_SPEEDUP=25212
CM_PLAYATSPEED=25210
sweep_ms=3000 low_hz=300 high_hz=3300

sox -n -r 44100 -c 1 -b 16 "$out/sweep.wav" synth $((sweep_ms / 1000)) sine $low_hz-$high_hz vol 0.5
sox "$out/sweep.wav" -e ima-adpcm "$out/sweep_ima.wav"
sox "$out/sweep.wav" "$out/faster.wav" tempo 1.5

# What was heard of the sweep in a sound file (sox's arguments): the sweep's
# time (ms of the file) at the first and at the last 10 ms window heard (peak
# above a quarter of the sweep's), the ms heard, the silent ms between them,
# the largest step back of the sweep's time, and the silence after the last.
heard() {
    sox "$@" -t dat - 2>/dev/null | awk -v rate=44100 -v low=$low_hz -v high=$high_hz -v sweep_ms=$sweep_ms '
        /^;/ { next }
        {
            v = $2; n++
            w = int((n - 1) / (rate / 100)); a = v < 0 ? -v : v
            if (a > peak[w]) peak[w] = a
            if (w > last) last = w
            if (a > swing) swing = a
            # An upward zero crossing (in samples) ends a period of the sweep
            # when the wave swung past the threshold since the last one: the
            # codec noise around a silence makes none.
            if (prev < 0 && v >= 0) {
                t = (n - 2) + (-prev) / (v - prev)
                if (swing > 0.125 && crossed) period[w, count[w]++] = t - crossed
                crossed = t; swing = 0
            }
            prev = v
        }
        END {
            first = -1; heard = 0; gaps = 0; back = 0; top = -1e9
            for (i = 0; i <= last; i++) {
                if (peak[i] <= 0.125) { if (first >= 0) gaps++; continue }
                if (first < 0) first = i
                end = i; heard++; inner_gaps = gaps
                # The periods the sweep can have; a dropout (the device
                # starved for a few ms) makes one period span the silence.
                m = 0
                for (j = 0; j < count[i]; j++) {
                    x = period[i, j]
                    if (x >= rate / high / 1.1 && x <= rate / low * 1.1) sorted[m++] = x
                }
                if (m < 2) continue
                # The median period (a splice of play at speed makes one
                # odd), taken only when most of the periods of the window agree
                # with it: of two, one may be torn by a dropout.
                for (j = 1; j < m; j++)
                    for (k = j; k > 0 && sorted[k - 1] > sorted[k]; k--) { x = sorted[k]; sorted[k] = sorted[k - 1]; sorted[k - 1] = x }
                x = sorted[int(m / 2)]; agree = 0
                for (j = 0; j < m; j++) agree += sorted[j] > x / 1.1 && sorted[j] < x * 1.1
                if (agree < 2 || agree * 2 <= m) continue
                at[found++] = log(rate / x / low) / log(high / low) * sweep_ms
            }
            # Steps back, on the median of each three windows in a row: one
            # window torn by a dropout is no step, a block heard twice (20
            # windows or more) is.
            for (j = 0; j < found; j++) {
                tf = at[j]
                if (j > 0 && j + 1 < found) {
                    x = at[j - 1]; y = at[j + 1]
                    if (x > y) { z = x; x = y; y = z }
                    tf = tf < x ? x : (tf > y ? y : tf)
                }
                if (tf > top) top = tf; else if (top - tf > back) back = top - tf
            }
            if (found > 0) { firsttf = at[0]; lasttf = at[found - 1] }
            if (first < 0 || firsttf == "") { printf "-1 -1 0 0 0 %d\n", (last + 1) * 10; exit }
            printf "%d %d %d %d %d %d\n", firsttf, lasttf, heard * 10, inner_gaps * 10, back, (last - end) * 10
        }'
}
raw() { echo -t raw -r 44100 -c 1 -b 16 -e signed "$1"; }

# start_ms, end_ms and skipped_ms: ms of play lost at each end and between
# them (heard less than the part heard lasts), from heard's first, last and
# heard fields at speed $4.
ends() {
    awk -v a="$1" -v b="$2" -v h="$3" -v v="$4" -v e=$sweep_ms \
        'BEGIN { s = (b - a) / v - h; printf "%d %d %d\n", a / v, (e - b) / v, (s > 0 ? s : 0) }'
}

# The measure itself, on files with known faults: each must read as it was
# made. Dropouts (a few ms of silence here and there, as a starved device
# gives) are no step back; a part heard again is, and so is a start that
# jumps ahead after its first 20 ms.
# dropouts SEED: sox pad arguments, a dropout of 1 to 20 ms every 5 to 40 ms.
dropouts() {
    awk -v seed="$1" 'function r(lo, hi) { seed = seed * 16807 % 2147483647; return lo + seed % (hi - lo + 1) }
        BEGIN { for (p = 13230; p < 127890; p += r(220, 1760)) printf "%ds@%ds ", r(44, 880), p }'
}
sox "$out/sweep.wav" "$out/cut.wav" trim 1
sox "$out/sweep.wav" "$out/dropouts.wav" pad $(dropouts 2)
sox "$out/sweep.wav" "$out/tail.wav" trim 2.7
sox "$out/sweep.wav" "$out/tail.wav" "$out/tail_again.wav"
sox "$out/sweep.wav" "$out/head.wav" trim 0 0.02
sox "$out/sweep.wav" "$out/rest.wav" trim 0.6
sox "$out/head.wav" "$out/rest.wav" "$out/jumps.wav"
# file, first and last ms of the sweep, at least ms heard, step back, ms skipped
while read -r f want_first want_last want_span want_back want_skip; do
    read -r first last span _ back _ < <(heard "$out/$f.wav")
    read -r _ _ skipped < <(ends "$first" "$last" "$span" 1)
    awk -v a="$first" -v b="$last" -v s="$span" -v k="$back" -v m="$skipped" -v fa="$want_first" \
        -v lb="$want_last" -v ws="$want_span" -v wk="$want_back" -v wm="$want_skip" \
        'BEGIN { exit !(a >= fa && a <= fa + 15 && b >= lb - 15 && b <= lb && s >= ws &&
                        (wk == 0 ? k == 0 : k >= wk) && (wm == 0 ? m <= 20 : m >= wm)) }' ||
        { echo "the sweep in $f.wav measures $first..$last ms, $span ms heard, $back back, $skipped skipped"; exit 1; }
done <<TABLE
sweep 0 $sweep_ms $sweep_ms 0 0
sweep_ima 0 $sweep_ms $sweep_ms 0 0
cut 1000 $sweep_ms $((sweep_ms - 1000)) 0 0
dropouts 0 $sweep_ms $sweep_ms 0 0
tail_again 0 $sweep_ms $((sweep_ms + 300)) 250 0
jumps 0 $sweep_ms $((sweep_ms - 580)) 0 550
TABLE

monitor_to() {
    parec --device=null.monitor --format=s16le --rate=44100 --channels=1 --raw >"$1" &
    listener=$!
    sleep 0.5
}
stop_monitor() { kill_tree "$listener"; listener=; }
# Waits (at most 60 s: Wine may take a while to start) until the monitor in
# $1 has heard the sweep and then $2 ms of silence.
wait_heard() {
    local first after
    for _ in $(seq 60); do
        sleep 1
        read -r first _ _ _ _ after < <(heard $(raw "$1"))
        [ "$first" -ge 0 ] && [ "$after" -ge "$2" ] && return 0
    done
    return 0  # judged below
}
# Whether the log tells of a device closed since mark_log.
closed_since_mark() {
    local text
    text=$(log_since_mark "$log") || return 1
    grep -q '^Play device closed' <<<"$text"
}

# Plays copy $1 of file $2 at speed $3 (1 or 1.5) from the command line and
# sets play: its figures (heard's fields), whether the program still ran
# and whether the log told of one more device closed after the end.
play_program() {
    local name=$1 speed=$3 running=no closed=no
    cp "$2" "$out/$name.wav"
    cp "$out/settings.ini" "$out/$name.ini"
    mark_log "$log"
    monitor_to "$out/$name.raw"
    if [ "$speed" = 1 ]; then
        "$tools/wine-run" "$program" /I "$(winpath "$out/$name.ini")" /P "$(winpath "$out/$name.wav")" &
        recorder=$!
    else
        "$tools/wine-run" "$program" /I "$(winpath "$out/$name.ini")" "$(winpath "$out/$name.wav")" &
        recorder=$!
        "$tools/wine-run" "$post" Larkspur-PRO \
            $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_SPEEDUP $CM_PLAYATSPEED
    fi
    wait_heard "$out/$name.raw" 3000
    kill -0 "$recorder" 2>/dev/null && running=yes
    closed_since_mark && closed=yes
    stop_monitor
    close_program "$program"
    play="$(heard $(raw "$out/$name.raw")) $running $closed"
}
play_bare() {
    monitor_to "$out/$1.raw"
    "$tools/wine-run" "$bare" "$(winpath "$2")" || echo "the bare loop failed on $2"
    wait_heard "$out/$1.raw" 1000
    stop_monitor
    play="$(heard $(raw "$out/$1.raw"))"
}
failed=0
bare_worst=0
bare_skipped=0
results=()
for round in $(seq "$rounds"); do
    for speed in 1 1.5; do
        bare_file=$out/sweep.wav; [ $speed = 1.5 ] && bare_file=$out/faster.wav
        play_bare "bare$round-$speed" "$bare_file"
        read -r first last span gaps back _ <<<"$play"
        read -r start_ms end_ms skipped_ms < <(ends "$first" "$last" "$span" $speed)
        echo "round $round bare at $speed: start_lost_ms $start_ms end_lost_ms $end_ms heard_ms $span" \
             "skipped_within_ms $skipped_ms silent_within_ms $gaps stepped_back_ms $back"
        if [ "$first" -lt 0 ] || [ $((last - first)) -le $((sweep_ms / 2)) ]; then
            echo "round $round: the bare loop did not play at $speed"; failed=1
        else
            [ "$start_ms" -le "$bare_worst" ] || bare_worst=$start_ms
            [ "$skipped_ms" -le "$bare_skipped" ] || bare_skipped=$skipped_ms
        fi
        for kind in pcm ima; do
            file=$out/sweep.wav; [ $kind = ima ] && file=$out/sweep_ima.wav
            play_program "$kind$round-$speed" "$file" $speed
            read -r first last span gaps back after running closed <<<"$play"
            read -r start_ms end_ms skipped_ms < <(ends "$first" "$last" "$span" $speed)
            echo "round $round $kind at $speed: start_lost_ms $start_ms end_lost_ms $end_ms heard_ms $span" \
                 "skipped_within_ms $skipped_ms silent_within_ms $gaps stepped_back_ms $back" \
                 "then_silent_ms $after running $running device_closed $closed"
            results+=("$round $kind $speed $first $last $span $back $after $running $closed $start_ms $end_ms $skipped_ms")
        done
    done
done

# Each play against the bounds; the start and what was skipped within
# against the bare loop's worst.
echo "bare loop's worst start lost: $bare_worst ms, worst skipped within: $bare_skipped ms"
for r in "${results[@]}"; do
    read -r round kind speed first last span back after running closed start_ms end_ms skipped_ms <<<"$r"
    what="round $round $kind at $speed"
    if [ "$first" -lt 0 ]; then echo "$what: nothing heard"; failed=1; continue; fi
    [ "$start_ms" -le $((bare_worst + 100)) ] || { echo "$what: start lost $start_ms ms"; failed=1; }
    [ "$end_ms" -le 150 ] || { echo "$what: end lost $end_ms ms"; failed=1; }
    [ "$skipped_ms" -le $((bare_skipped + 100)) ] || { echo "$what: $skipped_ms ms skipped within the play"; failed=1; }
    awk -v s="$span" -v a="$first" -v b="$last" -v v=$speed -v k="$back" \
        'BEGIN { exit !(k <= 100 && s - (b - a) / v <= 200) }' ||
        { echo "$what: a part heard twice ($span ms heard, $back ms stepped back)"; failed=1; }
    [ "$after" -ge 3000 ] || { echo "$what: only $after ms of silence after the end"; failed=1; }
    [ "$running" = yes ] || { echo "$what: the program had ended"; failed=1; }
    [ "$closed" = yes ] || { echo "$what: the log tells of no device closed"; failed=1; }
done
exit "$failed"
