#!/usr/bin/env bash
# Save As onto a file of a full disk: a 256 KB tmpfs (skipped, exit 77,
# where mount is refused) holds the recording, the file it is saved onto and
# a filler that leaves no room for a copy.
#   save_full_disk.sh PATH/recorder_tests.exe
set -eu
tests_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/larkspur-save-full.XXXXXX)
cleanup() {
    mountpoint -q "$dir" && umount "$dir"
    rm -rf "$dir"
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=256k tmpfs "$dir" 2>/dev/null; then
    echo "SKIPPED: cannot mount a tmpfs here"
    exit 77
fi
out=$(LARKSPUR_FULL_DIR="Z:${dir//\//\\}" "$here/../../tools/wine-run" "$tests_exe" \
      --gtest_filter='TAppDialogFilesTest.SaveAsOntoAFileOfAFullDiskKeepsThatFile') || { echo "$out"; exit 1; }
echo "$out"
# The test skips itself without the disk: here it must have run.
! grep -q SKIPPED <<<"$out"
