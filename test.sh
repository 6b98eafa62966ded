#!/usr/bin/env bash
# Builds Tavrik for Windows, checks the sources and runs the tests under Wine;
# then the native sanitizer build, its tests and two minutes of fuzzing (fuzz.sh).
# Meant for Debian 12 as root: whatever is missing gets installed first.
# Exits non-zero when any step fails.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh

BUILD_X64="$TAVRIK_ROOT/build/windows-x64"
start=$SECONDS
failed=()

trap tavrik_cleanup EXIT
trap 'exit 130' INT TERM

tavrik_step "Packages"
tavrik_require_packages

tavrik_step "Display and Wine"
tavrik_start_display
tavrik_wine_env "$BUILD_X64"
tavrik_note "WINEPREFIX=$WINEPREFIX LANG=$LANG"

tavrik_step "Configure and build (windows-x64)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64

tavrik_step "Layers (include graph and stage order)"
if ! python3 tools/layers.py; then
    failed+=(layers)
fi

tavrik_step "cppcheck"
mkdir -p "$BUILD_X64/cppcheck"
if cppcheck --quiet --error-exitcode=1 --inline-suppr \
    --enable=warning,portability --std=c++17 --language=c++ \
    --platform=win64 --library=windows \
    -I . -D_WIN32 -D_WIN64 -DWINVER=0x0601 -D_WIN32_WINNT=0x0601 \
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
    --suppress=missingIncludeSystem \
    --cppcheck-build-dir="$BUILD_X64/cppcheck" -j "$(nproc)" \
    core definition menu launch app check tests/e2e bench; then
    tavrik_note "no findings"
else
    failed+=(cppcheck)
fi

tavrik_step "Tests (ctest, under Wine)"
if ! ctest --preset windows-x64; then
    failed+=(tests)
fi

tavrik_step "Sanitizers and fuzzing (native, ./fuzz.sh 120)"
if ! ./fuzz.sh 120; then
    failed+=(fuzz)
fi

tavrik_step "Build (windows-x86)"
if ! { cmake --preset windows-x86 >/dev/null && cmake --build --preset windows-x86; }; then
    failed+=(windows-x86)
fi

tavrik_step "Summary"
tavrik_note "took $((SECONDS - start)) s"
if ((${#failed[@]})); then
    tavrik_note "FAILED: ${failed[*]}"
    exit 1
fi
tavrik_note "all steps passed"
