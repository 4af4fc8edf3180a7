#!/usr/bin/env bash
# Installs what is missing (as root), builds the third-party libraries once and
# builds Tarnwell, vrel and the tests into build/.
#
# TARNWELL_ARCH=x86_64 builds the 64-bit test build instead of the 32-bit
# product (see scripts/wine-env.sh for when the tests need it); give it its own
# TARNWELL_BUILD_DIR and TARNWELL_BIN_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" = 0 ]; then
    bash "$root/scripts/setup.sh"
fi
arch=${TARNWELL_ARCH:-i686}
deps=$(TARNWELL_ARCH=$arch bash "$root/scripts/deps.sh")
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-mingw.cmake" \
    -DTARNWELL_DEPS="$deps" ${TARNWELL_BIN_DIR:+-DTARNWELL_BIN_DIR="$TARNWELL_BIN_DIR"} \
    ${TARNWELL_SCREENSHOT_DIR:+-DTARNWELL_SCREENSHOT_DIR="$TARNWELL_SCREENSHOT_DIR"} >/dev/null
targets=()
for t in ${TARNWELL_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}" -- -j"${TARNWELL_JOBS:-$(nproc)}"
