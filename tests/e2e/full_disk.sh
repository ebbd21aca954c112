#!/usr/bin/env bash
# Recording into a full disk, on a 1 MB tmpfs (skipped, exit 77, where mount
# is refused). The program asks the free space of the file's own folder and
# stops by itself below 0.2 MB with the caption "Disk nearly full!"; a write
# that fails is only logged ("Can't write wave data"). Two ways the disk
# fills: "fill", by the recording itself, and "sudden", by another program
# three seconds in, so that writes fail before the program looks again.
# Either way the file must hold everything written, open through the
# program's audio-file classes, read to its end, and be read by sox.
#   full_disk.sh PROGRAM.exe HOSTILE_TESTS.exe [fill|sudden]...
set -eu
program=$1
reader=$2
shift 2
modes=${*:-fill sudden}
out=$(mktemp -d)
disk=$out/disk
. "$(dirname "$0")/program_rig.sh"
cleanup() {
    stop_rig
    mountpoint -q "$disk" && umount "$disk"
    rm -rf "$out"
}
trap cleanup EXIT
mkdir -p "$disk"
if ! mount -t tmpfs -o size=1m tmpfs "$disk" 2>"$out/mount.txt"; then
    echo "SKIPPED: cannot mount a tmpfs here ($(cat "$out/mount.txt"))"
    exit 77
fi
log=$(program_log "$program")

field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$info"; }

check_file() {
    local wav=$1 size length
    size=$(stat -c %s "$wav")
    read_left_file "$reader" "$wav" || exit 1
    echo "size $size $info"
    [ "$(field opened)" = 1 ] || { echo "the file does not open"; exit 1; }
    length=$(field length)
    [ "$(field read)" = "$length" ] || { echo "reading stopped before the data's end"; exit 1; }
    [ "$length" -le "$size" ] || { echo "data length claims more than the file holds"; exit 1; }
    [ $((length % $(field align))) = 0 ] || { echo "data length is no whole number of blocks"; exit 1; }
    # Everything written is in the data: no more than the headers, the
    # annotation chunk and one buffer (200 ms) may lie outside it.
    [ "$length" -ge $((size - 4096 - 35280)) ] || { echo "written audio is missing from the data"; exit 1; }
    sox "$wav" -n stat 2>"$out/stat.txt" || { cat "$out/stat.txt"; echo "sox cannot read the file"; exit 1; }
    [ $(($(soxi -s "$wav") * $(field align))) -ge "$length" ] || { echo "sox reads less than the header says"; exit 1; }
    local freq
    freq=$(tone_frequency "$wav")
    awk -v f="$freq" 'BEGIN {exit !(f > 950 && f < 1050)}' || { echo "no tone: $freq"; sox "$wav" -n stats 2>&1 | head -20; exit 1; }
}

window_titles() { DISPLAY=:${LARKSPUR_DISPLAY:-91} xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*"' || true; }

# wait_for_own_stop FILE: the caption shows and FILE stops growing, with
# nobody asking the program to stop.
wait_for_own_stop() {
    local caption=
    for _ in $(seq 60); do
        window_titles | grep -q 'Disk nearly full!' && caption=1
        if [ -n "$caption" ] && wait_until_settled "$1"; then return 0; fi
        sleep 0.5
    done
    [ -n "$caption" ] || { echo "no \"Disk nearly full!\" caption"; window_titles; exit 1; }
    echo "recording did not stop on a nearly full disk"
    exit 1
}

# record MODE: the program records into the tmpfs; "fill" lets the recording
# fill it, "sudden" fills it from outside three seconds in, so that writes
# fail before the program's next look at the free space.
record() {
    local wav=$disk/e2e.wav failed
    mark_log "$log"
    # Stereo for the sudden fill: a write cut short by the full disk must
    # still leave whole sample frames.
    if [ "$1" = sudden ]; then
        write_settings "$out/settings.ini" "$(winpath "$disk")" 44100 2
    else
        write_settings "$out/settings.ini" "$(winpath "$disk")"
    fi
    start_tone 40
    start_recording "$out/settings.ini" "$wav"
    if [ "$1" = sudden ]; then
        sleep 3
        dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
    fi
    wait_for_own_stop "$wav"
    df -k "$disk" | tail -1
    close_program
    stop_rig
    rm -f "$disk/filler"
    log_since_mark "$log" >"$out/log.txt" || exit 1
    failed=$(grep -c "Can't write wave data" "$out/log.txt" || true)
    echo "failed writes logged: $failed"
    # The sudden fill is there for writes that fail before the program looks
    # again: they must have failed, and been logged.
    [ "$1" != sudden ] || [ "$failed" -gt 0 ] || { echo "no failed write was logged after the sudden fill"; exit 1; }
    check_file "$wav"
    rm -f "$disk"/*
}
run_fill() { record fill; }
run_sudden() { record sudden; }

for mode in $modes; do
    echo "--- $mode"
    "run_$mode"
done
echo "full disk: ok"
