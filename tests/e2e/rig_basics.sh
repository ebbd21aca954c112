# The pieces every script that runs the real program under Wine needs:
# sourced, not run. Sets $tools and the sound server's runtime folder.
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)}

# Ends a process started here and everything it started (the tone's
# sox | paplay, the program under wine-run), so none outlives the check.
kill_tree() {
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}
winpath() { echo "Z:${1//\//\\}"; }
now_ms() { date +%s%3N; }

# start_tone SECONDS: a 1 kHz tone into the null sink, playing when this
# returns; its process in $player.
start_tone() {
    "$tools/sound-rig" start
    "$tools/sound-rig" tone "$1" 1000 &
    player=$!
    sleep 2.5  # the null sink delivers nothing to its monitor until the tone really plays
}

# session_settings PREFIX FOLDER: the sections every run of the program
# shares: files named from PREFIX in FOLDER (a Windows path), the sink's
# monitor as the input, no voice activation, no tray icon (so closing the
# window ends the program).
session_settings() {
    cat <<EOF2
[File]
DefaultDirectory=$2
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

# recording_settings PREFIX TYPE DIRECTORY: settings for recording the sound
# card's monitor at 44100 Hz, 16-bit, mono PCM; files named from PREFIX in
# DIRECTORY (a Linux path), of the default type TYPE (0 WAV, 1 MP3, 3 Ogg
# Vorbis, 4 Speex); Vorbis at 44100 Hz and Speex at 32000 Hz, both mono; no
# voice activation, no tray icon (so closing the window ends the program).
recording_settings() {
    cat <<EOF2
[Wave]
SampleRate=44100
Resolution=1
Stereo=0
WaveFormat=0100010044ac000088580100020010000000
[Mp3]
DefaultAudioFormat=$2
[Vorbis]
VorSampleRate=44100
VorStereo=0
VorQ=4
[Speex]
SpxSampleRate=32000
SpxStereo=0
SpxQ=8
EOF2
    session_settings "$1" "$(winpath "$3")"
}
