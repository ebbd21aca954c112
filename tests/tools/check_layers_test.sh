#!/usr/bin/env bash
# tools/check-layers on a copy of the tree: the tree as it stands passes; one
# planted include of a layer above, or beside where the table does not allow
# it, fails and names the file and line; so does a source file in a folder the
# table does not list. The table is the one in the copy's docs/ARCHITECTURE.md.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
mkdir -p "$tree"
git -C "$root" ls-files -z | (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$tree" || exit 1
failures=0
passes=0

# check WHAT WANT_RC [TEXT]: the check's exit code is WANT_RC and its output holds TEXT.
check() {
    "$root/tools/check-layers" "$tree" >"$work/out" 2>&1
    local rc=$?
    if [ "$rc" -eq "$2" ] && grep -qF -- "${3:-check-layers:}" "$work/out"; then
        echo "ok: $1"; passes=$((passes + 1))
    else
        echo "FAILED: $1 (exit $rc)"; sed 's/^/    /' "$work/out"; failures=$((failures + 1))
    fi
}
# plant FILE LINE: LINE added at the end of FILE until unplant.
plant() { cp "$tree/$1" "$work/saved"; planted=$1; echo "$2" >>"$tree/$1"; }
unplant() { cp "$work/saved" "$tree/$planted"; }
last() { wc -l <"$tree/$1" | tr -d ' '; }

check "the tree as it stands" 0 "every include is allowed"

plant core/AppState.cpp '#include "app/App.h"'
check "the core including the program above it" 1 "core/AppState.cpp:$(last core/AppState.cpp): core/ may not include app/App.h"
unplant

plant recorder/window/TAppDialogTimers.cpp '#include "prefs/TSetTimer.h"'
check "the recorder window including a preference page beside it" 1 "recorder/ may not include prefs/TSetTimer.h"
unplant

plant services/WaveDevice.cpp '#include "schedule/ScheduleCheck.h"'
check "the device services including the scheduler beside them" 1 "services/ may not include schedule/ScheduleCheck.h"
unplant

plant prefs/TSetDriver.cpp '#include "../app/App.h"'
check "a relative include reaching the program above" 1 "prefs/ may not include app/App.h"
unplant

mkdir -p "$tree/unlisted" && echo '#include "core/AppState.h"' >"$tree/unlisted/Stray.h"
check "a source file in a folder the table does not list" 1 "unlisted/Stray.h: its folder is not in the layer table"
rm -r "$tree/unlisted"

# The table is read, not built in: allowing the pages in the recorder's row lets the include pass.
plant recorder/window/TAppDialogTimers.cpp '#include "prefs/TSetTimer.h"'
sed -i 's/^| `recorder\/` |\(.*\)| `services\/`, /| `recorder\/` |\1| `prefs\/`, `services\/`, /' "$tree/docs/ARCHITECTURE.md"
check "an include the table allows" 0 "every include is allowed"
unplant

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
