#!/usr/bin/env bash
# The real program records from the sound card: a 1 kHz tone plays into the
# null sink; "larkspurpro /I settings.ini /L" records its monitor into a file
# named by the settings; a second copy with "/F /T" stops it; closing the
# window (WM_CLOSE, as the window's close box sends) finishes the file.
# Passes when the file holds the tone in the format the settings ask for and
# its length: never longer than the time from the file's creation to the
# stop (+100 ms, a little more for codecs that end their last frame on
# close), and short of the audio the device gave from the first buffers the
# program took back (the log says when) to the stop by no more than a bare
# winmm capture loop of the same run loses and 50 ms. The tone's rough
# frequency must be within 50 Hz of 1 kHz, beyond what the bare loop's own
# capture of the same run at the rate the file records at (a second, short
# one at 32 kHz for Speex) is off.
# With "mp3", "ogg" or "spx" the default-format setting chooses an MP3 (through
# the ACM codec driver installed in the prefix), Ogg Vorbis or Speex recording;
# a comment sent with "/O" while recording must then be in the file, and the
# length is measured on the decoded audio. An MP3 decodes with the codec's
# delay in front and its padding to a whole frame behind: its length is taken
# to the last sound, less the delay a bare encoder (BARE_MP3_ENCODE) shows on
# a tone as long as the recording, in the same run.
#   record_program.sh PROGRAM.exe BARE_CAPTURE.exe [wav|mp3 BARE_MP3_ENCODE.exe|ogg|spx]
set -eu -o pipefail
program=$1
bare=$2
kind=${3:-wav}
bare_encode=${4:-}
source "$(dirname "$0")/program_lib.sh"
write_recording_settings e2e "$(case $kind in mp3) echo 1;; ogg) echo 3;; spx) echo 4;; *) echo 0;; esac)"
wav="$out/e2e.$kind"
comment="e2e comment $$"

start_tone 35
bare_lost=$(bare_loss "$bare" 6)
capture_rate=44100
if [ "$kind" = spx ]; then
    # The tone's baseline comes at the rate the file records at, to which
    # Wine resamples the monitor.
    capture_rate=32000
    bare_loss "$bare" 3 "$capture_rate" >/dev/null
fi
sox -t raw -r "$capture_rate" -e signed -b 16 -c 1 "$out/bare.raw" "$out/bare.wav"
bare_freq=$(rough_frequency "$out/bare.wav")
log=$(program_log "$program")
mark_log "$log"

"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
# The file is created when recording starts, just before the device opens.
wait_for_file "$wav" || { echo "no recording started: $wav missing"; ls -l "$out"; exit 1; }
created_ms=$(now_ms)
birth=$(stat -c %W "$wav")
[ "$birth" != 0 ] && [ "$birth" != - ] && created_ms=$(stat -c %.3W "$wav" | tr -d .)
first_capture "$log" || exit 1

sleep 2
if [ "$kind" != wav ]; then
    "$tools/wine-run" "$program" /O "$comment" || { echo "/O found no running copy"; exit 1; }
fi
sleep 2
"$tools/wine-run" "$program" /F /T
# The stop brings the header up to date at once; after it nothing more is
# written until the file is closed, so its modification time is the stop.
wait_settled "$wav" || { echo "still recording after /F /T"; exit 1; }
stopped_ms=$(stat -c %.3Y "$wav" | tr -d .)
stopped_size=$(stat -c %s "$wav")
[ "$kind" = wav ] && stopped_length=$(soxi -s "$wav")

close_program "$program"

elapsed=$((stopped_ms - created_ms)) recorded=$((stopped_ms - first_ms + first_held_ms))
decoded=$out/decoded.wav rate=44100 slack=150
case $kind in
mp3)
    ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$wav" | grep -c '^mp3' >/dev/null \
        || { echo "not an MP3 stream:"; ffprobe "$wav"; exit 1; }
    # The comment is in the annotations' private frame, inside the ID3v2 tag.
    tag_bytes=$(head -c 10 "$wav" | od -An -tu1 | awk '$1 == 73 && $2 == 68 && $3 == 51 {
        print 10 + $7 * 2097152 + $8 * 16384 + $9 * 128 + $10 }')
    [ -n "$tag_bytes" ] && head -c "$tag_bytes" "$wav" | grep -ac PRIV >/dev/null \
        && head -c "$tag_bytes" "$wav" | grep -acF "$comment" >/dev/null \
        || { echo "the comment is not in the ID3v2 tag"; exit 1; }
    ffmpeg -v error -i "$wav" "$decoded"
    rate=$(soxi -r "$decoded")
    [ "$rate" = 16000 ] || { echo "a $rate Hz MP3, not the 16 kHz one the bare encoder makes"; exit 1; }
    sox -n -r 16000 -c 1 -b 16 -e signed "$out/codec.raw" synth "$(awk -v m="$recorded" 'BEGIN { print m / 1000 }')" sine 1000 vol 0.35
    "$tools/wine-run" "$bare_encode" "$(winpath "$out/codec.raw")" "$(winpath "$out/codec.mp3")" \
        || { echo "the bare MP3 encoder failed"; exit 1; }
    ffmpeg -v error -i "$out/codec.mp3" "$out/codec.wav"
    codec_delay_ms=$(($(sounding_ms "$out/codec.wav") - recorded)) ;;
ogg)
    ogginfo "$wav" >"$out/info.txt" 2>&1 && ! grep -qi 'warning\|error' "$out/info.txt" \
        || { cat "$out/info.txt"; echo "ogginfo complains"; exit 1; }
    vorbiscomment -l "$wav" | grep -cF "$comment" >/dev/null || { echo "the /O comment is not in the file"; exit 1; }
    oggdec -Q -o "$decoded" "$wav" || { echo "oggdec failed"; exit 1; } ;;
spx)
    ogginfo "$wav" >"$out/info.txt" 2>&1 && ! grep -qi 'warning\|error' "$out/info.txt" \
        || { cat "$out/info.txt"; echo "ogginfo complains"; exit 1; }
    grep -aqF "$comment" "$wav" || { echo "the /O comment is not in the file"; exit 1; }
    speexdec "$wav" "$decoded" 2>/dev/null || { echo "speexdec failed"; exit 1; }
    rate=32000 ;;
*)
    check_pcm_format "$wav"
    [ "$(soxi -s "$wav")" = "$stopped_length" ] || { echo "audio was added after the stop"; exit 1; }
    decoded=$wav slack=100 ;;
esac
[ "$(soxi -r "$decoded")" = "$rate" ] && [ "$(soxi -c "$decoded")" = 1 ] && [ "$(soxi -b "$decoded")" = 16 ] \
    || { echo "wrong format:"; soxi "$decoded"; exit 1; }
length_ms=$(soxi -D "$decoded" | awk '{printf "%.0f", $1 * 1000}')
codec_note=
if [ "$kind" = mp3 ]; then
    length_ms=$(($(sounding_ms "$decoded") - codec_delay_ms))
    codec_note=" (to the last sound, less the codec's delay of $codec_delay_ms)"
fi
freq=$(rough_frequency "$decoded")
echo "$kind since_creation_ms $elapsed recorded_ms $recorded length_ms $length_ms$codec_note frequency $freq size_at_stop $stopped_size size $(stat -c %s "$wav")"
echo "the recording: $(off_tone "$decoded")"
echo "the bare loop at $capture_rate Hz: frequency $bare_freq, $(off_tone "$out/bare.wav")"
awk -v l="$length_ms" -v e="$elapsed" -v s="$slack" 'BEGIN { exit !(l <= e + s) }' \
    || { echo "longer than recorded"; exit 1; }
awk -v f="$freq" -v b="$bare_freq" 'function off(x) { return x > 1000 ? x - 1000 : 1000 - x }
    BEGIN { exit !(off(f) <= 50 + off(b)) }' \
    || { echo "not the tone"; exit 1; }
judge_loss $((recorded - length_ms)) "$bare_lost"
