#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example -L store, or -R xml).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
wine_env_start "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" "$@"
