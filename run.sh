#!/usr/bin/env bash
# Builds Tavrik and starts it under Wine with the example menu definition.
#
# With DISPLAY set the program runs on that display until it ends. Without
# one it runs on a private Xvfb display: once its window shows (or it has
# ended) a screenshot goes to build/windows-x64/screenshot.png, Escape
# dismisses the menu, and the program's exit code becomes this script's.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh

BUILD_X64="$TAVRIK_ROOT/build/windows-x64"
RUN_DIR="$BUILD_X64/run"
SHOT="$BUILD_X64/screenshot.png"
WINDOW_TIMEOUT=${TAVRIK_WINDOW_TIMEOUT:-30}  # seconds until a window must show
EXIT_TIMEOUT=${TAVRIK_EXIT_TIMEOUT:-15}      # seconds to end after Escape

trap tavrik_cleanup EXIT
trap 'exit 130' INT TERM

tavrik_step "Packages"
tavrik_require_packages

tavrik_step "Build (windows-x64)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target Tavrik  # the tests are test.sh's business

# A scratch folder keeps the build folder free of the program's own files.
mkdir -p "$RUN_DIR"
cp "$BUILD_X64/Tavrik.exe" "$RUN_DIR/"
cp res/example.ini "$RUN_DIR/Tavrik.ini"

tavrik_step "Run"
tavrik_start_display
tavrik_wine_env "$BUILD_X64"
cd "$RUN_DIR"

if [[ -z "$TAVRIK_OWN_DISPLAY" ]]; then
    tavrik_note "running $RUN_DIR/Tavrik.exe on $DISPLAY"
    rc=0
    "$TAVRIK_ROOT/cmake/wine-run.sh" Tavrik.exe || rc=$?
    tavrik_note "exit code: $rc"
    exit "$rc"
fi

"$TAVRIK_ROOT/cmake/wine-run.sh" Tavrik.exe &
pid=$!

has_window() {
    xdotool search --onlyvisible --class Tavrik.exe >/dev/null 2>&1
}

# Xvfb runs no window manager: keys go where the X focus is, so give it to
# the newest window of the program (the innermost open menu) first.
press_escape() {
    local win
    win="$(xdotool search --onlyvisible --class Tavrik.exe 2>/dev/null | tail -n 1)" || true
    if [[ -n "$win" ]]; then
        xdotool windowfocus "$win" 2>/dev/null || true
    fi
    xdotool key Escape 2>/dev/null || true
}

# Poll: the program either shows a window or ends.
deadline=$((SECONDS + WINDOW_TIMEOUT))
state="timeout"
while ((SECONDS < deadline)); do
    if ! kill -0 "$pid" 2>/dev/null; then
        state="ended"
        break
    fi
    if has_window; then
        state="window"
        sleep 0.5  # let it finish painting
        break
    fi
    sleep 0.2
done
tavrik_note "program state: $state"

import -window root "$SHOT"
tavrik_note "screenshot: $SHOT"

if [[ "$state" != "ended" ]]; then
    deadline=$((SECONDS + EXIT_TIMEOUT))
    next_key=0
    while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do
        # one Escape per open menu level, a second apart
        if ((SECONDS >= next_key)); then
            press_escape
            next_key=$((SECONDS + 1))
        fi
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        tavrik_note "program did not end within ${EXIT_TIMEOUT}s; stopping it"
        kill "$pid" 2>/dev/null || true
    fi
fi

rc=0
wait "$pid" || rc=$?
tavrik_note "exit code: $rc"
exit "$rc"
