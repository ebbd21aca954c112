#!/usr/bin/env bash
# Cross-builds LAME's ACM codec driver for one MinGW-w64 host into DIR:
#   build-lame-acm.sh DIR [HOST]   HOST: i686-w64-mingw32 (default) or x86_64-w64-mingw32
# DIR/lameACM.acm and DIR/lame_acm.xml are installed into the tests' Wine
# prefix (tools/wine-run) so that MP3 encoding runs through a real codec
# driver. Test use only: nothing of it is linked into the program.
# Sources: Debian's lame source package, with deps/lame-acm-mingw.patch for
# g++ 12, MinGW-w64 and 64-bit pointers. Cached: rebuilt only when the pin,
# the host or the patch changes.
set -euo pipefail

DIR=${1:?usage: build-lame-acm.sh DIR [HOST]}
HOST=${2:-i686-w64-mingw32}
here=$(cd "$(dirname "$0")" && pwd)
PATCH=$here/lame-acm-mingw.patch
JOBS=$(nproc)

PIN="lame=3.100-6"
STAMP="$DIR/.pins"
WANT="$PIN $HOST $(sha1sum "$PATCH" | cut -c1-12)"
if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$WANT" ] && [ -f "$DIR/lameACM.acm" ]; then
    echo "lame acm: cached in $DIR"
    exit 0
fi

rm -rf "$DIR"
mkdir -p "$DIR/src"
cd "$DIR/src"
echo "lame acm: fetching $PIN"
apt-get source --download-only "$PIN" >/dev/null 2>&1
dpkg-source -x lame_*.dsc lame >/dev/null 2>&1
patch -d lame -p1 -s < "$PATCH"

export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib
prefix=$DIR/src/prefix
echo "lame acm: libmp3lame"
(cd lame && ./configure --host="$HOST" --prefix="$prefix" --disable-frontend --enable-static \
    --disable-shared CFLAGS=-O2 >/dev/null \
    && make -j"$JOBS" -C mpglib >/dev/null 2>&1 && make -j"$JOBS" -C libmp3lame >/dev/null 2>&1 \
    && make -C libmp3lame install >/dev/null && make -C include install >/dev/null)

echo "lame acm: driver"
acm=lame/ACM
objs=()
for src in ACM.cpp ACMStream.cpp AEncodeProperties.cpp DecodeStream.cpp main.cpp ADbg/ADbg.cpp \
           tinyxml/tinyxml.cpp tinyxml/tinyxmlerror.cpp tinyxml/tinyxmlparser.cpp; do
    obj=obj-$(basename "$src" .cpp).o
    "$CXX" -c -O2 -w -I"$acm" -I"$acm/ddk" -I"$prefix/include/lame" "$acm/$src" -o "$obj" &
    objs+=("$obj")
done
wait
"$HOST-windres" -I"$acm" -I"$acm/ddk" "$acm/acm.rc" -o obj-resources.o
fixup=()
[ "$HOST" = i686-w64-mingw32 ] && fixup=(-Wl,--enable-stdcall-fixup)
"$CXX" -shared "${fixup[@]}" -o "$DIR/lameACM.acm" "$acm/lameACM.def" "${objs[@]}" obj-resources.o \
    "$prefix/lib/libmp3lame.a" -static -static-libgcc -static-libstdc++ \
    -lurl -lwinmm -lmsacm32 -lcomctl32 -lshell32 -lcomdlg32 -luser32 -lgdi32 -ladvapi32
# Without its settings file the driver encodes stereo as dual channel.
cp "$acm/lame_acm.xml" "$DIR/lame_acm.xml"

cd "$DIR" && rm -rf src
echo "$WANT" > "$STAMP"
echo "lame acm: built into $DIR"
