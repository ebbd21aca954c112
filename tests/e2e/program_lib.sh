# Shared pieces of the checks that run the real program: sourced, not run.
# Sets $out (a temporary folder), $tools, and cleans up on exit whatever was
# started into $player and $recorder.
source "$(dirname "${BASH_SOURCE[0]}")/rig_basics.sh"
out=$(mktemp -d)
player=
recorder=
cleanup() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    rm -rf "$out"
}
trap cleanup EXIT

# Settings in $out/settings.ini for files named from the prefix $1 in $out, of
# the default type $2 (WAV when not given): see recording_settings.
write_recording_settings() {
    recording_settings "$1" "${2:-0}" "$out" >"$out/settings.ini"
}

# The ms of WAV file $1 up to its last sound (above -40 dB).
sounding_ms() {
    sox "$1" "$out/sounding.wav" reverse silence 1 0.002 -40d reverse
    soxi -D "$out/sounding.wav" | awk '{printf "%.0f", $1 * 1000}'
}

# Waits until file $1 exists (at most 30 s).
wait_for_file() {
    for _ in $(seq 600); do [ -e "$1" ] && return 0; sleep 0.05; done
    return 1
}

# Waits until the size of file $1 stops changing (the recording stopped);
# a file that is not there has not settled.
wait_settled() {
    local last= size
    for _ in $(seq 40); do
        size=$(stat -c %s "$1" 2>/dev/null) || size=missing
        [ "$size" != missing ] && [ "$size" = "$last" ] && return 0
        last=$size; sleep 0.3
    done
    return 1
}

# Closes the program (WM_CLOSE, as the close box sends) and checks it ended well.
close_program() {
    "$tools/wine-run" taskkill /im "$(basename "$1")" >/dev/null
    for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$recorder" 2>/dev/null; then echo "the program did not end on close"; return 1; fi
    wait "$recorder" || { echo "the program ended with an error"; return 1; }
    recorder=
}

# Whether WAV file $1 is 44100 Hz 16-bit mono PCM.
check_pcm_format() {
    [ "$(soxi -t "$1")" = wav ] && [ "$(soxi -r "$1")" = 44100 ] && [ "$(soxi -c "$1")" = 1 ] \
        && [ "$(soxi -b "$1")" = 16 ] && [ "$(soxi -e "$1")" = "Signed Integer PCM" ] \
        || { echo "wrong format:"; soxi "$1"; return 1; }
}

# The rough frequency of the audio in file $1.
rough_frequency() { sox "$1" -n stat 2>&1 | awk '/Rough   frequency/ {print $3}'; }

# off_tone FILE [SOX INPUT OPTIONS...]: how many 20 ms windows of the audio
# are not the 1 kHz tone (quiet, or of a rough frequency off by more than a
# third), with the times of the first few: where a recording's tone is
# broken, and what by.
off_tone() {
    local file=$1
    shift
    sox "$@" "$file" -t dat - 2>/dev/null | awk '
        /^;/ { if ($2 == "Sample" && $3 == "Rate") rate = $4; next }
        { if (n == 0) { size = int(rate / 50); prev = $2 }
          x = $2; s2 += x * x; d2 += (x - prev) * (x - prev); prev = x
          if (++n % size) next
          f = s2 > 0 ? sqrt(d2 / s2) * rate / 6.2832 : 0
          if (s2 / size < 1e-4) { what = "quiet"; ++quiet }
          else if (f < 667 || f > 1333) what = sprintf("%.0f Hz", f)
          else what = ""
          if (what != "" && ++off <= 6) list = list sprintf(" %d ms (%s)", (n - size) * 1000 / rate, what)
          s2 = d2 = 0; ++windows }
        END { printf "%d of %d windows off the tone, %d of them quiet%s\n", off, windows, quiet, off ? ":" list : "" }'
}
