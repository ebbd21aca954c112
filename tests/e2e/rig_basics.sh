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

# The log of the program PROGRAM.exe of a build: its own Wine prefix's.
program_log() {
    echo "${WINEPREFIX:-$(cd "$(dirname "$1")" && pwd)/wineprefix}/drive_c/ProgramData/Larkspur-PRO/Larkspur-PRO.log"
}

# A check reads just the lines its own run wrote to the program's log: the
# program starts its log again (empties it) on the first write after it grew
# past 10000 bytes, so a size taken before the run tells nothing of where the
# run's lines begin. mark_log LOG moves the log there is aside (LOG.before)
# and starts LOG with a mark line of ours, to which the program appends.
mark_log() {
    mkdir -p "$(dirname "$1")"
    if [ -f "$1" ]; then mv -f "$1" "$1.before"; fi
    log_mark="-- end-to-end check $$ $(now_ms) --"
    printf '%s\r\n' "$log_mark" >"$1"
}

# log_since_mark LOG: prints (without CRs) what was written to LOG after
# mark_log. Fails, saying so on stderr, when the mark is gone: the log
# started again meanwhile and lost lines of this run (or it was replaced).
log_since_mark() {
    local text
    text=$(tr -d '\r' <"$1") || { echo "the program's log cannot be read: $1" >&2; return 1; }
    if [ "${text%%$'\n'*}" != "$log_mark" ]; then
        echo "the program's log started again during the run: lines of this run are lost" >&2
        return 1
    fi
    [ "$text" = "$log_mark" ] || printf '%s\n' "${text#*$'\n'}"
}

# first_capture LOG: waits (15 s at most) for the program's line saying its
# first capture buffers came back, written to LOG since mark_log. Sets
# first_ms to when it was written (the log's modification time, while it is
# the last line) and first_held_ms to the audio recorded then (those buffers
# and what the device held besides).
first_capture() {
    local log=$1 before after text line
    for _ in $(seq 1500); do
        before=$(stat -c %.3Y "$log")
        text=$(log_since_mark "$log") || return 1
        after=$(stat -c %.3Y "$log")
        line=$(grep -a '^first capture buffers back: ' <<<"$text" | tail -1 || true)
        if [ -n "$line" ]; then
            [ "$(tail -1 <<<"$text")" = "$line" ] \
                || { echo "another line followed the first capture's before it could be timed"; return 1; }
            [ "$before" = "$after" ] || continue  # written while it was read: read again
            first_ms=${before/./}
            first_held_ms=$(sed 's/^first capture buffers back: \([0-9]*\) ms recorded.*/\1/' <<<"$line")
            return 0
        fi
        sleep 0.01
    done
    echo "the log tells of no capture buffer back"
    return 1
}

# bare_loss BARE_CAPTURE.exe SECONDS [RATE]: the bare winmm capture loop
# records the monitor for SECONDS at RATE Hz (44100 when not given), mono,
# into $out/bare.raw; prints the audio it lost (ms): the time from its first
# buffers' return to its stop and the audio recorded then, less what it wrote.
bare_loss() {
    local report loss rate=${3:-44100}
    report=$("$tools/wine-run" "$1" "Monitor of Null Output" "$2" "$(winpath "$out/bare.raw")" "$rate") \
        || { echo "the bare capture loop failed: $(tr -d '\r' <<<"$report")" >&2; return 1; }
    report=$(tr -d '\r' <<<"$report")
    loss=$(sed -n 's/^first buffers back with \([0-9]*\) ms; stopped \([0-9]*\) ms later; \([0-9]*\) bytes$/\1 \2 \3/p' \
           <<<"$report" | awk -v rate="$rate" '{ printf "%.0f\n", $2 + $1 - $3 / (rate * 2 / 1000) }')
    [ -n "$loss" ] || { echo "the bare capture loop said: $report" >&2; return 1; }
    echo "$loss"
}

# judge_loss LOST_MS BARE_LOST_MS: prints both; true when the program lost no
# more than the bare loop of the same run and 50 ms.
judge_loss() {
    echo "lost_ms $1 (the bare capture loop: $2)"
    [ "$1" -le $(($2 + 50)) ] || { echo "the recording lost more audio than the bare loop and 50 ms"; return 1; }
}
