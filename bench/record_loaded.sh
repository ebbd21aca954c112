#!/usr/bin/env bash
# Recordings under load: the real program records a 1 kHz tone in each
# format at the same time (PCM WAV, MP3 through the LAME ACM driver in the
# prefix, Ogg Vorbis, Speex) while a busy loop runs per core. Each copy has a
# Wine prefix of its own (a copy of the build's; one prefix would let the
# second copy hand its command line to the first) and a PulseAudio server of
# its own with its own tone. After SECONDS each is stopped with "/F /T" and
# closed. Per format it prints whether the program was still running at the
# stop (else the end of its Wine log: the exception and winedbg's backtrace),
# the tone seconds in the decoded file, the longest gap in the tone, and the
# buffers the program logged as lost.
#
# Loads the whole machine: run it alone, once, never as a test.
#   bench/record_loaded.sh [BUILD] [SECONDS] [BUSY_LOOPS] [FORMATS]
# BUILD defaults to build/x86_64, SECONDS to 600, BUSY_LOOPS to the number of
# cores (at most 8), FORMATS to "wav mp3 ogg spx".
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
seconds=${2:-600}
busy=${3:-$(nproc)}
[ "$busy" -gt 8 ] && busy=8
formats=${4:-wav mp3 ogg spx}
program=$build/larkspurpro.exe
work=$(mktemp -d /tmp/larkspur-loaded.XXXXXX)
echo "work folder $work"
source "$root/tests/e2e/rig_basics.sh"  # $tools, winpath, recording_settings
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64
[ "$(cat "$build/wine-arch" 2>/dev/null)" = win32 ] && wine=/usr/lib/wine/wine wineserver=/usr/lib/wine/wineserver
pids=()

type_of() { case $1 in mp3) echo 1;; ogg) echo 3;; spx) echo 4;; *) echo 0;; esac; }

# run FORMAT ARGS...: the program in that format's prefix and sound server.
# winedbg stays enabled: a crash prints its backtrace into the log.
run() {
    local f=$1; shift
    WINEPREFIX=$work/$f/prefix WINEARCH=$(cat "$build/wine-arch" 2>/dev/null || echo win64) \
        WINELOADER=$wine WINESERVER=$wineserver XDG_RUNTIME_DIR=$work/$f/pulse \
        WINEDEBUG=err+all,fixme-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        DISPLAY=${DISPLAY:-:${LARKSPUR_DISPLAY:-91}} timeout -k 10 "${RUN_SECONDS:-60}" "$wine" "$@"
}
export -f run
export work build wine wineserver

settings() {
    recording_settings loaded "$(type_of "$1")" "$work/$1/out" >"$work/$1/settings.ini"
}

# The display and the build's prefix as wine-run sets them up.
"$tools/wine-run" cmd /c exit >/dev/null 2>&1
for f in $formats; do
    mkdir -p "$work/$f/out" "$work/$f/pulse"
    cp -a "$build/wineprefix" "$work/$f/prefix"
    settings "$f"
    XDG_RUNTIME_DIR=$work/$f/pulse "$tools/sound-rig" start
    (XDG_RUNTIME_DIR=$work/$f/pulse timeout $((seconds + 120)) "$tools/sound-rig" tone $((seconds + 90)) 1000 2>/dev/null) &
    pids+=($!)
done
sleep 2.5
for f in $formats; do
    (RUN_SECONDS=$((seconds + 300)) run "$f" "$program" /I "$(winpath "$work/$f/settings.ini")" /L \
        >"$work/$f/wine.log" 2>&1
     echo "exit $?" >"$work/$f/exit") &
    echo $! >"$work/$f/pid"
done
for _ in $(seq "$busy"); do
    timeout "$seconds" sh -c 'while :; do :; done' &
    pids+=($!)
done
start=$(date +%s)
echo "recording $formats for $seconds s beside $busy busy loops"
sleep "$seconds"

for f in $formats; do
    running=yes
    [ -e "$work/$f/exit" ] && running="no ($(cat "$work/$f/exit") after $(( $(stat -c %Y "$work/$f/exit") - start )) s)"
    echo "$f: running at the stop: $running"
    if [ "$running" = yes ]; then
        run "$f" "$program" /F /T >/dev/null 2>&1
    fi
done
sleep 5
for f in $formats; do
    [ -e "$work/$f/exit" ] && continue
    run "$f" taskkill /im larkspurpro.exe >/dev/null 2>&1
done
for f in $formats; do
    for _ in $(seq 300); do [ -e "$work/$f/exit" ] && break; sleep 0.2; done
done
for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
for f in $formats; do XDG_RUNTIME_DIR=$work/$f/pulse "$tools/sound-rig" stop; done

for f in $formats; do
    file=$(find "$work/$f/out" -name "loaded*.$f" | head -1)
    decoded=$work/$f/decoded.wav
    case $f in
        mp3) ffmpeg -v error -y -i "$file" "$decoded" ;;
        ogg) oggdec -Q -o "$decoded" "$file" ;;
        spx) speexdec "$file" "$decoded" 2>/dev/null ;;
        *) cp "$file" "$decoded" ;;
    esac
    # Tone seconds: 100 ms windows whose level is above a tenth of the tone's.
    sox "$decoded" -r 8000 -c 1 "$work/$f/8k.wav"
    python3 - "$work/$f/8k.wav" "$f" <<'EOF'
import sys, wave, array, math
w = wave.open(sys.argv[1]); rate = w.getframerate(); ch = w.getnchannels()
data = array.array('h', w.readframes(w.getnframes()))
if ch > 1: data = data[::ch]
win = rate // 10
levels = [math.sqrt(sum(x * x for x in data[i:i + win]) / win) for i in range(0, len(data) - win + 1, win)]
loud = [l > 1000 for l in levels]
gap = run = 0
first = loud.index(True) if True in loud else len(loud)
last = len(loud) - 1 - loud[::-1].index(True) if True in loud else -1
for l in loud[first:last + 1]:
    run = 0 if l else run + 1
    gap = max(gap, run)
print(f"{sys.argv[2]}: decoded {len(data) / rate:.1f} s, tone {sum(loud) / 10:.1f} s, longest gap in it {gap / 10:.1f} s")
EOF
    log=$work/$f/prefix/drive_c/ProgramData/Larkspur-PRO/Larkspur-PRO.log
    [ -f "$log" ] && grep "Capture buffers" "$log" | tail -1
    if grep -q "Unhandled\|Backtrace" "$work/$f/wine.log"; then
        echo "$f: the Wine log holds a crash:"; grep -A30 "Unhandled" "$work/$f/wine.log" | head -40
    fi
    cat "$work/$f/exit" 2>/dev/null
done
rm -rf "$work"/*/prefix
echo "files and logs in $work"
