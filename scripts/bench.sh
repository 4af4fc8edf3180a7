#!/usr/bin/env bash
# Builds everything and runs every benchmark under Wine on a virtual display.
# A benchmark is an executable named *_bench.exe in the tests' folder; each
# prints its figures as ratios against a reference measured in the same run.
# Arguments name benchmarks to run (without .exe); none runs them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
source "$root/scripts/wine-env.sh"
bash "$root/scripts/build.sh"
arch=$(tarnwell_test_arch)
run_bin=${TARNWELL_BIN_DIR:-$root/bin}
if [ "$arch" = x86_64 ]; then
    # Where 32-bit programs do not run, the 64-bit build is measured (see test.sh).
    build_dir=$build_dir/x64
    run_bin=$build_dir/bin
    TARNWELL_ARCH=x86_64 TARNWELL_BUILD_DIR="$build_dir" TARNWELL_BIN_DIR="$run_bin" bash "$root/scripts/build.sh"
fi
wine_env_start "$build_dir" "$arch"
bin_dir="$build_dir/tests/bin"
bin_dos="Z:$(echo "$run_bin" | tr / '\\')"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for exe in "$bin_dir"/*_bench.exe; do
        [ -e "$exe" ] || continue
        names+=("$(basename "$exe" .exe)")
    done
fi
if [ ${#names[@]} -eq 0 ]; then
    echo "bench: no benchmark is built"
    exit 0
fi
status=0
for name in "${names[@]}"; do
    echo "== $name"
    (cd "$bin_dir" && WINEPATH="$bin_dos" wine "./$name.exe") || { echo "bench: $name failed"; status=1; }
done
exit $status
