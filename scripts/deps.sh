#!/usr/bin/env bash
# Builds the third-party libraries for a Windows target (TARNWELL_ARCH: i686, the
# product's, by default; x86_64 for test builds on machines that cannot run 32-bit
# programs) from Debian's source packages into a cache folder outside the
# repository, and prints that folder.
# A finished build is reused: the folder name carries the source versions, the
# compiler version and a hash of this script.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache_root=${TARNWELL_DEPS_CACHE:-/var/cache/tarnwell}
arch=${TARNWELL_ARCH:-i686}
cc=$arch-w64-mingw32-gcc-posix
cxx=$arch-w64-mingw32-g++-posix
ar=$arch-w64-mingw32-ar

log() { echo "deps: $*" >&2; }

# Debian lists several versions of a source package (release, updates, security);
# a mirror may lack some of them, so take the newest that downloads.
source_versions() {
    apt-cache showsrc "$1" 2>/dev/null | awk -v p="$1" '
        /^Package: /{ok = ($2 == p)} ok && /^Version: /{print $2}' | sort -u -r -V
}

newest_version() { source_versions "$1" | head -n 1; }

fetch_source() {
    local pkg=$1 dest=$2 v
    mkdir -p "$dest"
    for v in $(source_versions "$pkg"); do
        if (cd "$dest" && apt-get source -q -q "$pkg=$v" >/dev/null 2>&1); then
            find "$dest" -mindepth 1 -maxdepth 1 -type d | head -n 1
            return 0
        fi
        rm -rf "${dest:?}"/*
    done
    log "could not fetch the source of $pkg"
    return 1
}

versions="sqlite3=$(newest_version sqlite3) hidapi=$(newest_version hidapi)"
versions+=" zlib=$(newest_version zlib) lodepng=$(newest_version lodepng)"
if [ -f /usr/src/googletest/CMakeLists.txt ]; then
    gtest_src=/usr/src/googletest
    versions+=" googletest=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo system)"
else
    gtest_src=""
    versions+=" googletest=$(newest_version googletest)"
fi
key=$(printf '%s %s %s %s' "$arch" "$versions" "$($cxx -dumpfullversion)" "$(sha1sum "$0" | cut -c1-12)" \
    | sha1sum | cut -c1-16)
if [ "$arch" = i686 ]; then
    prefix="$cache_root/deps-$key"
else
    prefix="$cache_root/deps-$arch-$key"
fi

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

log "building into $prefix ($versions)"
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwell-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib"
cflags="-O2 -g0"

# SQLite: Debian ships the full source tree; its build makes the amalgamation
# with a native compiler and tclsh, which we then compile for the target.
src=$(fetch_source sqlite3 "$work/sqlite3")
mkdir -p "$work/sqlite3-build"
(cd "$work/sqlite3-build" && "$src/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
$cc $cflags -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c "$work/sqlite3-build/sqlite3.c" \
    -o "$work/sqlite3.o"
$ar rcs "$prefix/lib/libsqlite3.a" "$work/sqlite3.o"
cp "$work/sqlite3-build/sqlite3.h" "$prefix/include/"

# hidapi: only the Windows back end.
src=$(fetch_source hidapi "$work/hidapi")
mkdir -p "$prefix/include/hidapi"
$cc $cflags -I"$src/hidapi" -I"$src/windows" -c "$src/windows/hid.c" -o "$work/hid.o"
$ar rcs "$prefix/lib/libhidapi.a" "$work/hid.o"
cp "$src/hidapi/hidapi.h" "$prefix/include/hidapi/"
cp "$src/windows/hidapi_winapi.h" "$prefix/include/hidapi/" 2>/dev/null || true

# zlib and minizip's reader.
src=$(fetch_source zlib "$work/zlib")
objs=()
for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil; do
    $cc $cflags -c "$src/$f.c" -o "$work/z-$f.o"
    objs+=("$work/z-$f.o")
done
$ar rcs "$prefix/lib/libz.a" "${objs[@]}"
cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
objs=()
mkdir -p "$prefix/include/minizip"
for f in ioapi iowin32 unzip; do
    $cc $cflags -I"$src" -c "$src/contrib/minizip/$f.c" -o "$work/mz-$f.o"
    objs+=("$work/mz-$f.o")
done
$ar rcs "$prefix/lib/libminizip.a" "${objs[@]}"
cp "$src/contrib/minizip/"{ioapi.h,iowin32.h,unzip.h} "$prefix/include/minizip/"

# LodePNG: encoder only is used, but the whole file builds cleanly.
src=$(fetch_source lodepng "$work/lodepng")
$cxx $cflags -c "$src/lodepng.cpp" -o "$work/lodepng.o"
$ar rcs "$prefix/lib/liblodepng.a" "$work/lodepng.o"
cp "$src/lodepng.h" "$prefix/include/"

# GoogleTest, with its own CMake build and our toolchain file.
if [ -z "$gtest_src" ]; then
    gtest_src=$(fetch_source googletest "$work/googletest")
fi
cmake -S "$gtest_src" -B "$work/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/toolchain-$arch-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF >/dev/null
cmake --build "$work/gtest-build" >/dev/null
cmake --install "$work/gtest-build" >/dev/null

touch "$prefix/.complete"
log "done"
echo "$prefix"
