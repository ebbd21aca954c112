#!/usr/bin/env bash
# CPU seconds per minute of audio: this program's Vorbis (quality 4, 44.1 kHz
# stereo) and Speex (quality 8, complexity 3, 16 kHz mono) writers against
# oggenc and speexenc at the same settings on the same 60 s input, as ratios.
#   bench/ogg/ogg_encode.sh [BUILD_DIR]   (default build/x86_64)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
cmake --build "$build" --target ogg_encode_bench >/dev/null
dir=$(mktemp -d /tmp/larkspur-bench.XXXXXX)
trap 'rm -rf "$dir"' EXIT
# Speech-like input: tones swept over time with some noise.
sox -n -r 44100 -c 2 -b 16 "$dir/music.wav" synth 60 sine 200-2000 sine 300-900 synth 60 pinknoise mix vol 0.5
sox "$dir/music.wav" -r 16000 -c 1 "$dir/speech.wav"
child_cpu() {  # CPU seconds (user + system) of one command
    local TIMEFORMAT='%3U %3S' times
    times=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    awk '{printf "%.3f", $1 + $2}' <<<"$times"
}
min() { tr ' ' '\n' | sort -g | head -1; }
# Three interleaved rounds; the least time of each is the one least disturbed
# by whatever else the machine runs.
o=; s=; v=; x=
for _ in 1 2 3; do
    o="$o $(child_cpu oggenc -Q -q 4 -o "$dir/ref.ogg" "$dir/music.wav")"
    s="$s $(child_cpu speexenc --quality 8 --comp 3 "$dir/speech.wav" "$dir/ref.spx")"
    ours=$("$root/tools/wine-run" "$build/bench/ogg/ogg_encode_bench.exe" \
        "Z:${dir//\//\\}\\music.wav" "Z:${dir//\//\\}\\speech.wav" "Z:${dir//\//\\}")
    v="$v $(awk '/^vorbis/ {print $2}' <<<"$ours")"
    x="$x $(awk '/^speex/ {print $2}' <<<"$ours")"
done
oggenc_s=$(min <<<"${o# }"); speexenc_s=$(min <<<"${s# }")
vorbis_s=$(min <<<"${v# }"); speex_s=$(min <<<"${x# }")
awk -v a="$vorbis_s" -v b="$oggenc_s" 'BEGIN { printf "vorbis  ours %.3f s/min  oggenc %.3f s/min  ratio %.2f\n", a, b, a / b }'
awk -v a="$speex_s" -v b="$speexenc_s" 'BEGIN { printf "speex   ours %.3f s/min  speexenc %.3f s/min  ratio %.2f\n", a, b, a / b }'
