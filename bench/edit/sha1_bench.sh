#!/usr/bin/env bash
# The signature's SHA-1 against sha1sum on the same file in the same run:
# a 10-minute 44.1 kHz stereo WAV (106 MB), read once before so both hash
# from the page cache. Three interleaved rounds; the least time of each.
#   bench/edit/sha1_bench.sh [BUILD_DIR]   (default build/x86_64)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
cmake --build "$build" --target sha1_bench >/dev/null
dir=$(mktemp -d /tmp/larkspur-sha1.XXXXXX)
trap 'rm -rf "$dir"' EXIT
sox -n -r 44100 -c 2 -b 16 "$dir/take.wav" synth 600 whitenoise vol 0.3
cat "$dir/take.wav" >/dev/null
wav="Z:${dir//\//\\}\\take.wav"
min() { tr ' ' '\n' | grep . | sort -g | head -1; }
s=; o=; p=; b=
for _ in 1 2 3; do
    start=$(date +%s%N)
    reference=$(sha1sum "$dir/take.wav" | cut -d' ' -f1)
    s="$s $(( ($(date +%s%N) - start) / 1000000 ))"
    ours=$("$root/tools/wine-run" "$build/bench/edit/sha1_bench.exe" "$wav" | tr -d '\r')
    for engine in ours portable bcrypt; do
        digest=$(awk -v e=$engine '$1 == e {print $2}' <<<"$ours")
        [ "$digest" = "$reference" ] || { echo "$engine digest $digest differs from sha1sum $reference"; exit 1; }
    done
    o="$o $(awk '$1 == "ours" {print $3 * 1000}' <<<"$ours")"
    p="$p $(awk '$1 == "portable" {print $3 * 1000}' <<<"$ours")"
    b="$b $(awk '$1 == "bcrypt" {print $3 * 1000}' <<<"$ours")"
done
head -1 <<<"$ours"
bytes=$(stat -c %s "$dir/take.wav")
base=$(min <<<"$s")
for pair in "ours:$o" "portable:$p" "bcrypt:$b"; do
    t=$(min <<<"${pair#*:}")
    awk -v n="${pair%%:*}" -v t="$t" -v s="$base" -v bytes="$bytes" \
        'BEGIN { printf "%-9s %6.0f ms  sha1sum %4.0f ms  ratio %.2f  (%d bytes, digests equal)\n", n, t, s, t / s, bytes }'
done
