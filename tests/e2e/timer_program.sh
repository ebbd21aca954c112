#!/usr/bin/env bash
# A scheduled recording in the real program: the Timer page (driven by the
# probe's sent messages) makes an event from the next whole minute to the
# one after and saves it into the settings file; "larkspurpro /I settings"
# runs without /L while a 1 kHz tone plays. Passes when the event's own file
# appears in the start minute, stops growing in the stop minute, and holds
# about one minute of the tone.
#   timer_program.sh PROGRAM.exe TIMER_PROBE.exe
set -eu
program=$1
probe=$2
source "$(dirname "$0")/program_lib.sh"
write_recording_settings e2e

# The start is the next minute, or the one after when fewer than 25 s
# remain (the program needs a few seconds to come up).
now=$(date +%s)
start=$(( (now / 60 + 1) * 60 ))
[ $((start - now)) -lt 25 ] && start=$((start + 60))
stop=$((start + 60))
start_text=$(date -d "@$start" +%H:%M)
stop_text=$(date -d "@$stop" +%H:%M)
"$tools/wine-run" "$probe" "$(winpath "$out/settings.ini")" "$start_text" "$stop_text" evt
grep -q "^Event0=127 " "$out/settings.ini" || { echo "no event saved:"; cat "$out/settings.ini"; exit 1; }

start_tone $((stop - $(date +%s) + 20))
"$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" &
recorder=$!

wav=
while [ "$(date +%s)" -lt $((start + 20)) ]; do
    wav=$(ls "$out"/evt*.wav 2>/dev/null | head -1 || true)
    [ -n "$wav" ] && break
    sleep 0.2
done
[ -n "$wav" ] || { echo "no recording started by $start_text"; ls -l "$out"; exit 1; }
began=$(date +%s)
[ "$began" -ge "$start" ] || { echo "recording began before $start_text"; exit 1; }

while [ "$(date +%s)" -lt "$stop" ]; do sleep 1; done
sleep 4  # the schedule is polled every two seconds
wait_settled "$wav" || { echo "still recording after $stop_text"; exit 1; }
stopped=$(stat -c %Y "$wav")
close_program "$program"

check_pcm_format "$wav"
length=$(soxi -D "$wav" | awk '{printf "%.0f", $1}')
freq=$(rough_frequency "$wav")
echo "start $start_text stop $stop_text file $(basename "$wav") length_s $length frequency $freq stopped_after_s $((stopped - start))"
[ "$stopped" -ge "$stop" ] && [ "$stopped" -le $((stop + 5)) ] || { echo "stopped at the wrong time"; exit 1; }
awk -v l="$length" -v f="$freq" 'BEGIN { exit !(l >= 55 && l <= 63 && f > 950 && f < 1050) }' \
    || { echo "length or frequency out of range"; exit 1; }
