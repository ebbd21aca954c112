#!/usr/bin/env bash
# The Ogg classes writing into a full disk: a 128 KB tmpfs (skipped, exit 77,
# where mount is refused) is filled by the recordings of OggFullDisk.*.
#   ogg_full_disk.sh PATH/audiofile_tests.exe
set -eu
tests_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/larkspur-full.XXXXXX)
cleanup() {
    mountpoint -q "$dir" && umount "$dir"
    rm -rf "$dir"
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=128k tmpfs "$dir" 2>/dev/null; then
    echo "SKIPPED: cannot mount a tmpfs here"
    exit 77
fi
LARKSPUR_FULL_DIR="Z:${dir//\//\\}" "$here/../../tools/wine-run" "$tests_exe" --gtest_filter='OggFullDisk.*'
