# Shared by the end-to-end checks that drive the real program (sourced).
# Needs: tools (the tools folder), out (a scratch folder).

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)}

winpath() { echo "Z:${1//\//\\}"; }
now_ms() { date +%s%3N; }

# Ends a process started here and everything it started (the tone's
# sox | paplay, the program under wine-run), so none outlives the check.
kill_tree() {
    local child
    for child in $(pgrep -P "$1"); do kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}

# The settings of every check: 44100 Hz, 16-bit, mono PCM; named files
# e2e.wav in $out; no voice activation, no tray icon (so closing the window
# ends the program).
write_settings() {
    cat >"$1" <<EOT
[Wave]
SampleRate=44100
Resolution=1
Stereo=0
WaveFormat=0100010044ac000088580100020010000000
[Mp3]
DefaultAudioFormat=0
[File]
DefaultDirectory=$(winpath "$out")
AutoName=1
AutoPrompt=0
ImprovedFilePrefix=e2e
LHMode=1
[Vox]
VoxDisable=1
[Driver]
WaveInDriver=Monitor of Null Output
[Setup]
TrayIcon=0
EOT
}

# Closes the program's window (WM_CLOSE, as its close box sends) and waits
# for the program started as process $2 to end without error.
close_program() {
    "$tools/wine-run" taskkill /im "$(basename "$1")" >/dev/null
    for _ in $(seq 100); do kill -0 "$2" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$2" 2>/dev/null; then echo "the program did not end on close"; return 1; fi
    wait "$2" || { echo "the program ended with an error"; return 1; }
}

# Waits until file $1 exists (at most 30 s).
wait_for_file() {
    for _ in $(seq 600); do [ -e "$1" ] && return 0; sleep 0.05; done
    return 1
}
