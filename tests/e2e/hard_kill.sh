#!/usr/bin/env bash
# A recording killed hard: the program records a 1 kHz tone and its Windows
# process gets kill -9 at a pseudo-random moment (LARKSPUR_KILL_SEED repeats
# one; LARKSPUR_KILL_AFTER_MS picks it, e.g. past the first refresh of the
# sizes, 600 buffers of 200 ms). The file left behind must open through the
# program's audio-file classes and in sox, read through to its end, and hold
# the audio up to the last refresh of its sizes: at most one refresh interval
# (plus Wine's capture start latency) is lost. A journal left beside it must
# be whole. With "ogg" the program records Ogg Vorbis instead: the file must
# open and decode through the program's classes and in ogginfo and oggdec,
# up to what was written out before the kill (the encoder's pages go out as
# they fill; what libogg and the C library still held is lost, which the
# check prints but cannot bound by time).
#   hard_kill.sh PROGRAM.exe HOSTILE_TESTS.exe [ogg]
set -eu
program=$1
reader=$2
kind=${3:-wav}
out=$(mktemp -d)
. "$(dirname "$0")/program_rig.sh"
trap 'stop_rig; rm -rf "$out"' EXIT

seed=${LARKSPUR_KILL_SEED:-$(( $(date +%s) % 100000 ))}
RANDOM=$seed
after_ms=${LARKSPUR_KILL_AFTER_MS:-$((3000 + RANDOM % 6000))}
echo "seed $seed: kill after $after_ms ms"

if [ "$kind" = ogg ]; then
    write_settings "$out/settings.ini" "$(winpath "$out")" 44100 1 3
else
    write_settings "$out/settings.ini" "$(winpath "$out")"
fi
wav="$out/e2e.$kind"
start_tone $((after_ms / 1000 + 20))
start_recording "$out/settings.ini" "$wav"
sleep "$(awk -v ms="$after_ms" 'BEGIN {printf "%.3f", ms / 1000}')"

pid=$(program_pid)
[ -n "$pid" ] || { echo "the program is not running"; exit 1; }
kill -9 "$pid"
killed_ms=$(now_ms)
wait "$recorder" 2>/dev/null || true
recorder=
stop_rig

size=$(stat -c %s "$wav")
recorded_ms=$((killed_ms - created_ms))
info=$(LARKSPUR_LEFT_FILE="$(winpath "$wav")" "$tools/wine-run" "$reader" \
       --gtest_filter=HostileLeftFile.LeftFile | tr -d '\r' | grep '^left file:') || { echo "could not read $wav"; exit 1; }
echo "recorded_ms $recorded_ms size $size $info"
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$info"; }
[ "$(field opened)" = 1 ] || { echo "the file left behind does not open"; exit 1; }
journal_whole() {
    case $(field journal) in
        absent) ;;
        intact) [ "$(field journal_segments)" -ge 1 ] || { echo "the journal lost the recording's segment"; exit 1; } ;;
        *) echo "the journal is damaged"; exit 1 ;;
    esac
}
if [ "$kind" = ogg ]; then
    length=$(field length) rate=$(field rate) decoded=$(field decoded)
    # Every page on disk decodes (a packet cut by the kill may be lost).
    [ "$decoded" -ge $((length - rate / 4)) ] || { echo "decoding stopped before the stream's end"; exit 1; }
    journal_whole
    # No refresh of its own: what the encoder had not yet paged out (a page of
    # libogg, up to 4 KB, and a buffer of the C library) is lost with the
    # capture's start latency, seconds at the low byte rate of a tone.
    awk -v d="$decoded" -v r="$rate" -v ms="$recorded_ms" 'BEGIN {
        printf "decoded %.2f s of %.2f s recorded\n", d / r, ms / 1000 }'
    # A killed stream never got its end mark: ogginfo warns of that (and
    # exits 1) but must find nothing else wrong.
    ogginfo "$wav" >"$out/ogginfo.txt" 2>&1 || true
    if ! grep -q "Vorbis headers parsed" "$out/ogginfo.txt" ||
        grep -E "WARNING|ERROR" "$out/ogginfo.txt" | grep -qv "EOS not set"; then
        cat "$out/ogginfo.txt"; echo "ogginfo finds the file damaged"; exit 1
    fi
    oggdec -Q -o "$out/decoded.wav" "$wav" || { echo "oggdec cannot decode the file"; exit 1; }
    # The program's classes decode as much as the reference decoder.
    theirs=$(soxi -s "$out/decoded.wav")
    [ $((theirs - decoded)) -le $((rate / 4)) ] && [ $((decoded - theirs)) -le $((rate / 4)) ] \
        || { echo "oggdec decodes $theirs frames, the program's classes $decoded"; exit 1; }
    if [ "$decoded" -gt 88200 ]; then
        freq=$(tone_frequency "$out/decoded.wav")
        awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; exit 1; }
    fi
    echo "hard kill: ok"
    exit 0
fi
length=$(field length) rate=$(field rate)
[ "$(field read)" = "$length" ] || { echo "reading stopped before the data's end"; exit 1; }
[ $((length % $(field align))) = 0 ] || { echo "data length is no whole number of blocks"; exit 1; }
[ "$length" -le "$size" ] || { echo "data length claims more than the file holds"; exit 1; }
journal_whole
# What was captured, less one refresh interval and the start latency, must be there.
awk -v l="$length" -v r="$rate" -v ms="$recorded_ms" 'BEGIN {
    exit !(l >= (ms - 2000 - 600 * 200) / 1000 * r) }' \
    || { echo "more than one refresh interval of audio is lost"; exit 1; }

sox "$wav" -n stat 2>"$out/stat.txt" || { cat "$out/stat.txt"; echo "sox cannot read the file"; exit 1; }
samples=$(soxi -s "$wav")
[ $((samples * 2)) -ge "$length" ] || { echo "sox reads less than the header says"; exit 1; }
if [ "$length" -gt 88200 ]; then
    freq=$(tone_frequency "$wav")
    awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; exit 1; }
fi
echo "hard kill: ok"
