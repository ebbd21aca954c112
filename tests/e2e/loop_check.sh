#!/usr/bin/env bash
# The tone sequence of the looping-file check and the judgement of what the
# program made of it.
#   loop_check.sh tones OUT.wav
#     16 tones of 2 s each, 300 Hz to 2409 Hz, 44100 Hz 16-bit mono, half
#     scale. Every tone holds whole cycles, so the sequence has no jump in
#     sample value where one tone gives way to the next.
#   loop_check.sh check FILE.wav LIMIT_BYTES NEWEST_LOW NEWEST_HIGH [SEAM_FROM SEAM_TO]
#     Passes when FILE is 44100 Hz 16-bit mono PCM whose data lies within two
#     capture buffers (200 ms each) of LIMIT_BYTES, and whose 100 ms windows
#     name, oldest first, consecutive tones of the sequence ending with one
#     of the tones NEWEST_LOW..NEWEST_HIGH (0 is the first tone): each inner
#     tone lasts its 2 s, no tone comes back, no stretch of silence or mixed
#     sound beyond a tone change, and no sample jumps away from the sine its
#     neighbours follow (a click where two pieces of audio were joined)
#     between SEAM_FROM and SEAM_TO seconds (where the laps meet; the whole
#     file when not given; nowhere with "none"). Exits 3 when such a click
#     is the only fault.
set -eu
frequencies=(300 345 396 455 523 601 690 793 911 1047 1203 1382 1588 1825 2097 2409)
tone_seconds=2
rate=44100
buffer_bytes=$((rate * 2 / 5))  # 200 ms of 16-bit mono
click_limit=0.03                # of full scale; a tone change gives at most 0.01

make_tones() {
    local dir parts=() i
    dir=$(mktemp -d)
    for i in "${!frequencies[@]}"; do
        parts+=("$dir/$i.wav")
        sox -D -n -r $rate -c 1 -b 16 "$dir/$i.wav" synth $tone_seconds sine "${frequencies[$i]}" vol 0.5
    done
    sox -D "${parts[@]}" "$1"
    rm -rf "$dir"
}

# One line per 100 ms window: the index of the tone holding at least 60% of
# its power, "-" for silence, "?" for anything else (a tone change).
classify_windows() {
    sox -D "$1" -r 8000 -t dat - | awk -v list="${frequencies[*]}" '
        BEGIN { n = split(list, f, " "); for (k = 1; k <= n; k++) c[k] = 2 * cos(2 * 3.14159265358979 * f[k] / 8000) }
        function judge(   k, p, best, bestk) {
            best = 0
            for (k = 1; k <= n; k++) {
                p = s1[k] * s1[k] + s2[k] * s2[k] - c[k] * s1[k] * s2[k]
                if (p > best) { best = p; bestk = k }
            }
            # A sine of amplitude a gives p = (a * N / 2)^2 and a mean square a^2 / 2.
            if (sq / count < 0.0025) print "-"
            else if (2 * best / (count * count) >= 0.6 * sq / count) print bestk - 1
            else print "?"
            for (k = 1; k <= n; k++) s1[k] = s2[k] = 0
            sq = count = 0
        }
        /^;/ { next }
        {
            x = $2; sq += x * x; count++
            for (k = 1; k <= n; k++) { s = x + c[k] * s1[k] - s2[k]; s2[k] = s1[k]; s1[k] = s }
            if (count == 800) judge()
        }
        END { if (count >= 400) judge() }'
}

# The runs of equal windows: "CLASS FIRST_WINDOW WINDOWS" per line. A tone
# split by a window or two of neither tone (Wine's capture sometimes drops
# 10-50 ms) is one run.
runs_of() {
    awk '{ cls[NR] = $1; first[NR] = $2; len[NR] = $3 }
        END {
            for (i = 1; i <= NR; i++) {
                tone = cls[i] ~ /^[0-9]+$/
                if (tone && m >= 2 && out[m - 1] == cls[i] && out[m] == "?" && size[m] <= 2) {
                    size[m - 1] += size[m] + len[i]; m--; continue
                }
                out[++m] = cls[i]; from[m] = first[i]; size[m] = len[i]
            }
            for (i = 1; i <= m; i++) print out[i], from[i], size[i]
        }' < <(awk 'NR == 1 || $1 != last { if (NR > 1) print last, first, NR - 1 - first; last = $1; first = NR - 1 }
                    END { if (NR) print last, first, NR - first }')
}

# Each place where a sample departs from the sine through its two
# neighbours by more than the click limit, at the frequency of the tone of
# its window or of the windows beside it (tone changes): "SECONDS SIZE".
jumps() {
    local classes=$2
    sox -D "$1" -t dat - | awk -v list="${frequencies[*]}" -v rate=$rate -v classes="$classes" -v limit=$click_limit '
        BEGIN {
            n = split(list, f, " "); split(classes, cls, " ")
            for (k = 1; k <= n; k++) c[k - 1] = 2 * cos(2 * 3.14159265358979 * f[k] / rate)
            lastw = -1; lastat = -1000
        }
        function coefficients(w,   j, m) {
            m = 0
            for (j = w - 1; j <= w + 1; j++) if ((j + 1) in cls && cls[j + 1] ~ /^[0-9]+$/) cand[++m] = c[cls[j + 1]]
            if (!m) cand[++m] = 2
            return m
        }
        /^;/ { next }
        {
            x = $2
            if (i >= 2) {
                w = int((i - 1) / (rate / 10))
                if (w != lastw) { m = coefficients(w); lastw = w }
                best = 9
                for (j = 1; j <= m; j++) { r = x - cand[j] * x1 + x2; if (r < 0) r = -r; if (r < best) best = r }
                if (best > limit) {
                    if (i - lastat > 100) printf "%.3f %.3f\n", (i - 1) / rate, best
                    lastat = i
                }
            }
            x2 = x1; x1 = x; i++
        }'
}

check() {
    local wav=$1 limit=$2 low=$3 high=$4 seam_from=${5:-0} seam_to=${6:-1e9} data fail=0
    if [ "$(soxi -t "$wav")" != wav ] || [ "$(soxi -r "$wav")" != $rate ] || [ "$(soxi -c "$wav")" != 1 ] \
        || [ "$(soxi -b "$wav")" != 16 ] || [ "$(soxi -e "$wav")" != "Signed Integer PCM" ]; then
        echo "FAIL: wrong format:"; soxi "$wav"; return 1
    fi
    data=$(($(soxi -s "$wav") * 2))
    echo "data $data bytes (limit $limit, $(awk -v d="$data" 'BEGIN {printf "%.2f", d / 88200}') s), file $(stat -c %s "$wav") bytes"
    if [ "$data" -gt $((limit + 2 * buffer_bytes)) ]; then
        echo "FAIL: the file grew past its limit: $data bytes of data, at most $((limit + 2 * buffer_bytes)) allowed"
        fail=1
    elif [ "$data" -lt $((limit - 2 * buffer_bytes)) ]; then
        echo "FAIL: the file holds less than its limit: $data bytes of data, at least $((limit - 2 * buffer_bytes)) expected"
        fail=1
    fi

    local windows runs
    windows=$(classify_windows "$wav")
    runs=$(runs_of <<<"$windows")
    echo "tones, oldest first (index: seconds in the file):"
    awk '{ printf "  %s: %.1f-%.1f\n", $1, $2 / 10, ($2 + $3) / 10 }' <<<"$runs"
    local verdict
    verdict=$(awk -v low="$low" -v high="$high" -v full=$((tone_seconds * 10)) '
        function bad(text) { print "FAIL: " text; failed = 1 }
        { cls[NR] = $1; from[NR] = $2; len[NR] = $3; if ($1 ~ /^[0-9]+$/) { if (!first) first = NR; last = NR } }
        END {
            for (i = 1; i <= NR; i++) {
                at = sprintf("%.1f s", from[i] / 10)
                if (cls[i] !~ /^[0-9]+$/) {
                    # A tone change, or a capture drop, takes a window or two.
                    if (len[i] > 2 || (cls[i] == "-" && (i == 1 || i == NR)))
                        bad((cls[i] == "-" ? "silence" : "no single tone") " for " len[i] / 10 " s at " at)
                    continue
                }
                if (prev != "" && cls[i] <= prev) bad("tone " cls[i] " at " at " follows tone " prev ": audio of an earlier lap, out of time order")
                else if (prev != "" && cls[i] != prev + 1) bad("tone " cls[i] " at " at " follows tone " prev ": the tones between are missing")
                # The oldest and the newest tone may be cut short; any may lose
                # a window to each change and some sound to capture drops.
                if (len[i] > full + 2 || (i != first && i != last && len[i] < full - 4))
                    bad("tone " cls[i] " at " at " lasts " len[i] / 10 " s, not " full / 10 " s")
                prev = cls[i]; tones++
            }
            if (prev == "") bad("no tone of the sequence in the file")
            else if (prev < low || prev > high) bad("the newest tone is " prev ", not " (low == high ? low : low "-" high) " (the one playing at the stop)")
            if (tones < 4) bad("only " tones " tones: a limit of about 12 s holds 6")
            exit failed
        }' <<<"$runs") || fail=1
    [ -z "$verdict" ] || echo "$verdict"

    # Where the laps meet the audio must run on; elsewhere a jump is Wine's
    # capture dropping some sound, which is shown but not judged.
    local at size
    while read -r at size; do
        if [ "$seam_from" != none ] && awk -v t="$at" -v a="$seam_from" -v b="$seam_to" 'BEGIN {exit !(t >= a && t <= b)}'; then
            echo "FAIL: a click at $at s, where the laps meet: a sample $size of full scale off the tone"
            [ "$fail" = 1 ] || fail=3
        else
            echo "a jump of $size of full scale at $at s, away from where the laps meet ($seam_from-$seam_to s): capture"
        fi
    done < <(jumps "$wav" "$(tr '\n' ' ' <<<"$windows")")
    return $fail
}

case ${1:-} in
tones) make_tones "$2" ;;
check) shift; check "$@" ;;
*) echo "usage: loop_check.sh tones OUT.wav | check FILE.wav LIMIT_BYTES NEWEST_LOW NEWEST_HIGH [SEAM_FROM SEAM_TO]" >&2; exit 2 ;;
esac
