#!/usr/bin/env bash
# Start-up benchmark: the time from process start to a visible menu, for
# Tavrik with a definition of about 500 rows and for a minimal program that
# shows a popup menu of as many plain items as Tavrik's top level holds.
#
#   bench/run_bench.sh [--phases] [--icons] [--baseline EXE] [RUNS]
#   (RUNS starts of each, 25 by default)
#
# --phases adds two reduced forms of the definition to the same run, to show
# where Tavrik's time goes: "fullpath" names the 50 programs by full path
# instead of bare names, "toponly" keeps only the top level's items.
# --icons adds the same definition owner-drawn with icons ("@icon=1") twice:
# "icons" reads its icon cache warm (the warm-up start wrote it), "cold" has
# its cache deleted before every start, so that each start writes it anew.
# --baseline adds another build of Tavrik.exe (an earlier version, to compare
# in one run): "old" with the same definition, and with --icons "oldcold".
#
# Every start of Tavrik appends its phases to a file (TAVRIK_TIMING), and the
# medians are printed beside the totals: from the process's start to main
# (the DLLs it imports loaded), the definition loaded (with the sums of
# resolution, folder listings and placeholders), the icon cache checked and
# loaded, the menu built and shown.
#
# Every program is timed stripped of its debug information, as the release
# package ships it.
#
# Both run in turn from the same harness (bench/startbench.cpp) under Wine,
# in a prefix of their own (build/windows-x64/bench/wineprefix). The result
# is printed and kept in build/windows-x64/bench/result.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/env.sh

PHASES=""
ICONS=""
BASELINE=""
while [[ "${1:-}" == --* ]]; do
    case "$1" in
    --phases) PHASES=1 ;;
    --icons) ICONS=1 ;;
    --baseline) BASELINE="$(realpath "$2")"; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
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

tavrik_step "Program folders"
folder="$WINEPREFIX/drive_c/bench"
rm -rf "$folder"
mkdir -p "$folder"
cp "$BUILD_X64/tavrik_bench_minimal.exe" "$BUILD_X64/tavrik_bench_harness.exe" "$folder/"
# Every program is timed as the release package ships it, without its debug
# information: mapping those megabytes costs a start about 10 ms under Wine.
x86_64-w64-mingw32-strip --strip-debug "$folder/tavrik_bench_minimal.exe"
# pairs of a folder name and the generator option that makes its definition
variants=("tavrik" "")
if [[ -n "$PHASES" ]]; then
    variants+=("fullpath" "--full-paths" "toponly" "--top-only")
fi
if [[ -n "$ICONS" ]]; then
    variants+=("icons" "--icons" "cold" "--icons")
fi
if [[ -n "$BASELINE" ]]; then
    variants+=("old" "")
    [[ -z "$ICONS" ]] || variants+=("oldcold" "--icons")
fi
programs=()
for ((i = 0; i < ${#variants[@]}; i += 2)); do
    name="${variants[i]}"
    mkdir -p "$folder/$name"
    exe="$BUILD_X64/Tavrik.exe"
    [[ "$name" != old* ]] || exe="$BASELINE"
    cp "$exe" "$folder/$name/Tavrik.exe"
    x86_64-w64-mingw32-strip --strip-debug "$folder/$name/Tavrik.exe"
    # shellcheck disable=SC2086  # the option is one word or none
    read -r items rows < <(python3 bench/make_definition.py "$folder/$name" "C:\\bench\\$name" ${variants[i + 1]})
    tavrik_note "$name: $rows rows in [launch], $items items on the top level"
    [[ -n "${top_items:-}" ]] || top_items=$items
    label="$name"
    [[ "$name" != *cold ]] || label="$name=C:\\bench\\$name\\Tavrik.tvi"
    programs+=("$label" "C:\\bench\\$name\\Tavrik.exe")
done

tavrik_step "Timing $RUNS starts of each"
cd "$folder"
"$TAVRIK_ROOT/cmake/wine-run.sh" tavrik_bench_harness.exe "$RUNS" "${programs[@]}" \
    minimal "C:\\bench\\tavrik_bench_minimal.exe $top_items" | tee "$BENCH_DIR/result.txt"
