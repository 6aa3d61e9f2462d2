# The Wine part of a session (source it after session.sh): the Windows app of
# a cross build runs under Wine, while the demo service and the sandbox tool
# stay the natively built ones of SESSION_BUILD.
#
# Set before sourcing: SESSION_WINDOWS_BUILD (the Windows build folder, with
# its wine-run, the app and the window closer of the Windows tests).
#
# Under Wine with no window manager the X window of the app is exactly its
# client area, so screenshots, clicks and sizes work as on Linux.

SESSION_APP="$SESSION_WINDOWS_BUILD/Vamrelund Helper.exe"
SESSION_WINE_RUN="$SESSION_WINDOWS_BUILD/wine-run"
SESSION_WINDOW_CLOSER="$SESSION_WINDOWS_BUILD/tests/vamrhelper_close_main_window.exe"

# A Linux path as the app sees it: Wine shows the Unix root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The sandbox's Linux path (for the native tools) as Wine must hand it to the app.
session_app_sandbox() { windows_path "${VAMRHELPER_ROOT:?session_fresh_sandbox first}"; }

session_run_app() {
    VAMRHELPER_ROOT="$(session_app_sandbox)" "$SESSION_WINE_RUN" "$SESSION_APP" "$@" </dev/null
}

# wine-run ends in exec, so the background process is the app itself and its
# exit status is the app's exit code.
session_start_app() {
    VAMRHELPER_ROOT="$(session_app_sandbox)" "$SESSION_WINE_RUN" "$SESSION_APP" </dev/null >"$SESSION_WORK/app-$1.out" 2>&1 &
    session_app_pid=$!
}

# Wine with no window manager waits 2 s for each mapped window it hides to be
# withdrawn (the main window and the four strips of its drop shadow), so an
# app that quits at once is gone only some 10 s later.
session_wine_unmap_seconds=15

# Asks the app to quit the way its close button does (WM_CLOSE; a signal to
# the Wine process would end it without saving) and waits for it, the given
# bound plus Wine's unmapping; the exit status is in SESSION_APP_EXIT.
session_quit_app() {
    local pid="$session_app_pid"
    SESSION_APP_EXIT=""
    [ -n "$pid" ] || return 0
    "$SESSION_WINE_RUN" "$SESSION_WINDOW_CLOSER" "Vamrelund Helper" 10000 </dev/null >>"$SESSION_WORK/window-closer.out" 2>&1 || true
    if ! wait_until $(( ${1:-20} + session_wine_unmap_seconds )) process_gone "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    SESSION_APP_EXIT=0
    wait "$pid" 2>/dev/null || SESSION_APP_EXIT=$?
    session_app_pid=""
}

# The Windows tar that the app runs to unpack: Wine has none of its own, so
# scripts/test-windows puts the cross-built bsdtar in the prefix.
session_wine_has_tar() {
    local prefix
    prefix="$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$SESSION_WINE_RUN")"
    [ -f "$prefix/drive_c/windows/system32/tar.exe" ]
}
