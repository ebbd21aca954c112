#!/usr/bin/env bash
# tools/check-layers on a plain copy of the tree (no git): the tree as it
# stands passes; each route by which a folder could reach a layer it may not
# use fails and names the file and line: an include of a layer above or beside,
# relative, through a macro or over a continued line, from a file of another
# extension, of test code from the program; a link or include directory in
# the CMake files; a folder or kind of file the check does not know. The table
# is the one in the copy's docs/ARCHITECTURE.md, "never" cells included.
set -u
set -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
mkdir -p "$tree" "$work/saved"
(cd "$root" && tar --exclude=./.git --exclude='./build*' -cf - .) | tar -xf - -C "$tree" || exit 1
failures=0
passes=0

# check WHAT WANT_RC TEXT...: the check's exit code is WANT_RC and its output holds every TEXT.
check() {
    local what=$1 want=$2 rc text ok=1
    shift 2
    "$root/tools/check-layers" "$tree" >"$work/out" 2>&1
    rc=$?
    [ "$rc" -eq "$want" ] || ok=0
    for text in "$@"; do grep -qF -- "$text" "$work/out" || ok=0; done
    if [ $ok -eq 1 ]; then
        echo "ok: $what"; passes=$((passes + 1))
    else
        echo "FAILED: $what (exit $rc)"; sed 's/^/    /' "$work/out"; failures=$((failures + 1))
    fi
}
# keep FILE: FILE (or its absence) restored by unplant; plant FILE TEXT: TEXT added at its end.
keep() {
    [ -e "$work/saved/$1" ] || [ -e "$work/saved/$1.new" ] && return
    mkdir -p "$(dirname "$work/saved/$1")"
    if [ -e "$tree/$1" ]; then cp "$tree/$1" "$work/saved/$1"; else touch "$work/saved/$1.new"; fi
}
plant() { keep "$1"; printf '%s\n' "$2" >>"$tree/$1"; }
unplant() {
    local f
    while IFS= read -r f; do
        f=${f#"$work/saved/"}
        case $f in
            *.new) rm -f "$tree/${f%.new}" ;;
            *) cp "$work/saved/$f" "$tree/$f" ;;
        esac
    done < <(find "$work/saved" -type f)
    rm -rf "$work/saved" && mkdir -p "$work/saved"
}
last() { wc -l <"$tree/$1" | tr -d ' '; }

check "the tree as it stands" 0 "every include and link is allowed"

plant core/AppState.cpp '#include "app/App.h"'
check "the core including the program above it" 1 "core/AppState.cpp:$(last core/AppState.cpp): core/ may not include app/App.h"
unplant

plant recorder/window/TAppDialogTimers.cpp '#include "prefs/timer/TSetTimer.h"'
check "the recorder window including a preference page beside it" 1 "recorder/ may not include prefs/timer/TSetTimer.h"
unplant

plant sound/WaveDevice.cpp '#include "schedule/ScheduleCheck.h"'
check "the device services including the scheduler beside them" 1 "sound/ may not include schedule/ScheduleCheck.h"
unplant

plant prefs/TSetDriver.cpp '#include "../app/App.h"'
check "a relative include reaching the program above" 1 "prefs/ may not include app/App.h"
unplant

plant core/AppState.cpp '#define LARKSPUR_UP "app/App.h"'
plant core/AppState.cpp '#include LARKSPUR_UP'
check "an include through a macro" 1 "core/AppState.cpp:$(last core/AppState.cpp): #include of something other than a quoted or angled name"
unplant

plant core/AppState.cpp '#  include \'
plant core/AppState.cpp '"app/App.h"'
check "an include continued over two lines" 1 "core/AppState.cpp:$(($(last core/AppState.cpp) - 1)): core/ may not include app/App.h"
unplant

for ext in ipp inc tcc hh cc; do
    plant "core/Planted.$ext" '#include "app/App.h"'
    plant core/AppState.cpp "#include \"Planted.$ext\""
    check "an include in a .$ext file" 1 "core/Planted.$ext:1: core/ may not include app/App.h"
    unplant
done

plant core/Planted.zz '#include "app/App.h"'
plant core/AppState.cpp '#include "Planted.zz"'
check "a file of a kind the check does not know" 1 "core/Planted.zz: a kind of file the layer check does not know" \
    "core/Planted.zz:1: core/ may not include app/App.h"
unplant

plant app/App.cpp '#include "tests/fakes/FakeAcm.h"'
check "the program including test code" 1 "app/ may not include tests/fakes/FakeAcm.h"
unplant

keep core/CMakeLists.txt
sed -i 's/^target_link_libraries(core PUBLIC /target_link_libraries(core PUBLIC app /' "$tree/core/CMakeLists.txt"
check "the core linking the program above it" 1 "core/CMakeLists.txt:$(grep -n '^target_link_libraries(core' "$tree/core/CMakeLists.txt" | cut -d: -f1): core/ may not use app/: links app"
unplant

keep recorder/CMakeLists.txt
sed -i 's/^target_link_libraries(recorder PUBLIC /target_link_libraries(recorder PUBLIC prefs /' "$tree/recorder/CMakeLists.txt"
check "the recorder linking the pages beside it" 1 "recorder/ may not use prefs/: links prefs"
unplant

plant core/CMakeLists.txt 'target_include_directories(core PRIVATE ${CMAKE_SOURCE_DIR}/app)'
plant core/AppState.cpp '#include "App.h"'
check "an include directory of the program above" 1 "core/CMakeLists.txt:$(last core/CMakeLists.txt): core/ may not use app/: adds the include directory app/" \
    "core/AppState.cpp:$(last core/AppState.cpp): core/ may not include app/App.h"
unplant

mkdir -p "$tree/unlisted" && echo '#include "core/AppState.h"' >"$tree/unlisted/Stray.h"
check "a source file in a folder the table does not list" 1 "unlisted/Stray.h: its folder is not in the layer table"
rm -r "$tree/unlisted"

# The table is read, not built in: allowing the pages in the recorder's row lets the include pass...
keep docs/ARCHITECTURE.md
plant recorder/window/TAppDialogTimers.cpp '#include "prefs/timer/TSetTimer.h"'
sed -i 's/^| `recorder\/` |\(.*\)| `sound\/`, /| `recorder\/` |\1| `prefs\/`, `sound\/`, /' "$tree/docs/ARCHITECTURE.md"
check "an include the table allows" 0 "every include and link is allowed"
unplant

# ...and a folder named after "never" is not allowed.
keep docs/ARCHITECTURE.md
plant audiofile/WaveFile.cpp '#include "framework/Window.h"'
sed -i 's/^\(| `audiofile\/` |.*\)never user32 or the framework |/\1never user32 or `framework\/` |/' "$tree/docs/ARCHITECTURE.md"
check "a folder named after never" 1 "audiofile/ may not include framework/Window.h"
unplant

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
