#!/usr/bin/env bash
# An MP3 recording with the ID3v2 setting off (Mp3EnableTag=0) is saved like
# any other: the real program records a 1 kHz tone through the codec driver
# in the prefix into a temporary file (automatic naming with the category
# question), a comment sent with "/O" goes with it, "/F /T" stops; closing the
# window asks the category, the answer is OK, and the recording must then
# have its automatic name: no temporary file is left, the program ends
# cleanly, the file holds no ID3v2 tag, ffprobe reads it as MP3 and it decodes
# to the tone; the comment is in the journal beside it.
#   mp3_notag_program.sh PROGRAM.exe SHEET_DRIVER.exe
set -eu -o pipefail
program=$1
driver=$2
source "$(dirname "$0")/program_lib.sh"
write_recording_settings e2e 1
sed -i 's/^\[Mp3\]$/[Mp3]\nMp3EnableTag=0/; s/^AutoPrompt=0$/AutoPrompt=1/' "$out/settings.ini"
comment="e2e comment $$"
mp3s() { find "$out" -name '*.mp3'; }

start_tone 20
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
recorder=$!
for _ in $(seq 600); do [ -n "$(mp3s)" ] && break; sleep 0.05; done
temporary=$(mp3s)
[ -n "$temporary" ] || { echo "no recording started"; ls -l "$out"; exit 1; }
sleep 2
"$tools/wine-run" "$program" /O "$comment" || { echo "/O found no running copy"; exit 1; }
sleep 2
"$tools/wine-run" "$program" /F /T
wait_settled "$temporary" || { echo "still recording after /F /T"; exit 1; }

# Closing saves: the category question first.
"$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
answer=$("$tools/wine-run" "$driver" answer AutoPrompt) || { echo "no category question"; exit 1; }
echo "$answer" | tr -d '\r'
for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
kill -0 "$recorder" 2>/dev/null && { echo "the program did not end on close (a message about the save?)"; exit 1; }
wait "$recorder" || { echo "the program ended with an error"; exit 1; }
recorder=

named=$(mp3s)
echo "recorded into $(basename "$temporary"), saved as ${named#$out/}"
[ "$(echo "$named" | wc -l)" = 1 ] && [ -n "$named" ] && [ "$named" != "$temporary" ] \
    || { echo "the recording did not get its name:"; find "$out" -type f; exit 1; }
[ -e "$temporary" ] && { echo "the temporary file is left"; exit 1; }
[ "$(head -c 3 "$named")" != ID3 ] || { echo "an ID3v2 tag was written with tags off"; exit 1; }
journal="${named%.mp3}.~p3"
grep -aqF "$comment" "$journal" 2>/dev/null || { echo "the comment is not in the journal"; find "$out" -type f; exit 1; }
[ "$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$named")" = mp3 ] \
    || { echo "ffprobe does not read an MP3 stream:"; ffprobe "$named"; exit 1; }
ffmpeg -v error -i "$named" "$out/decoded.wav" || { echo "the file does not decode"; exit 1; }
freq=$(rough_frequency "$out/decoded.wav")
length_ms=$(soxi -D "$out/decoded.wav" | awk '{printf "%.0f", $1 * 1000}')
echo "length_ms $length_ms frequency $freq"
awk -v l="$length_ms" -v f="$freq" 'BEGIN { exit !(l > 1000 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
