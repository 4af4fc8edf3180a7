#!/usr/bin/env bash
# Builds everything and runs every benchmark under Wine on a virtual display.
# A benchmark is an executable named *_bench.exe in the tests' folder; each
# prints its figures as ratios against a reference measured in the same run.
# Arguments name benchmarks to run (without .exe); none runs them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${TARNWELL_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
wine_env_start "$build_dir"
bin_dir="$build_dir/tests/bin"
bin_dos="Z:$(echo "${TARNWELL_BIN_DIR:-$root/bin}" | tr / '\\')"
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
