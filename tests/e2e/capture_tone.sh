#!/usr/bin/env bash
# Plays a 1 kHz tone into the null sink while the probe captures one second
# from its monitor through winmm under Wine; passes when the tone comes back.
set -eu
probe=$1
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
"$tools/sound-rig" start
"$tools/sound-rig" tone 8 1000 &
player=$!
trap 'kill $player 2>/dev/null || true' EXIT
sleep 2.5  # the null sink delivers nothing to its monitor until the tone really plays
XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/larkspur-pulse-$(id -u)} "$tools/wine-run" "$probe" "Monitor of Null Output" 1 1000
