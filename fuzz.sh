#!/usr/bin/env bash
# Native build of the portable code under AddressSanitizer and
# UndefinedBehaviorSanitizer: runs the portable unit tests, replays the
# recorded findings, then fuzzes every entry point (one libFuzzer target,
# fuzz/fuzz_tavrik.cpp) for the given seconds (default 300). Exits non-zero
# on any test failure or fuzz finding.
#   ./fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh

SECONDS_TO_FUZZ="${1:-300}"
BUILD="$TAVRIK_ROOT/build/native"
failed=()
passed=0

tavrik_step "Packages"
tavrik_require_packages

tavrik_step "Configure and build (native, clang with sanitizers)"
CC=clang CXX=clang++ cmake -S native -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$BUILD"

# A fresh drive for every run: C:\ and its folders live under build/native/drive.
export TAVRIK_NATIVE_ROOT="$BUILD/drive"
rm -rf "$TAVRIK_NATIVE_ROOT"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

tavrik_step "Unit tests (native, sanitizers)"
if "$BUILD/tavrik_native_tests" --gtest_brief=1; then
    passed=$((passed + 1))
else
    failed+=(native-unit-tests)
fi

tavrik_step "Recorded findings (fuzz/regressions)"
if "$BUILD/fuzz_tavrik" -timeout=10 fuzz/regressions/* >"$BUILD/regressions.log" 2>&1; then
    tavrik_note "$(ls fuzz/regressions | wc -l) replayed"
    passed=$((passed + 1))
else
    tail -40 "$BUILD/regressions.log"
    failed+=(regressions)
fi

tavrik_step "Fuzzing: ${SECONDS_TO_FUZZ} s"
# The working corpus grows from the checked-in seeds and is kept between runs.
mkdir -p "$BUILD/corpus" "$BUILD/findings"
log="$BUILD/fuzz.log"
if "$BUILD/fuzz_tavrik" -max_total_time="$SECONDS_TO_FUZZ" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$BUILD/findings/" "$BUILD/corpus" fuzz/corpus \
    >"$log" 2>&1; then
    tavrik_note "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log") runs, no finding"
    passed=$((passed + 1))
else
    tail -60 "$log"
    tavrik_note "FINDING (input saved in $BUILD/findings/)"
    failed+=(fuzz)
fi

tavrik_step "Summary"
echo "fuzz: ${passed} passed, ${#failed[@]} failed"
if ((${#failed[@]})); then
    tavrik_note "FAILED: ${failed[*]}"
    exit 1
fi
