#!/usr/bin/env bash
# Installs what is missing (as root), builds the third-party libraries once and
# builds Tarnwell, vrel and the tests into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" = 0 ]; then
    bash "$root/scripts/setup.sh"
fi
deps=$(bash "$root/scripts/deps.sh")
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
    -DTARNWELL_DEPS="$deps" ${TARNWELL_BIN_DIR:+-DTARNWELL_BIN_DIR="$TARNWELL_BIN_DIR"} >/dev/null
targets=()
for t in ${TARNWELL_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" "${targets[@]}" -- -j"$(nproc)"
