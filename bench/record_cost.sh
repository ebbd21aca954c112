#!/usr/bin/env bash
# What recording and playing cost: the real program under Wine records the
# virtual sound card's monitor (a 1 kHz tone, tools/sound-rig) in each format,
# and the same run measures the baselines: a bare winmm capture loop on the
# same Wine (bench/wine/BareCapture.cpp) and the reference encoders (oggenc,
# speexenc, lame, sox for IMA ADPCM) on the same audio. Per format it prints
# CPU seconds per minute of audio of the program and of its wineserver (from
# /proc/PID/stat), resident memory at the start and the end (and the growth
# per hour), bytes written per minute, the buffers the program logged as
# lost, and the ratios program / baseline. Playback: the program plays the
# PCM recording at speed 1.0 and 1.5 against a bare winmm playback loop
# (bench/wine/BarePlayback.cpp) and paplay playing it natively.
#
# Uses the sound card: run it under the shared lock, never as a test.
#   flock -o /tmp/sound-rig.lock bench/record_cost.sh [BUILD] [SECONDS] [FORMATS]
# BUILD defaults to build/x86_64; SECONDS (25) is the measured time of each
# recording; FORMATS is a list of wav cd adpcm mp3 ogg spx play (all but cd by
# default; cd is PCM WAV at 44100 Hz stereo).
# BENCH_BEFORE=DIR/larkspurpro.exe, another build of the program (the code
# before a change), records each PCM kind again in the same run ("wav-old",
# "cd-old", right before the new one) and prints the new against the old:
# CPU, the file's growth and what the process handed the system to write
# (bytes and write calls, from /proc/PID/io; they include Wine's own traffic
# to the wineserver and the sound server).
# One hour: bench/record_cost.sh build/x86_64 3600 "wav ogg": memory is then
# sampled every 10 minutes and the growth per hour is measured, not guessed
# (the bare loop runs an hour too, unless BENCH_BARE_SECONDS says less: up to
# three hours in all; not for a shared rig).
# BENCH_PERF=/tmp/prof also records a perf profile of each recording.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
seconds=${2:-25}
formats=${3:-wav adpcm mp3 ogg spx play}
# The bare loop's figures are per minute: a long run may measure it for less.
bare_seconds=${BENCH_BARE_SECONDS:-$seconds}
program=$build/larkspurpro.exe
cmake --build "$build" -j4 --target larkspurpro bare_capture bare_playback post_command >/dev/null
bare=$build/bench/wine/bare_capture.exe
bare_play=$build/bench/wine/bare_playback.exe
post=$build/tests/e2e/play/post_command.exe
source "$root/tests/e2e/program_lib.sh"  # $out, $tools, settings, tone, close_program
export WINEPREFIX=$build/wineprefix
hz=$(getconf CLK_TCK)
log_file="$WINEPREFIX/drive_c/ProgramData/Larkspur-PRO/Larkspur-PRO.log"

# The process named $1 (its first 15 characters) running in our prefix.
pid_of() {
    local p
    for p in $(pgrep -x "${1:0:15}"); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return 0; }
    done
    return 1
}
wineserver_pid() { pid_of wineserver64 || pid_of wineserver; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # user + system
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
# CPU ticks of the threads of $1 that are Wine's PulseAudio driver: what
# the platform spends on the sound, whoever records.
audio_ticks() { cat /proc/"$1"/task/*/stat 2>/dev/null | awk '$2 ~ /^\(winepulse/ { s += $14 + $15 } END { print s + 0 }'; }
# One sample of program $1 (and the wineserver):
# "time_ms ticks ws_ticks audio_ticks rss_kb".
sample() { echo "$(now_ms) $(cpu_ticks "$1") $(cpu_ticks "$(wineserver_pid)") $(audio_ticks "$1") $(rss_kb "$1")"; }
# What process $1 has handed the system to write: "bytes write_calls".
io_sample() { awk '$1 == "wchar:" {b = $2} $1 == "syscw:" {c = $2} END {print b, c}' "/proc/$1/io"; }
# The process's own share (all but Wine's sound threads) from two samples:
# "kind own_s/min audio_s/min".
own_share() {
    read -r t0 c0 _ a0 _ <<<"$2"
    read -r t1 c1 _ a1 _ <<<"$3"
    awk -v k="$1" -v m="$(((t1 - t0)))" -v c="$((c1 - c0))" -v a="$((a1 - a0))" -v hz="$hz" \
        'BEGIN { m /= 60000; printf "%s %.3f %.3f", k, (c - a) / hz / m, a / hz / m }'
}
shares=()
# Waits $1 seconds, sampling the resident memory of $2 every 10 minutes;
# prints the largest.
wait_sampling() {
    local left=$1 peak=0 r
    while [ "$left" -gt 0 ]; do
        local step=$((left < 600 ? left : 600))
        sleep "$step"; left=$((left - step))
        r=$(rss_kb "$2"); [ "$r" -gt "$peak" ] && peak=$r
    done
    echo "$peak"
}
# CPU seconds (user + system) of one command run here.
child_cpu() { /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -1 | awk '{printf "%.3f", $1 + $2}'; }
per_min() { awk -v v="$1" -v s="$2" 'BEGIN { printf "%.3f", v * 60 / s }'; }

# Measures from $2 (the first sample) to $3 (the last) of process kind $1
# that wrote $4 bytes meanwhile ("-": none); prints "kind cpu_s/min ws_s/min
# rss_start_MB rss_end_MB growth_MB/h bytes/min".
figures() {
    read -r t0 c0 w0 _ r0 <<<"$2"
    read -r t1 c1 w1 _ r1 <<<"$3"
    awk -v k="$1" -v t="$((t1 - t0))" -v c="$((c1 - c0))" -v w="$((w1 - w0))" -v r0="$r0" -v r1="$r1" -v hz="$hz" -v b="$4" 'BEGIN {
        m = t / 60000; printf "%s %.3f %.3f %.1f %.1f %.1f %s", k, c / hz / m, w / hz / m, r0 / 1024, r1 / 1024,
            (r1 - r0) / 1024 * 3600000 / t, b == "-" ? "-" : sprintf("%d", b / m) }'
}

# The settings for each kind: the lab's 44100 Hz mono PCM, with the default
# format chosen; adpcm replaces the wave format by IMA ADPCM (1024-byte blocks
# of 2041 samples, as the codec proposes it for 44100 Hz mono).
settings_for() {
    write_recording_settings bench "$(case $1 in mp3) echo 1;; ogg) echo 3;; spx) echo 4;; *) echo 0;; esac)"
    [ "$1" = adpcm ] && sed -i 's/^WaveFormat=.*/WaveFormat=1100010044ac00006d560000000404000200f907\nACMDriver=IMA ADPCM\nACMFormatTag=17/' "$out/settings.ini"
    [ "$1" = cd ] && sed -i 's/^Stereo=0$/Stereo=1/; s/^WaveFormat=.*/WaveFormat=0100020044ac000010b10200040010000000/' "$out/settings.ini"
    return 0
}

results=()
kinds=()  # what each recording's file holds, as file(1) sees it
writes=()  # "label bytes/min calls/min" handed to the system for writing
# record_one KIND [PROGRAM LABEL]: one recording of KIND by PROGRAM (the
# program built here), shown as LABEL (KIND).
record_one() {
    local kind=$1 ext=$1 program=${2:-$program} label=${3:-$1}
    case $kind in adpcm|cd) ext=wav ;; esac
    settings_for "$kind"
    local file="$out/bench.$ext"
    rm -f "$file" "$log_file"
    start_tone $((seconds + 20))
    "$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" /L &
    recorder=$!
    wait_for_file "$file" || { echo "$kind: no recording started"; exit 1; }
    sleep 3  # past Wine's capture start latency
    local pid first last size0 size1 peak
    pid=$(pid_of larkspurpro.exe)
    first=$(sample "$pid"); size0=$(stat -c %s "$file")
    local io0 io1; io0=$(io_sample "$pid")
    # A profile of where the program's time goes (its own figures then
    # include perf's share): perf report -i FILE.KIND --sort dso
    [ -n "${BENCH_PERF:-}" ] && perf record -q -F 499 -g -p "$pid" -o "$BENCH_PERF.$kind" -- sleep "$seconds" >/dev/null 2>&1 &
    peak=$(wait_sampling "$seconds" "$pid")
    last=$(sample "$pid"); size1=$(stat -c %s "$file")
    io1=$(io_sample "$pid")
    "$tools/wine-run" "$program" /F /T
    wait_settled "$file" || true
    close_program "$program"
    kill_tree "$player"; player=
    local tally lost
    tally=$(grep -a "Capture buffers" "$log_file" 2>/dev/null | tail -1 || true)
    lost=$(sed -n 's/.* \([0-9]*\) lost; device without buffers \([0-9]*\) times.*/\1+\2/p' <<<"$tally")
    [ "$peak" -gt "${last##* }" ] && last="${last% *} $peak"
    results+=("$(figures "$label" "$first" "$last" $((size1 - size0))) ${lost:-?}")
    shares+=("$(own_share "$label" "$first" "$last")")
    read -r b0 c0 <<<"$io0"; read -r b1 c1 <<<"$io1"
    writes+=("$label $(per_min $((b1 - b0)) "$seconds") $(per_min $((c1 - c0)) "$seconds")")
    cp "$file" "$out/kept-$label.$ext"
    kinds+=("$label: $(file -b "$file" | cut -c1-90)")
}

bare_one() {
    local seconds=$bare_seconds
    "$tools/sound-rig" start
    start_tone $((seconds + 20))
    "$tools/wine-run" "$bare" "Monitor of Null Output" $((seconds + 5)) "$(winpath "$out/bare.raw")" >/dev/null &
    recorder=$!
    local pid first last
    for _ in $(seq 100); do pid=$(pid_of bare_capture.exe) && break; sleep 0.1; done
    wait_for_file "$out/bare.raw" || { echo "bare loop: no capture file" >&2; exit 1; }
    sleep 3
    first=$(sample "$pid"); local size0; size0=$(stat -c %s "$out/bare.raw")
    sleep "$seconds"
    last=$(sample "$pid"); local size1; size1=$(stat -c %s "$out/bare.raw")
    wait "$recorder" || true; recorder=
    kill_tree "$player"; player=
    results+=("$(figures bare "$first" "$last" $((size1 - size0))) -")
    shares+=("$(own_share bare "$first" "$last")")
}

# Reference encoders on the same audio as the sound card plays.
reference() {
    sox -q -n -r 44100 -c 1 -b 16 "$out/tone.wav" synth "$seconds" sine 1000 vol 0.5
    sox -q "$out/tone.wav" -r 32000 "$out/tone32.wav"
    ref_ogg=$(per_min "$(child_cpu oggenc -Q -q 4 -o "$out/ref.ogg" "$out/tone.wav")" "$seconds")
    ref_spx=$(per_min "$(child_cpu speexenc -u --quality 8 "$out/tone32.wav" "$out/ref.spx")" "$seconds")
    # lame at the program's MP3 rate and bit rate.
    local mp3_rate=16000 mp3_kbps=32
    [ -f "$out/kept-mp3.mp3" ] && IFS=, read -r mp3_rate mp3_kbps < <(ffprobe -v error -select_streams a:0 \
        -show_entries stream=sample_rate,bit_rate -of csv=p=0 "$out/kept-mp3.mp3" | awk -F, '{ print $1 "," int($2 / 1000) }')
    sox -q "$out/tone.wav" -r "$mp3_rate" "$out/tone-mp3.wav"
    ref_mp3=$(per_min "$(child_cpu lame --quiet -m m -b "$mp3_kbps" "$out/tone-mp3.wav" "$out/ref.mp3")" "$seconds")
    ref_adpcm=$(per_min "$(child_cpu sox "$out/tone.wav" -e ima-adpcm "$out/ref-adpcm.wav")" "$seconds")
    ref_wav=0
}

# Playback: the program plays the PCM recording at 1.0 (/P) and at 1.5 (the
# speed commands, as the menu sends them); paplay plays it natively.
play_one() {
    local name=$1 file=$out/kept-wav.wav pid first last
    shift
    local speed=
    [ "$1" = post ] && { speed=1; shift; }
    "$tools/wine-run" "$program" /I "$(winpath "$out/settings.ini")" "$@" &
    recorder=$!
    [ -n "$speed" ] && "$tools/wine-run" "$post" Larkspur-PRO 25212 25212 25212 25212 25212 25210
    for _ in $(seq 100); do pid=$(pid_of larkspurpro.exe) && break; sleep 0.1; done
    sleep 1
    first=$(sample "$pid")
    # Until the tone's end: the file's length at this speed, less the second waited.
    local length; length=$(soxi -D "$file")
    sleep "$(awk -v l="$length" -v s="${speed:+1.5}" 'BEGIN { if (s == "") s = 1; printf "%.1f", l / s - 2 }')"
    last=$(sample "$pid")
    close_program "$program"
    # Per minute of the file's audio: at 1.5 a minute of it plays in 40 s.
    results+=("$(figures "$name" "$first" "$last" - | awk -v s="${speed:+1.5}" '{
        if (s != "") { $2 = sprintf("%.3f", $2 / s); $3 = sprintf("%.3f", $3 / s) } print }') -")
}
bare_play_one() {
    local pid first last
    "$tools/wine-run" "$bare_play" "$(winpath "$out/kept-wav.wav")" &
    recorder=$!
    for _ in $(seq 100); do pid=$(pid_of bare_playback.exe) && break; sleep 0.1; done
    sleep 1
    first=$(sample "$pid")
    sleep "$(awk -v l="$(soxi -D "$out/kept-wav.wav")" 'BEGIN { printf "%.1f", l - 2 }')"
    last=$(sample "$pid")
    wait "$recorder" || true; recorder=
    results+=("$(figures bareplay "$first" "$last" -) -")
}
paplay_one() {
    local c
    c=$(child_cpu paplay --device=null "$out/kept-wav.wav")
    results+=("paplay $(per_min "$c" "$(soxi -D "$out/kept-wav.wav")") - - - - - -")
}

"$tools/sound-rig" start
"$tools/wine-run" cmd /c exit >/dev/null 2>&1 || true  # the prefix's services up before measuring
bare_one
for kind in $formats; do
    case $kind in
    wav|cd) [ -n "${BENCH_BEFORE:-}" ] && record_one "$kind" "$BENCH_BEFORE" "$kind-old"
        record_one "$kind" ;;
    adpcm|mp3|ogg|spx) record_one "$kind" ;;
    esac
done
reference
case " $formats " in
*" play "*)
    [ -f "$out/kept-wav.wav" ] || record_one wav
    settings_for wav
    play_one play1.0 /P "$(winpath "$out/kept-wav.wav")"
    play_one play1.5 post "$(winpath "$out/kept-wav.wav")"
    bare_play_one
    paplay_one ;;
esac

echo "Recording ${seconds} s per format at 44100 Hz mono 16-bit (Speex 32000 Hz), $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"
printf '%-8s %9s %9s %8s %8s %9s %10s %6s %9s %7s %7s\n' what cpu/min ws/min rss0_MB rss1_MB MB/hour bytes/min lost ref/min ratio ratio+ws
bare_cpu= bare_ws= bare_play_cpu= bare_play_ws=
# The bare loops first, so every ratio has its baseline.
for r in "${results[@]}"; do set -- $r; case $1 in bare) bare_cpu=$2 bare_ws=$3 ;; bareplay) bare_play_cpu=$2 bare_play_ws=$3 ;; esac; done
for r in "${results[@]}"; do
    set -- $r
    ref=0
    case $1 in
    wav|adpcm|mp3|ogg|spx) eval "ref=\${ref_$1:-0}" ;;
    wav-old|cd|cd-old) ref=0 ;;
    esac
    # ratio: the program's CPU against the bare loop's plus the reference
    # encoder's; ratio+ws: the same with both wineservers' CPU added.
    case $1 in
    bare|bareplay|paplay) printf '%-8s %9s %9s %8s %8s %9s %10s %6s\n' "$@" ;;
    # Playback: the program against the bare loop on Wine (ratio+ws: with
    # both wineservers); paplay, native, shows what Wine itself costs.
    play*) printf '%-8s %9s %9s %8s %8s %9s %10s %6s %9s %7s %7s\n' "$@" "-" \
        "$(awk -v a="$2" -v b="$bare_play_cpu" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" \
        "$(awk -v a="$2" -v w="$3" -v b="$bare_play_cpu" -v bw="$bare_play_ws" 'BEGIN { if (b + bw > 0) printf "%.2f", (a + w) / (b + bw); else print "-" }')" ;;
    *) printf '%-8s %9s %9s %8s %8s %9s %10s %6s %9s %7s %7s\n' "$@" "$ref" \
        "$(awk -v a="$2" -v b="$bare_cpu" -v r="$ref" 'BEGIN { printf "%.2f", a / (b + r) }')" \
        "$(awk -v a="$2" -v w="$3" -v b="$bare_cpu" -v bw="$bare_ws" -v r="$ref" 'BEGIN { printf "%.2f", (a + w) / (b + bw + r) }')" ;;
    esac
done
# Where the time goes: Wine's sound threads against the rest, which is the
# program's own work (and the bare loop's) with the rest of Wine's.
echo
printf '%-8s %9s %11s %7s\n' what own/min winesound/min ratio
own_bare=
for r in "${shares[@]}"; do set -- $r; [ "$1" = bare ] && own_bare=$2; done
for r in "${shares[@]}"; do
    set -- $r
    printf '%-8s %9s %11s %7s\n' "$@" "$(awk -v a="$2" -v b="$own_bare" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
done
printf '%s\n' "${kinds[@]}"
# What each recording handed the system to write, and the new code against
# the old where both ran.
echo
printf '%-8s %12s %11s\n' what wbytes/min wcalls/min
for w in "${writes[@]}"; do printf '%-8s %12s %11s\n' $w; done
field_of() {  # field_of LABEL COLUMN ARRAY...: column of the row LABEL
    local label=$1 column=$2 row; shift 2
    for row in "$@"; do set -- $row; [ "$1" = "$label" ] && { eval "echo \${$column}"; return; }; done
}
for kind in wav cd; do
    [ -n "$(field_of "$kind-old" 1 "${results[@]}")" ] && [ -n "$(field_of "$kind" 1 "${results[@]}")" ] || continue
    awk -v k="$kind" -v c="$(field_of "$kind" 2 "${results[@]}")" -v co="$(field_of "$kind-old" 2 "${results[@]}")" \
        -v w="$(field_of "$kind" 3 "${results[@]}")" -v wo="$(field_of "$kind-old" 3 "${results[@]}")" \
        -v g="$(field_of "$kind" 7 "${results[@]}")" -v go="$(field_of "$kind-old" 7 "${results[@]}")" \
        -v b="$(field_of "$kind" 2 "${writes[@]}")" -v bo="$(field_of "$kind-old" 2 "${writes[@]}")" \
        -v n="$(field_of "$kind" 3 "${writes[@]}")" -v no="$(field_of "$kind-old" 3 "${writes[@]}")" '
        function ratio(a, b) { return b > 0 ? sprintf("%.3f", a / b) : "-" }
        BEGIN { printf "%s new/old: cpu %s, cpu+ws %s, file growth %s, bytes written %s, write calls %s\n",
            k, ratio(c, co), ratio(c + w, co + wo), ratio(g, go), ratio(b, bo), ratio(n, no) }'
done
