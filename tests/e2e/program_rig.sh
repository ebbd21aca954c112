# Shared pieces of the end-to-end checks that run the real program: sourced,
# not run. The caller sets "program" (the .exe) and "out" (a temporary
# folder it removes) before calling anything here, and "set -eu".
source "$(dirname "${BASH_SOURCE[0]}")/rig_basics.sh"
player=
recorder=

# Ends the tone and the program; the caller's EXIT trap calls it.
stop_rig() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    recorder= player=
}

# write_settings FILE DIRECTORY [RATE CHANNELS [TYPE]]: 16-bit PCM (44100 Hz
# mono unless given), named files e2e.wav in DIRECTORY (a Windows path), no
# voice activation, no tray icon (so closing the window ends the program).
# TYPE 3 records Ogg Vorbis files (e2e.ogg) instead.
write_settings() {
    local rate=${3:-44100} channels=${4:-1} type=${5:-0}
    local align=$((2 * channels))
    hex() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
    local format="0100$(printf '%02x00' "$channels")$(hex "$rate")$(hex $((rate * align)))$(printf '%02x00' "$align")10000000"
    {
        cat <<SETTINGS
[Wave]
SampleRate=$rate
Resolution=1
Stereo=$((channels - 1))
WaveFormat=$format
[Mp3]
DefaultAudioFormat=$type
SETTINGS
        session_settings e2e "$2"
    } >"$1"
}

# start_recording SETTINGS.ini FILE: the program with /L; returns once FILE
# exists (recording started) and sets created_ms to its creation time.
start_recording() {
    "$tools/wine-run" "$program" /I "$(winpath "$1")" /L &
    recorder=$!
    for _ in $(seq 600); do [ -e "$2" ] && break; sleep 0.05; done
    [ -e "$2" ] || { echo "no recording started: $2 missing"; ls -l "$(dirname "$2")"; exit 1; }
    created_ms=$(now_ms)
    local birth
    birth=$(stat -c %W "$2")
    if [ "$birth" != 0 ] && [ "$birth" != - ]; then created_ms=$(stat -c %.3W "$2" | tr -d .); fi
}

# The Windows process of the program: wine-run's child, the Wine loader that
# became the program.
program_pid() { pgrep -P "$recorder" | head -1; }

# stop_from_second_copy FILE: /F /T, then waits until FILE stops growing.
stop_from_second_copy() {
    "$tools/wine-run" "$program" /F /T
    wait_until_settled "$1" || { echo "still recording after /F /T"; exit 1; }
}
# wait_until_settled FILE: true once its size holds for 0.3 s (12 s at most);
# a file that is not there has not settled.
wait_until_settled() {
    local last= size
    for _ in $(seq 40); do
        size=$(stat -c %s "$1" 2>/dev/null) || size=missing
        [ "$size" != missing ] && [ "$size" = "$last" ] && return 0
        last=$size; sleep 0.3
    done
    return 1
}

# close_program: WM_CLOSE to the window; the program must end cleanly.
close_program() {
    "$tools/wine-run" taskkill /im "$(basename "$program")" >/dev/null
    for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$recorder" 2>/dev/null; then echo "the program did not end on close"; exit 1; fi
    wait "$recorder" || { echo "the program ended with an error"; exit 1; }
    recorder=
}

# read_left_file READER.exe FILE: FILE seen through the program's audio-file
# classes (hostile_tests' HostileLeftFile.LeftFile); sets info to the one
# "left file:" line it prints. The reader's own status decides: one that
# fails (a crash after its line, a file that does not open) fails here too,
# with what it printed.
read_left_file() {
    local report
    report=$(LARKSPUR_LEFT_FILE="$(winpath "$2")" "$tools/wine-run" "$1" --gtest_filter=HostileLeftFile.LeftFile) \
        || { echo "the reader of $2 failed (status $?):"; tr -d '\r' <<<"$report"; return 1; }
    info=$(tr -d '\r' <<<"$report" | grep '^left file:' || true)
    [ -n "$info" ] && [ "$(wc -l <<<"$info")" = 1 ] \
        || { echo "the reader of $2 printed no single report line:"; tr -d '\r' <<<"$report"; return 1; }
}

# tone_frequency FILE: sox's rough frequency of the file's audio.
tone_frequency() { sox "$1" -n remix 1 stat 2>&1 | awk '/Rough   frequency/ {print $3}'; }
