# Shared pieces of the checks that run the real program: sourced, not run.
# Sets $out (a temporary folder), $tools, and cleans up on exit whatever was
# started into $player and $recorder.
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
out=$(mktemp -d)
player=
recorder=
# Ends a process started here and everything it started (the tone's
# sox | paplay, the program under wine-run), so none outlives the check.
kill_tree() {
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}
cleanup() {
    [ -n "$recorder" ] && kill_tree "$recorder"
    [ -n "$player" ] && kill_tree "$player"
    rm -rf "$out"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)}
winpath() { echo "Z:${1//\//\\}"; }
now_ms() { date +%s%3N; }

# Settings for recording the sound card's monitor: 44100 Hz, 16-bit, mono
# PCM; files named from the prefix $1 in $out, of the default type $2 (0 WAV,
# 1 MP3, 3 Ogg Vorbis, 4 Speex; WAV when not given); Vorbis at 44100 Hz and
# Speex at 32000 Hz, both mono; no voice activation, no tray icon (so closing
# the window ends the program).
write_recording_settings() {
    cat >"$out/settings.ini" <<EOF2
[Wave]
SampleRate=44100
Resolution=1
Stereo=0
WaveFormat=0100010044ac000088580100020010000000
[Mp3]
DefaultAudioFormat=${2:-0}
[Vorbis]
VorSampleRate=44100
VorStereo=0
VorQ=4
[Speex]
SpxSampleRate=32000
SpxStereo=0
SpxQ=8
[File]
DefaultDirectory=$(winpath "$out")
AutoName=1
AutoPrompt=0
ImprovedFilePrefix=$1
LHMode=1
[Vox]
VoxDisable=1
[Driver]
WaveInDriver=Monitor of Null Output
[Setup]
TrayIcon=0
EOF2
}

# Plays a 1 kHz tone for $1 seconds into the null sink, in the background.
start_tone() {
    "$tools/sound-rig" start
    "$tools/sound-rig" tone "$1" 1000 &
    player=$!
    sleep 2.5  # the null sink delivers nothing to its monitor until the tone really plays
}

# Waits until file $1 exists (at most 30 s).
wait_for_file() {
    for _ in $(seq 600); do [ -e "$1" ] && return 0; sleep 0.05; done
    return 1
}

# Waits until the size of file $1 stops changing (the recording stopped).
wait_settled() {
    local last= size
    for _ in $(seq 40); do
        size=$(stat -c %s "$1"); [ "$size" = "$last" ] && return 0; last=$size; sleep 0.3
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
