#!/usr/bin/env bash
# Recording into a full disk, on a 1 MB tmpfs (skipped, exit 77, where mount
# is refused). Two ways the disk fills:
# - "drive": the tmpfs is a drive of its own (a drive letter of the Wine
#   prefix), so the program sees its free space fall and stops by itself
#   below 0.2 MB with the caption "Disk nearly full!";
# - "path": the tmpfs is reached through Z:, whose free space is that of /,
#   so writes fail once it is full: each failure is logged ("Can't write wave
#   data") and recording goes on until a second copy stops it.
# Either way the file must hold everything written, open through the
# program's audio-file classes, read to its end, and be read by sox.
#   full_disk.sh PROGRAM.exe HOSTILE_TESTS.exe [drive|path]...
set -eu
program=$1
inspector=$2
shift 2
modes=${*:-drive path}
out=$(mktemp -d)
disk=$out/disk
letter=
. "$(dirname "$0")/program_rig.sh"
build=$(cd "$(dirname "$program")" && pwd)
prefix=${WINEPREFIX:-$build/wineprefix}
cleanup() {
    stop_rig
    [ -n "$letter" ] && rm -f "$prefix/dosdevices/$letter"
    mountpoint -q "$disk" && umount "$disk"
    rm -rf "$out"
}
trap cleanup EXIT
mkdir -p "$disk"
if ! mount -t tmpfs -o size=1m tmpfs "$disk" 2>"$out/mount.txt"; then
    echo "SKIPPED: cannot mount a tmpfs here ($(cat "$out/mount.txt"))"
    exit 77
fi
log="$prefix/drive_c/ProgramData/Larkspur-PRO/Larkspur-PRO.log"

inspect() {
    info=$(LARKSPUR_INSPECT_FILE="$(winpath "$1")" "$tools/wine-run" "$inspector" \
           --gtest_filter=HostileInspect.LeftFile | grep '^inspect:') || { echo "could not inspect $1"; exit 1; }
    echo "size $(stat -c %s "$1") $info"
}
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$info"; }

check_file() {
    local wav=$1 size length
    size=$(stat -c %s "$wav")
    inspect "$wav"
    [ "$(field opened)" = 1 ] || { echo "the file does not open"; exit 1; }
    length=$(field length)
    [ "$(field read)" = "$length" ] || { echo "reading stopped before the data's end"; exit 1; }
    [ "$length" -le "$size" ] || { echo "data length claims more than the file holds"; exit 1; }
    # Everything written is in the data: no more than the headers, the
    # annotation chunk and one buffer (200 ms) may lie outside it.
    [ "$length" -ge $((size - 4096 - 17640)) ] || { echo "written audio is missing from the data"; exit 1; }
    sox "$wav" -n stat 2>"$out/stat.txt" || { cat "$out/stat.txt"; echo "sox cannot read the file"; exit 1; }
    [ $(($(soxi -s "$wav") * 2)) -ge "$length" ] || { echo "sox reads less than the header says"; exit 1; }
    local freq
    freq=$(tone_frequency "$wav")
    awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; exit 1; }
}

window_titles() { DISPLAY=:${LARKSPUR_DISPLAY:-91} xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*"' || true; }

run_drive() {
    for l in q r s t u v w; do [ -e "$prefix/dosdevices/$l:" ] || { letter=$l:; break; }; done
    [ -n "$letter" ] || { echo "no free drive letter"; exit 1; }
    ln -s "$disk" "$prefix/dosdevices/$letter"
    write_settings "$out/settings.ini" "${letter^^}\\"
    start_tone 40
    start_recording "$out/settings.ini" "$disk/e2e.wav"
    # 88200 bytes a second into 1 MB: the program must stop by itself.
    local stopped= caption=
    for _ in $(seq 60); do
        window_titles | grep -q 'Disk nearly full!' && caption=1
        if [ -n "$caption" ] && wait_until_settled "$disk/e2e.wav"; then stopped=1; break; fi
        sleep 0.5
    done
    [ -n "$caption" ] || { echo "no \"Disk nearly full!\" caption"; window_titles; exit 1; }
    [ -n "$stopped" ] || { echo "recording did not stop on a nearly full disk"; exit 1; }
    df -k "$disk" | tail -1
    close_program
    stop_rig
    check_file "$disk/e2e.wav"
    rm -f "$prefix/dosdevices/$letter" "$disk"/*
    letter=
}

run_path() {
    write_settings "$out/settings.ini" "$(winpath "$disk")"
    local before=0
    [ -f "$log" ] && before=$(stat -c %s "$log")
    start_tone 40
    start_recording "$out/settings.ini" "$disk/e2e.wav"
    local full=
    for _ in $(seq 60); do
        [ "$(df -k --output=avail "$disk" | tail -1)" -lt 8 ] && { full=1; break; }
        sleep 0.5
    done
    [ -n "$full" ] || { echo "the disk did not fill"; exit 1; }
    sleep 2  # a few writes fail
    stop_from_second_copy "$disk/e2e.wav"
    close_program
    stop_rig
    df -k "$disk" | tail -1
    # The log is emptied when it grows past 10000 bytes: read it whole if it shrank.
    local tail_from=$((before + 1))
    [ "$(stat -c %s "$log")" -ge "$before" ] || tail_from=1
    tail -c +"$tail_from" "$log" | tr -d '\r' | grep -q "Can't write wave data" \
        || { echo "no failed write was logged"; tail -c 600 "$log"; exit 1; }
    check_file "$disk/e2e.wav"
    rm -f "$disk"/*
}

for mode in $modes; do
    echo "--- $mode"
    "run_$mode"
done
echo "full disk: ok"
