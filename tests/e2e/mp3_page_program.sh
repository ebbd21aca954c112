#!/usr/bin/env bash
# An MP3 format chosen in the real program's MP3 page records: the page opens
# at 44100 Hz mono and lists the formats of the MP3 encoder installed in the
# prefix; the user picks one of 64 kbit/s and makes MP3 the default; "Save
# settings as..." writes the choice; the program started again with those
# settings and /L records a 1 kHz tone into an MP3 file of that format, which
# decodes.
#   mp3_page_program.sh PROGRAM.exe SHEET_DRIVER.exe
set -eu -o pipefail
program=$1
driver=$2
source "$(dirname "$0")/program_lib.sh"
step() { "$tools/wine-run" "$driver" "$@" | tr -d '\r'; }

write_recording_settings e2e 0
sed -i 's/^\[Mp3\]$/[Mp3]\nMp3SampleRate=44100\nMp3Stereo=0/' "$out/settings.ini"
"$tools/sound-rig" start >/dev/null
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" &
recorder=$!
for _ in $(seq 300); do step open 2>/dev/null && break; sleep 0.2; done
step open
step page 2 >/dev/null
listed=$(step text 3712) || { echo "the MP3 page's format list cannot be read"; exit 1; }
grep -q '^WARNING' <<<"$listed" && { echo "the MP3 page lists no encoder format"; exit 1; }
step pick 3712 "Lame MP3  44100 Hz, 64 kbps CBR" \
    || { echo "no 64 kbit/s format listed"; exit 1; }
chosen=$(step text 3712)
step click 3713
step ok
saved="$out/chosen.ini"
step saveas "$(winpath "$saved")"
for _ in $(seq 100); do grep -q '^KeyActivate=' "$saved" 2>/dev/null && break; sleep 0.2; done
value() { tr -d '\r' <"$saved" | sed -n "s/^$1=//p" | head -1; }
[ "$(value DefaultAudioFormat)" = 1 ] && [ "$(value Mp3SampleRate)" = 44100 ] \
    && [ "$(value Mp3ACMDriver)  $(value Mp3ACMFormat)" = "$chosen" ] \
    || { echo "the choice '$chosen' was not written:"; cat "$saved"; exit 1; }
close_program "$program"

start_tone 15
"$tools/wine-run" "$program" /I "$(winpath "$saved")" /L &
recorder=$!
mp3="$out/e2e.mp3"
wait_for_file "$mp3" || { echo "no recording started: $mp3 missing"; ls -l "$out"; exit 1; }
sleep 4
"$tools/wine-run" "$program" /F /T
wait_settled "$mp3" || { echo "still recording after /F /T"; exit 1; }
close_program "$program"

ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,bit_rate -of csv=p=0 "$mp3" \
    >"$out/probe.txt" || { echo "ffprobe failed:"; ls -l "$out"; od -A d -t x1 "$mp3" | head -8; exit 1; }
grep -q '^mp3,44100,1,64000' "$out/probe.txt" || { echo "not the chosen format:"; cat "$out/probe.txt"; exit 1; }
decoded="$out/decoded.wav"
ffmpeg -v error -i "$mp3" "$decoded" || { echo "the file does not decode"; exit 1; }
length_ms=$(soxi -D "$decoded" | awk '{printf "%.0f", $1 * 1000}')
freq=$(rough_frequency "$decoded")
echo "chosen '$chosen' length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v f="$freq" 'BEGIN { exit !(l > 1000 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
