#!/usr/bin/env bash
# A recording killed hard: the program records a 1 kHz tone, the tone stops
# at a pseudo-random moment (LARKSPUR_KILL_SEED repeats one;
# LARKSPUR_KILL_AFTER_MS picks it) and 2.5 s later the program's Windows
# process gets kill -9. The file left behind must open through the program's
# audio-file classes and in the reference tools, read through to its end, and
# a journal left beside it must be whole. What those tools read from the file
# as written may miss at most 1.5 s of what was captured before the kill:
# the file must end in silence, all but 1.5 s of the 2.5 s after the tone
# (Wine's capture start latency is not measured so). With "ogg" the program
# records Ogg Vorbis instead, at quality 0 and 8000 Hz mono (the fewest bytes
# a second, the longest wait for a page), decoded by the program's classes,
# ogginfo and oggdec; a WAV file is read by sox as it is on disk.
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

# The tone ends this long before the kill.
silence_ms=2500
if [ "$kind" = ogg ]; then
    write_settings "$out/settings.ini" "$(winpath "$out")" 8000 1 3
    printf '[Vorbis]\nVorSampleRate=8000\nVorStereo=0\nVorQ=0\n' >>"$out/settings.ini"
else
    write_settings "$out/settings.ini" "$(winpath "$out")"
fi
wav="$out/e2e.$kind"
start_tone $((after_ms / 1000 + 20))
start_recording "$out/settings.ini" "$wav"
sleep "$(awk -v ms="$after_ms" 'BEGIN {printf "%.3f", ms / 1000}')"
kill_tree "$player"
player=
tone_end_ms=$(now_ms)
sleep "$(awk -v ms="$silence_ms" 'BEGIN {printf "%.3f", ms / 1000}')"

pid=$(program_pid)
[ -n "$pid" ] || { echo "the program is not running"; exit 1; }
kill -9 "$pid"
killed_ms=$(now_ms)
wait "$recorder" 2>/dev/null || true
recorder=
stop_rig

size=$(stat -c %s "$wav")
recorded_ms=$((killed_ms - created_ms))
read_left_file "$reader" "$wav" || exit 1
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
# The silence after the tone that reached the disk in $1 (a WAV file as
# sox reads it): what is missing of the silence_ms captured before the kill
# was lost.
check_lost() {
    sox "$1" "$out/tone.wav" reverse silence 1 0.01 2% reverse
    tone_s=$(soxi -D "$out/tone.wav")
    tail_ms=$(awk -v all="$(soxi -D "$1")" -v t="$tone_s" 'BEGIN {printf "%.0f", (all - t) * 1000}')
    lost_ms=$((killed_ms - tone_end_ms - tail_ms))
    echo "tone ended $((killed_ms - tone_end_ms)) ms before the kill; $tail_ms ms of the silence on disk; lost $lost_ms ms"
    awk -v t="$tone_s" 'BEGIN {exit !(t > 1)}' || { echo "no tone on disk"; exit 1; }
    freq=$(tone_frequency "$out/tone.wav")
    awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; exit 1; }
    [ "$lost_ms" -le 1500 ] || { echo "more than 1.5 s of the recording was lost"; exit 1; }
}
if [ "$kind" = ogg ]; then
    length=$(field length) rate=$(field rate) decoded=$(field decoded)
    # Every page on disk decodes (a packet cut by the kill may be lost).
    [ "$decoded" -ge $((length - rate / 4)) ] || { echo "decoding stopped before the stream's end"; exit 1; }
    journal_whole
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
    check_lost "$out/decoded.wav"
    echo "hard kill: ok"
    exit 0
fi
length=$(field length) rate=$(field rate)
[ "$(field read)" = "$length" ] || { echo "reading stopped before the data's end"; exit 1; }
[ $((length % $(field align))) = 0 ] || { echo "data length is no whole number of blocks"; exit 1; }
[ "$length" -le "$size" ] || { echo "data length claims more than the file holds"; exit 1; }
journal_whole
sox "$wav" -n stat 2>"$out/stat.txt" || { cat "$out/stat.txt"; echo "sox cannot read the file"; exit 1; }
samples=$(soxi -s "$wav")
[ $((samples * $(field align))) -ge "$length" ] || { echo "sox reads less than the header says"; exit 1; }
check_lost "$wav"
echo "hard kill: ok"
