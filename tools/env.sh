# Shared by test.sh and run.sh (source it; bash only).
#
# Installs what the build needs, lends an X display when there is none and
# keeps a Wine prefix per build tree. Everything started here is stopped by
# tavrik_cleanup, which the scripts run on exit.

TAVRIK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the tests, run.sh and the benchmark use
# (python3: the resource check, the end-to-end tests, the benchmark's menu;
# clang, its sanitizer and libFuzzer runtimes and llvm's symbolizer: fuzz.sh).
TAVRIK_PACKAGES=(
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    cmake ninja-build googletest cppcheck
    clang libclang-rt-dev llvm
    wine wine64 xvfb xauth xdotool imagemagick
    locales fonts-ipafont-gothic
    python3
)

_tavrik_xvfb_pid=""
_tavrik_started_wineserver=""

tavrik_step() {
    printf '\n\033[1m==> %s\033[0m\n' "$*"
}

tavrik_note() {
    printf '    %s\n' "$*"
}

# apt-get only for what is missing; `apt-get update` only when something is.
tavrik_require_packages() {
    local missing=() pkg
    for pkg in "${TAVRIK_PACKAGES[@]}"; do
        if [[ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]]; then
            missing+=("$pkg")
        fi
    done
    if ((${#missing[@]})); then
        tavrik_note "installing: ${missing[*]}"
        if [[ $(id -u) -ne 0 ]]; then
            echo "error: root is needed to install ${missing[*]}" >&2
            return 1
        fi
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q
        apt-get install -y -q "${missing[@]}"
    else
        tavrik_note "all packages present"
    fi
    # Wine's ANSI code page follows the locale: ja_JP.UTF-8 gives 932, the
    # one the tests run in; en_US.UTF-8 gives 1252 for the English texts.
    local wanted
    for wanted in ja_JP en_US; do
        if ! locale -a 2>/dev/null | grep -qix "$wanted\.utf-\?8"; then
            tavrik_note "generating locale $wanted.UTF-8"
            if grep -q "^# *$wanted.UTF-8 UTF-8" /etc/locale.gen; then
                sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
            elif ! grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen; then
                echo "$wanted.UTF-8 UTF-8" >>/etc/locale.gen
            fi
            locale-gen >/dev/null
        fi
    done
}

# Starts Xvfb on a free display when DISPLAY is unset; TAVRIK_OWN_DISPLAY
# then says so.
TAVRIK_OWN_DISPLAY=""
tavrik_start_display() {
    if [[ -n "${DISPLAY:-}" ]]; then
        tavrik_note "using DISPLAY=$DISPLAY"
        return 0
    fi
    local fdfile display="" i
    fdfile="$(mktemp)"
    # -displayfd picks a free display and writes its number once it is ready.
    # -noreset: by default the server resets whenever its last client leaves
    # and refuses connections meanwhile, which a Wine process starting just
    # as a short-lived client (xdotool, import) leaves would meet.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
    _tavrik_xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
        display="$(tr -dc 0-9 <"$fdfile")"
        [[ -n "$display" ]] && break
        if ! kill -0 "$_tavrik_xvfb_pid" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    rm -f "$fdfile"
    if [[ -z "$display" ]]; then
        echo "error: Xvfb did not start" >&2
        return 2
    fi
    export DISPLAY=":$display"
    TAVRIK_OWN_DISPLAY=1
    tavrik_note "started Xvfb on DISPLAY=$DISPLAY (pid $_tavrik_xvfb_pid)"
    return 0
}

# Environment for Wine with the prefix of build tree $1 (unless WINEPREFIX is
# set), a persistent wineserver for it, and the prefix itself on first use.
tavrik_wine_env() {
    local build_dir="$1"
    export WINEPREFIX="${WINEPREFIX:-$build_dir/wineprefix}"
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    mkdir -p "$WINEPREFIX"
    # The server comes first: wineboot would otherwise start a short-lived
    # one of its own. A persistent server makes each Wine process start fast.
    if wineserver -p 2>/dev/null; then
        # it goes to the background itself; tavrik_cleanup ends it
        _tavrik_started_wineserver=1
        tavrik_note "started a persistent wineserver for $WINEPREFIX"
    else
        tavrik_note "a wineserver already runs for $WINEPREFIX"
    fi
    if [[ ! -e "$WINEPREFIX/.tavrik-ready" ]]; then
        tavrik_note "creating the Wine prefix (first run only)"
    fi
    "$TAVRIK_ROOT/cmake/wine-run.sh" --init
}

tavrik_cleanup() {
    if [[ -n "$_tavrik_started_wineserver" ]]; then
        wineserver -k 2>/dev/null || true
        _tavrik_started_wineserver=""
    fi
    if [[ -n "$_tavrik_xvfb_pid" ]]; then
        kill "$_tavrik_xvfb_pid" 2>/dev/null || true
        wait "$_tavrik_xvfb_pid" 2>/dev/null || true
        _tavrik_xvfb_pid=""
    fi
}
