#!/usr/bin/env bash
# Native build of the text core under AddressSanitizer and
# UndefinedBehaviorSanitizer: runs the portable unit tests, replays the
# recorded findings, then runs every libFuzzer target for the given seconds
# (default 60). Exits non-zero on any test failure or fuzz finding.
#   ./fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh

SECONDS_PER_TARGET="${1:-60}"
BUILD="$TAVRIK_ROOT/build/native"
TARGETS=(loader checker directives param_block placeholders macros path_list cmdline launch_paths iconcache)
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
for target in "${TARGETS[@]}"; do
    files=(fuzz/regressions/"$target"/*)
    [[ -e "${files[0]}" ]] || continue
    if "$BUILD/fuzz_$target" -timeout=10 "${files[@]}" >"$BUILD/regressions-$target.log" 2>&1; then
        tavrik_note "$target: ${#files[@]} replayed"
        passed=$((passed + 1))
    else
        tail -40 "$BUILD/regressions-$target.log"
        failed+=("regressions-$target")
    fi
done

tavrik_step "Fuzzing: ${SECONDS_PER_TARGET} s per target"
for target in "${TARGETS[@]}"; do
    # The working corpus grows from the checked-in seeds and is kept between runs.
    corpus="$BUILD/corpus/$target"
    findings="$BUILD/findings/$target"
    mkdir -p "$corpus" "$findings"
    log="$BUILD/fuzz-$target.log"
    if "$BUILD/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        tavrik_note "$target: ${runs:-?} runs, no finding"
        passed=$((passed + 1))
    else
        tail -60 "$log"
        tavrik_note "$target: FINDING (input saved in $findings/)"
        failed+=("fuzz-$target")
    fi
done

tavrik_step "Summary"
echo "fuzz: ${passed} passed, ${#failed[@]} failed"
if ((${#failed[@]})); then
    tavrik_note "FAILED: ${failed[*]}"
    exit 1
fi
