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
child_cpu() { python3 - "$@" <<'PY'
import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
r = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.3f" % (r.ru_utime + r.ru_stime))
PY
}
oggenc_s=$(child_cpu oggenc -Q -q 4 -o "$dir/ref.ogg" "$dir/music.wav")
speexenc_s=$(child_cpu speexenc --quality 8 --comp 3 "$dir/speech.wav" "$dir/ref.spx")
ours=$("$root/tools/wine-run" "$build/bench/ogg/ogg_encode_bench.exe" \
    "Z:${dir//\//\\}\\music.wav" "Z:${dir//\//\\}\\speech.wav" "Z:${dir//\//\\}")
vorbis_s=$(awk '/^vorbis/ {print $2}' <<<"$ours")
speex_s=$(awk '/^speex/ {print $2}' <<<"$ours")
awk -v a="$vorbis_s" -v b="$oggenc_s" 'BEGIN { printf "vorbis  ours %.3f s/min  oggenc %.3f s/min  ratio %.2f\n", a, b, a / b }'
awk -v a="$speex_s" -v b="$speexenc_s" 'BEGIN { printf "speex   ours %.3f s/min  speexenc %.3f s/min  ratio %.2f\n", a, b, a / b }'
