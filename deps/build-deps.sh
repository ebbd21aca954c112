#!/usr/bin/env bash
# Cross-builds the third-party libraries for one MinGW-w64 host into PREFIX.
#   build-deps.sh PREFIX [HOST]    HOST: i686-w64-mingw32 (default) or x86_64-w64-mingw32
# Sources come from Debian's source packages with Debian's patches applied.
# The prefix is cached: it is rebuilt only when the pinned versions change.
set -euo pipefail

PREFIX=${1:?usage: build-deps.sh PREFIX [HOST]}
HOST=${2:-i686-w64-mingw32}
WORK=$(dirname "$PREFIX")/src
JOBS=$(nproc)

# name=debian-version, pinned
PINS="libogg=1.3.5-3 libvorbis=1.3.7-1 speex=1.2.1-2 id3lib3.8.3=3.8.3-18 googletest=1.12.1-0.2"
# Libvorbis's configure gives x86 Linux hosts -ffast-math, not MinGW ones:
# without it our encoder spent 1.18 times what oggenc does on the same audio.
# A change to how a library is built changes this line, so caches go stale.
RECIPE="vorbis-fast-math"
STAMP="$PREFIX/.pins"
if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$PINS $RECIPE $HOST" ]; then
    echo "deps: cached in $PREFIX"
    exit 0
fi

rm -rf "$PREFIX" "$WORK"
mkdir -p "$PREFIX" "$WORK"
cd "$WORK"

export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib
export PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig"
export CFLAGS="-O2" CXXFLAGS="-O2"
CONF=(--host=$HOST --prefix="$PREFIX" --enable-static --disable-shared)

fetch() {  # fetch NAME VERSION: unpacked, patched source tree in ./NAME
    local name=$1 ver=$2
    apt-get source --download-only "$name=$ver" >/dev/null
    local dsc
    dsc=$(ls "${name}_"*.dsc | head -n1)
    dpkg-source -x "$dsc" "$name" >/dev/null
}

pin() { echo "$PINS" | tr ' ' '\n' | sed -n "s/^$1=//p"; }

echo "deps: libogg"
fetch libogg "$(pin libogg)"
(cd libogg && ./configure "${CONF[@]}" >/dev/null && make -j"$JOBS" >/dev/null && make install >/dev/null)

echo "deps: libvorbis"
fetch libvorbis "$(pin libvorbis)"
(cd libvorbis && CFLAGS="$CFLAGS -ffast-math" ./configure "${CONF[@]}" --disable-examples --disable-docs >/dev/null \
    && make -j"$JOBS" -C lib >/dev/null && make -C lib install >/dev/null \
    && make -C include install >/dev/null && make install-pkgconfigDATA >/dev/null)

echo "deps: speex"
fetch speex "$(pin speex)"
(cd speex && ./configure "${CONF[@]}" --disable-binaries >/dev/null \
    && make -j"$JOBS" -C libspeex >/dev/null && make -C libspeex install >/dev/null \
    && make -C include install >/dev/null)

echo "deps: id3lib"
fetch id3lib3.8.3 "$(pin id3lib3.8.3)"
# Debian's patches edit configure.in and Makefile.am: regenerate as Debian does.
# mkstemp is disabled: mingw's opens deny-share and the tag rewrite then fails.
(cd id3lib3.8.3 && (libtoolize -fc && aclocal -I m4 && autoconf && automake --add-missing --copy) >/dev/null 2>&1 \
    && CPPFLAGS="-DID3LIB_LINKOPTION=1" ac_cv_func_mkstemp=no ./configure "${CONF[@]}" >/dev/null \
    && make -j"$JOBS" -C src >/dev/null 2>&1 && make -C src install >/dev/null && make -C include install >/dev/null)

echo "deps: googletest"
fetch googletest "$(pin googletest)"
cat > gtest-toolchain.cmake <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $([ "$HOST" = x86_64-w64-mingw32 ] && echo AMD64 || echo x86))
set(CMAKE_C_COMPILER $CC)
set(CMAKE_CXX_COMPILER $CXX)
set(CMAKE_RC_COMPILER $HOST-windres)
TC
cmake -S googletest -B googletest-build -DCMAKE_TOOLCHAIN_FILE="$WORK/gtest-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release -Dgtest_disable_pthreads=OFF >/dev/null
cmake --build googletest-build -j"$JOBS" >/dev/null
cmake --install googletest-build >/dev/null

echo "$PINS $RECIPE $HOST" > "$STAMP"
echo "deps: built into $PREFIX"
