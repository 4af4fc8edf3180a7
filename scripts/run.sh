#!/usr/bin/env bash
# Builds Tarnwell if needed and runs bin/Tarnwell.exe under Wine.
#
#   bash scripts/run.sh [--simulated-keyboard] [program arguments]
#
# With a display ($DISPLAY set) the program opens there. Without one it runs
# on a virtual display, saves a screenshot after start-up and says where.
# --simulated-keyboard runs a copy of bin/ (build/run-simulated/) in which the
# simulated keyboard stands in for hidapi.dll, so that every page can be tried
# without the keyboard.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
bin_dir=${TARNWELL_BIN_DIR:-$root/bin}

simulated=0
args=()
for a in "$@"; do
    if [ "$a" = "--simulated-keyboard" ]; then simulated=1; else args+=("$a"); fi
done

source "$root/scripts/wine-env.sh"
arch=$(tarnwell_test_arch)
targets="Tarnwell hidapi_sim window_snapshot"
if [ "$arch" = x86_64 ]; then
    # The kernel here does not run 32-bit programs (see scripts/wine-env.sh):
    # the 64-bit build of the same sources runs instead.
    echo "run: this machine does not run 32-bit programs; running the 64-bit build"
    build_dir=$build_dir/x64
    bin_dir=$build_dir/bin
    TARNWELL_ARCH=x86_64 TARNWELL_BUILD_DIR="$build_dir" TARNWELL_BIN_DIR="$bin_dir" \
        TARNWELL_TARGETS="$targets" bash "$root/scripts/build.sh"
else
    TARNWELL_TARGETS="$targets" bash "$root/scripts/build.sh"
fi

run_dir=$bin_dir
if [ $simulated = 1 ]; then
    run_dir="$build_dir/run-simulated"
    rm -rf "$run_dir"
    cp -al "$bin_dir" "$run_dir" 2>/dev/null || cp -a "$bin_dir" "$run_dir"
    rm -f "$run_dir/hidapi.dll"
    cp "$build_dir/tests/bin/simulated-keyboard/hidapi.dll" "$run_dir/hidapi.dll"
    # One keyboard present; edit this file while the program runs to plug
    # devices in and out (see tests/device/sim/SimulatorDll.cpp).
    printf 'generation 1\ndevice 1 3151 4010 2 keyboard 1\n' > "$run_dir/hidsim-control.txt"
    echo "run: simulated keyboard in $run_dir (log: $run_dir/hidsim-log.txt)"
fi

headless=0
if [ -z "${DISPLAY:-}" ]; then headless=1; else export TARNWELL_KEEP_DISPLAY=1; fi
wine_env_start "$build_dir" "$arch"

cd "$run_dir"
if [ $headless = 0 ]; then
    wine ./Tarnwell.exe "${args[@]}"
    exit 0
fi

wine ./Tarnwell.exe "${args[@]}" &
program=$!
bin_dos="Z:$(echo "$bin_dir" | tr / '\\')"
if shot=$(cd "$build_dir/tests/bin" && WINEPATH="$bin_dos" wine ./window_snapshot.exe | tr -d '\r'); then
    echo "run: Tarnwell runs on the virtual display $DISPLAY; screenshot: $(wine winepath.exe -u "$shot" 2>/dev/null | tr -d '\r' || echo "$shot")"
else
    echo "run: no window to take a picture of: $shot"
fi
echo "run: press Ctrl+C to stop"
wait $program
