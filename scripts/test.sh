#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example -L store, or -R xml).
#
# The product is always built (32-bit, into build/ and bin/). Where this machine
# cannot run 32-bit programs (scripts/wine-env.sh says when), the tests run on a
# 64-bit build of the same sources in build/x64, with its own run-time folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
source "$root/scripts/wine-env.sh"
bash "$root/scripts/build.sh"
arch=$(tarnwell_test_arch)
test_dir=$build_dir
if [ "$arch" = x86_64 ]; then
    echo "test: this machine does not run 32-bit programs; the tests run on the 64-bit build"
    test_dir=$build_dir/x64
    # Its pictures still go where people look for them: build/screenshots.
    TARNWELL_ARCH=x86_64 TARNWELL_BUILD_DIR="$test_dir" TARNWELL_BIN_DIR="$test_dir/bin" \
        TARNWELL_SCREENSHOT_DIR="$build_dir/screenshots" bash "$root/scripts/build.sh"
fi
wine_env_start "$test_dir" "$arch"
ctest --test-dir "$test_dir" --output-on-failure -j"${TARNWELL_JOBS:-$(nproc)}" "$@"
