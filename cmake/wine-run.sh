#!/usr/bin/env bash
# Runs a Windows program under Wine with Tavrik's test environment.
#
#   wine-run.sh [--prefix DIR] PROGRAM.exe [ARGS...]
#   wine-run.sh [--prefix DIR] --init          (only create the prefix)
#
# WINEPREFIX wins when set; otherwise DIR, otherwise "wineprefix" beside
# PROGRAM. The prefix is created on first use. The program's exit code is
# returned unchanged.
set -euo pipefail

usage() {
    echo "usage: $0 [--prefix DIR] (PROGRAM.exe [ARGS...] | --init)" >&2
    exit 2
}

prefix=""
if [[ "${1:-}" == "--prefix" ]]; then
    [[ $# -ge 2 ]] || usage
    prefix="$2"
    shift 2
fi
[[ $# -ge 1 ]] || usage
init_only=""
if [[ "$1" == "--init" ]]; then
    init_only=1
    [[ -n "$prefix" || -n "${WINEPREFIX:-}" ]] || usage
elif [[ -z "$prefix" ]]; then
    prefix="$(cd "$(dirname "$1")" && pwd)/wineprefix"
fi

export WINEPREFIX="${WINEPREFIX:-$prefix}"
# Japanese locale: the ANSI code page inside Wine is then 932. TAVRIK_LANG
# gives another one to a prefix of its own (en_US.UTF-8: code page 1252).
export LANG="${TAVRIK_LANG:-ja_JP.UTF-8}"
export LC_ALL="$LANG"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Create the prefix once; the lock keeps parallel tests from racing on it.
if [[ ! -e "$WINEPREFIX/.tavrik-ready" ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [[ ! -e "$WINEPREFIX/.tavrik-ready" ]]; then
            if ! wineboot -i >/dev/null 2>&1; then
                echo "error: wineboot could not set up $WINEPREFIX" >&2
                exit 1
            fi
            touch "$WINEPREFIX/.tavrik-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
[[ -z "$init_only" ]] || exit 0

# Windows and menus need an X display; lend a private one if there is none.
cmd=(wine "$@")
if [[ -z "${DISPLAY:-}" ]] && command -v xvfb-run >/dev/null 2>&1; then
    cmd=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" wine "$@")
fi

# The first program of a Wine session starts the session's helpers
# (services.exe, explorer.exe, ...), and they keep the standard output they
# inherit open for as long as the session lasts. Given ctest's pipe they
# would make it wait for ever, so the program writes to a file that is
# relayed as it grows, and this script ends when the program does.
out="$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")"
"${cmd[@]}" >"$out" 2>&1 </dev/null &
pid=$!
# On a signal, stop the program; with xvfb-run it is that script's child.
trap 'pkill -TERM -P "$pid" 2>/dev/null; kill "$pid" 2>/dev/null' HUP INT TERM
tail -s 0.1 -n +1 --pid="$pid" -f "$out" &
relay=$!
rc=0
wait "$pid" || rc=$?
# a signal interrupts wait; the program's own status comes after it ends
while kill -0 "$pid" 2>/dev/null; do
    rc=0
    wait "$pid" || rc=$?
done
wait "$relay" || true
rm -f "$out"
exit "$rc"
