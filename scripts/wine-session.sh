# Warm Wine session for the Windows tests (source it): Xvfb, private prefix, wineserver, keepalive.
#
#   source scripts/wine-session.sh
#   wine_session_begin build/wine-session build/win64/tests/e2e/keepalive.exe
#   trap wine_session_end EXIT
#
# A third argument "fresh" makes the prefix anew instead of reusing it (for tests that install).
# WINE_SESSION_DPI sets the display's dots per inch (96 unless set), e.g. 144 for a 150 % scale.
#
# begin exports DISPLAY, WINEPREFIX (<state-dir>/wineprefix), WINEARCH, WINEDEBUG, WINEDLLOVERRIDES.
# Both functions are idempotent and return non-zero on failure instead of exiting the caller.

_WINE_SESSION_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

_wine_session_say() {
    echo "wine-session: $*" >&2
}

# Runs a Wine tool with its output in the session log. The lock descriptor is closed so that no
# process outliving the session (wineserver -p, explorer) keeps the next session waiting.
_wine_session_run() {
    "$@" </dev/null >>"$_WINE_SESSION_STATE/wine.log" 2>&1 {_WINE_SESSION_LOCK_FD}>&-
}

# Waits up to $1 seconds for the command in $2... to succeed.
_wine_session_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.05
    done
}

_wine_session_nonempty() { [ -s "$1" ]; }
_wine_session_display_up() { xdpyinfo -display "$1" >/dev/null 2>&1; }
_wine_session_ready() { [ -e "$1" ] || ! kill -0 "$2" 2>/dev/null; }

# A stale Xvfb of an interrupted run on this state folder: its stderr is still our log file.
_wine_session_stop_stale_xvfb() {
    local pid log
    pid="$(cat "$_WINE_SESSION_STATE/xvfb.pid" 2>/dev/null || true)"
    log="$_WINE_SESSION_STATE/xvfb.log"
    if [ -n "$pid" ] && [ "$(readlink "/proc/$pid/fd/2" 2>/dev/null)" = "$log" ]; then
        _wine_session_say "stopping stale Xvfb $pid"
        kill "$pid" 2>/dev/null || true
        _wine_session_poll 10 test ! -e "/proc/$pid" || true
    fi
    rm -f "$_WINE_SESSION_STATE/xvfb.pid"
}

_wine_session_import_settings() {
    local reg="$_WINE_SESSION_SCRIPTS/wine-prefix.reg" key
    _wine_session_run wine regedit /S "Z:${reg//\//\\}" || return 1
    # The display's scale: Wine reads it from both keys.
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        _wine_session_run wine reg add "$key" /v LogPixels /t REG_DWORD \
            /d "$_WINE_SESSION_DPI" /f || return 1
    done
    # explorer.exe reads the desktop settings only when it starts.
    _wine_session_run wineserver -k || true
    _wine_session_run wineserver -w || true
    _wine_session_run wineserver -p
}

wine_session_begin() {
    if [ -n "${_WINE_SESSION_STATE:-}" ]; then
        _wine_session_say "already running (DISPLAY=${DISPLAY:-})"
        return 0
    fi
    # On failure, undo what was started: callers often install their EXIT trap only afterwards.
    if ! _wine_session_start "$@"; then
        wine_session_end
        return 1
    fi
}

_wine_session_start() {
    if [ $# -lt 2 ] || [ $# -gt 3 ] || [ "${3:-fresh}" != fresh ]; then
        _wine_session_say "usage: wine_session_begin <state-dir> <keepalive.exe> [fresh]"
        return 2
    fi
    local tool
    for tool in Xvfb xdpyinfo wine wineserver flock; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            _wine_session_say "missing $tool (scripts/install-deps.sh installs it)"
            return 1
        fi
    done
    if [ ! -f "$2" ]; then
        _wine_session_say "keepalive not found: $2"
        return 1
    fi
    local started=$SECONDS state keepalive
    mkdir -p "$1" || return 1
    state="$(cd "$1" && pwd)" || return 1
    keepalive="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")" || return 1

    # One session per state folder: a second caller waits rather than sharing our wineserver and
    # killing it under us when it ends.
    exec {_WINE_SESSION_LOCK_FD}>"$state/lock" || return 1
    if ! flock -n "$_WINE_SESSION_LOCK_FD"; then
        _wine_session_say "waiting for another session on $state"
        if ! flock -w 900 "$_WINE_SESSION_LOCK_FD"; then
            _wine_session_say "gave up waiting for the lock"
            exec {_WINE_SESSION_LOCK_FD}>&-
            unset _WINE_SESSION_LOCK_FD
            return 1
        fi
    fi
    # From here on wine_session_end knows what to stop.
    _WINE_SESSION_STATE="$state"
    _WINE_SESSION_OLD_DISPLAY="${DISPLAY-__unset__}"
    : >"$state/wine.log" || return 1

    _WINE_SESSION_DPI="${WINE_SESSION_DPI:-96}"
    case "$_WINE_SESSION_DPI" in
    '' | *[!0-9]*)
        _wine_session_say "WINE_SESSION_DPI must be a number of dots per inch"
        return 2
        ;;
    esac
    export WINEPREFIX="$state/wineprefix" WINEARCH=win64
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

    # Leftovers of a run that was killed before its end; the lock says they are ours.
    _wine_session_stop_stale_xvfb
    if [ -d "$WINEPREFIX" ]; then
        _wine_session_run wineserver -k || true
        _wine_session_run wineserver -w || true
        if [ "${3:-}" = fresh ]; then
            _wine_session_say "removing prefix $WINEPREFIX, as asked"
            rm -rf -- "$WINEPREFIX" || return 1
        fi
    fi

    rm -f "$state/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 {_WINE_SESSION_LOCK_FD}>&- &
    _WINE_SESSION_XVFB_PID=$!
    echo "$_WINE_SESSION_XVFB_PID" >"$state/xvfb.pid"
    if ! _wine_session_poll 20 _wine_session_nonempty "$state/display"; then
        _wine_session_say "Xvfb did not start (see $state/xvfb.log)"
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$state/display")"
    if ! _wine_session_poll 20 _wine_session_display_up "$DISPLAY"; then
        _wine_session_say "display $DISPLAY does not answer"
        return 1
    fi
    _wine_session_say "Xvfb on $DISPLAY"

    local stamp="$WINEPREFIX/.session-prefix" want
    want="$(cksum <"$_WINE_SESSION_SCRIPTS/wine-prefix.reg") dpi $_WINE_SESSION_DPI"
    if [ -f "$stamp" ]; then
        _wine_session_say "reusing prefix $WINEPREFIX"
        _wine_session_run wineserver -p || return 1
        if [ "$(cat "$stamp")" != "$want" ]; then
            _wine_session_say "prefix settings changed, importing them"
            _wine_session_import_settings || return 1
            echo "$want" >"$stamp"
        fi
    else
        # No stamp: absent, or left half-made by an interrupted run.
        _wine_session_say "creating prefix $WINEPREFIX"
        rm -rf -- "$WINEPREFIX" && mkdir -p "$WINEPREFIX" || return 1
        # Persistent server first (it needs the folder): no idle exits between the steps.
        _wine_session_run wineserver -p || return 1
        if ! _wine_session_run wine wineboot -i; then
            _wine_session_say "wineboot failed (see $state/wine.log)"
            return 1
        fi
        # Debian's wine leaves C:\windows\Fonts empty; without these there is no Tahoma.
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
        _wine_session_import_settings || return 1
        echo "$want" >"$stamp" || return 1
    fi

    # keepalive owns the desktop, so no test process lends explorer.exe its stdout, and it keeps
    # the system processes alive between tests.
    local ready="$state/keepalive.ready" pid
    rm -f "$ready"
    wine "$keepalive" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 {_WINE_SESSION_LOCK_FD}>&- &
    pid=$!
    disown "$pid" 2>/dev/null || true
    if ! _wine_session_poll 60 _wine_session_ready "$ready" "$pid" || [ ! -e "$ready" ]; then
        _wine_session_say "keepalive did not start"
        return 1
    fi
    _wine_session_say "ready in $((SECONDS - started)) s (DISPLAY=$DISPLAY, WINEPREFIX=$WINEPREFIX)"
}

wine_session_end() {
    if [ -z "${_WINE_SESSION_STATE:-}" ]; then
        return 0
    fi
    local state="$_WINE_SESSION_STATE"
    # Only this prefix's server: it ends every Wine process of the session, keepalive included.
    if [ -d "$state/wineprefix" ]; then
        WINEPREFIX="$state/wineprefix" _wine_session_run wineserver -k || true
        WINEPREFIX="$state/wineprefix" _wine_session_run wineserver -w || true
    fi
    if [ -n "${_WINE_SESSION_XVFB_PID:-}" ]; then
        kill "$_WINE_SESSION_XVFB_PID" 2>/dev/null || true
        wait "$_WINE_SESSION_XVFB_PID" 2>/dev/null || true
        _wine_session_poll 10 test ! -e "/proc/$_WINE_SESSION_XVFB_PID" || true
        rm -f "$state/xvfb.pid"
    fi
    if [ "${_WINE_SESSION_OLD_DISPLAY:-__unset__}" = __unset__ ]; then
        unset DISPLAY
    else
        export DISPLAY="$_WINE_SESSION_OLD_DISPLAY"
    fi
    if [ -n "${_WINE_SESSION_LOCK_FD:-}" ]; then
        exec {_WINE_SESSION_LOCK_FD}>&-
    fi
    unset _WINE_SESSION_STATE _WINE_SESSION_XVFB_PID _WINE_SESSION_LOCK_FD _WINE_SESSION_OLD_DISPLAY
    _wine_session_say "stopped"
}
