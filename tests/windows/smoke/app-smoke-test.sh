#!/usr/bin/env bash
# Starts "Vamrelund Helper.exe" under Wine with a sandbox root, waits for its
# window, asks it to close like its close button does, and checks that it
# quit cleanly and wrote its log. Also checks that it needs no DLL beside it.
#
# usage: app-smoke-test.sh <wine-run> <app.exe> <close_main_window.exe> <objdump> <work folder>
set -euo pipefail
wine_run="$1" app="$2" closer="$3" objdump="$4" work="$5"

fail() { echo "FAIL: $*" >&2; exit 1; }

# --- Linked statically: only Windows' own DLLs are imported ---------------------
imports=$("$objdump" -p "$app" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || fail "no imports read from $app"
if grep -iE '^(lib|zlib|mingw)' <<<"$imports"; then
    fail "the executable needs DLLs that Windows does not have (above)"
fi

# --- Start, window, close on request ----------------------------------------------
rm -rf "${work:?}"
sandbox="$work/sandbox"
mkdir -p "$sandbox"
# Wine shows the Unix root as drive Z:.
windows_sandbox="Z:${sandbox//\//\\}"

VAMRHELPER_ROOT="$windows_sandbox" "$wine_run" "$app" </dev/null >"$work/app.out" 2>&1 &
app_pid=$!

if ! "$wine_run" "$closer" "Vamrelund Helper" 60000 </dev/null >"$work/closer.out" 2>&1; then
    kill "$app_pid" 2>/dev/null || true
    cat "$work/closer.out" "$work/app.out" >&2
    fail "the main window did not appear"
fi
cat "$work/closer.out"
grep -q '^client size 820 x 600' "$work/closer.out" || fail "the window's content is not 820 x 600"

for _ in $(seq 1 300); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" || true
    cat "$work/app.out" "$sandbox/AppData/Vamrelund/VDS.txt" >&2 2>/dev/null || true
    fail "the app did not quit within 30 s of being asked to close"
fi
app_rc=0
wait "$app_pid" || app_rc=$?
cat "$work/app.out"
[ "$app_rc" -eq 0 ] || fail "the app exited with code $app_rc"
if grep -iE 'unhandled exception|page fault|assertion|terminate called' "$work/app.out"; then
    fail "the app crashed (above)"
fi
grep -q '^VamretApplication initialise <>' "$work/app.out" || fail "no initialise line on standard output"

# --- What it left in the sandbox ----------------------------------------------------
log="$sandbox/AppData/Vamrelund/VDS.txt"
[ -f "$log" ] || fail "no log file at $log"
for expected in 'VDS log' ' MainComponent::initialize' ' dumpCommandeLineForDebug:' ' extralog, first frame painted' " pfile_ <${windows_sandbox}\\ProgramData\\Vamrelund\\Vamrelund Helper\\Vamrelund Helper.settings>"; do
    grep -qF -- "$expected" "$log" || { cat "$log" >&2; fail "the log lacks \"$expected\""; }
done
grep -q $'\r$' "$log" || fail "log lines do not end in CR LF"
[ -d "$sandbox/ProgramData/Vamrelund" ] || fail "the data folder was not created"

echo "Smoke test passed: window shown, closed on request, exit code 0, log at $log"
