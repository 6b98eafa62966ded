#!/usr/bin/env bash
# Start-up benchmark: the time from process start to a visible menu, for
# Tavrik with a definition of about 500 rows and for a minimal program that
# shows a popup menu of as many plain items as Tavrik's top level holds.
#
#   bench/run_bench.sh [RUNS]      (RUNS starts of each, 25 by default)
#
# Both run in turn from the same harness (bench/startbench.cpp) under Wine,
# in a prefix of their own (build/windows-x64/bench/wineprefix). The result
# is printed and kept in build/windows-x64/bench/result.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/env.sh

RUNS=${1:-25}
BUILD_X64="$TAVRIK_ROOT/build/windows-x64"
BENCH_DIR="$BUILD_X64/bench"

trap tavrik_cleanup EXIT
trap 'exit 130' INT TERM

tavrik_step "Packages"
tavrik_require_packages

tavrik_step "Build (windows-x64)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target Tavrik tavrik_bench_minimal tavrik_bench_harness

tavrik_step "Display and Wine"
tavrik_start_display
mkdir -p "$BENCH_DIR"
export WINEPREFIX="$BENCH_DIR/wineprefix"
tavrik_wine_env "$BUILD_X64"

tavrik_step "Program folder"
folder="$WINEPREFIX/drive_c/bench"
rm -rf "$folder"
mkdir -p "$folder"
cp "$BUILD_X64/Tavrik.exe" "$BUILD_X64/tavrik_bench_minimal.exe" \
    "$BUILD_X64/tavrik_bench_harness.exe" "$folder/"
read -r top_items rows < <(python3 bench/make_definition.py "$folder" 'C:\bench')
tavrik_note "Tavrik.ini: $rows rows in [launch], $top_items items on the top level"

tavrik_step "Timing $RUNS starts of each"
cd "$folder"
"$TAVRIK_ROOT/cmake/wine-run.sh" tavrik_bench_harness.exe "$RUNS" \
    tavrik 'C:\bench\Tavrik.exe' \
    minimal "C:\\bench\\tavrik_bench_minimal.exe $top_items" | tee "$BENCH_DIR/result.txt"
