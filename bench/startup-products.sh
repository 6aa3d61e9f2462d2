#!/usr/bin/env bash
# Start of a signed-in app to its first painted products page, with the demo
# catalogue and two pre-installed plugins, and its peak memory.
#
#   bench/startup-products.sh [runs] [idle-seconds]
#
# One demo service and one private Xvfb serve all runs. Each run gets a
# fresh sandbox with Aurora 9 (current) and My Synth (older)
# pre-installed and a valid token stored as a sign-in leaves it, so the app
# checks the token, fetches the catalogue, reads the installed versions and
# builds the page. Measured from launch: the first frame (login page hidden,
# products page with spinner), the list put on the page, and the first paint
# of the page with the list; then, after the app has idled (pictures loaded),
# its peak resident memory (VmHWM).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs="${1:-10}"
idle="${2:-3}"

SESSION_BUILD="$VAMRHELPER_BUILD/linux"
SESSION_WORK="$(mktemp -d)"
source "$VAMRHELPER_REPO/scripts/session.sh"
trap 'session_cleanup; rm -rf "${SESSION_WORK:?}"' EXIT

session_require_built

session_start_xvfb 1920x1080x24
session_start_service
session_demo_account

first_frames=() listed=() painted=() peaks=() rows=""
for ((i = 1; i <= runs; i++)); do
    session_fresh_sandbox
    "$SESSION_SANDBOX_TOOL" preinstall aurora9 mysynth=1.2.3 >/dev/null
    session_store_demo_token >/dev/null

    launched=$(now_ms)
    session_start_app "run$i"
    wait_until 60 log_has 0 "extralog, products page painted: " || { echo "run $i: no products page within 60 s"; exit 1; }

    first_frames+=($(( $(log_time 0 "extralog, first frame painted") - launched )))
    listed+=($(( $(log_time 0 "extralog, products listed: ") - launched )))
    painted+=($(( $(log_time 0 "extralog, products page painted: ") - launched )))
    rows="$(log_since 0 | sed -n 's/^extralog, products page painted: \([0-9]*\) rows.*/\1/p' | head -n1)"

    sleep "$idle"
    peaks+=("$(awk '/VmHWM/ { print $2 }' "/proc/$session_app_pid/status")")
    session_quit_app
done

stats() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { printf "median %s  min %s  max %s", a[int((NR + 1) / 2)], a[1], a[NR] }'; }
echo "runs: $runs (demo catalogue: $rows rows; Aurora 9 and My Synth pre-installed; stored token)"
echo "launch to first frame (ms):                $(stats "${first_frames[@]}")"
echo "launch to list on the page (ms):           $(stats "${listed[@]}")"
echo "launch to products page painted (ms):      $(stats "${painted[@]}")"
echo "peak resident memory after ${idle} s idle (KiB): $(stats "${peaks[@]}")"
