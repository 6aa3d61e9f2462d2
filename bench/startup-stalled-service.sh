#!/usr/bin/env bash
# Start with a stored token against a service that accepts the connection but
# never answers: how long until the window first paints, and what the screen
# shows meanwhile.
#
#   bench/startup-stalled-service.sh [runs] [look-after-ms]
#
# The token check at start is one synchronous request on the message thread
# that gives up after its time-out. Each run starts a demo service that holds
# every request for an hour (--latency), a fresh sandbox with a stored token,
# and the app. Measured from launch: when the window is on screen at its full
# size (polled with xdotool every 50 ms) and when its first frame is painted
# (the log). The screen is captured look-after-ms after launch (default 3000)
# and described: the app's mapped windows with their geometry, and how many
# colours the whole screen holds (1: nothing drawn). The last capture is kept
# as stalled-start.png in the build folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs="${1:-5}"
look_after="${2:-3000}"

SESSION_BUILD="$VAMRHELPER_BUILD/linux"
SESSION_WORK="$(mktemp -d)"
source "$VAMRHELPER_REPO/scripts/session.sh"
trap 'session_cleanup; rm -rf "${SESSION_WORK:?}"' EXIT

session_require_built

session_start_xvfb 1280x1024x24
shot="$SESSION_BUILD/stalled-start.png"
full_size="820x600"

# The app's mapped windows as WxH+X+Y, space-separated ("none" when there is none).
window_sizes() {
    local ids id list=""
    ids="$(xdotool search --onlyvisible --name '^Vamrelund Helper$' 2>/dev/null || true)"
    for id in $ids; do
        list+="$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Position/ { split($2, p, ","); pos = "+" p[1] "+" p[2] } /Geometry/ { print $2 pos }') "
    done
    list="${list% }"
    echo "${list:-none}"
}

mapped=() painted=() looks=() pages=()
for ((i = 1; i <= runs; i++)); do
    session_start_service --latency 3600000
    session_fresh_sandbox
    "$SESSION_SANDBOX_TOOL" store-sign-in demo@example.com stalled-token >/dev/null

    launched=$(now_ms)
    session_start_app "run$i"

    map_time="" looked=""
    deadline=$(( launched + 60000 ))
    while [ "$(now_ms)" -lt "$deadline" ]; do
        now=$(now_ms)
        if [ -z "$looked" ] && [ "$now" -ge $(( launched + look_after )) ]; then
            import -window root "$shot" 2>/dev/null
            colours=$(convert "$shot" -format '%k' info:)
            looked="app windows on screen: $(window_sizes), colours on the whole screen: $colours"
        fi
        [ -z "$map_time" ] && [[ "$(window_sizes)" == "$full_size"+* ]] && map_time=$now
        [ -n "$map_time" ] && [ -n "$looked" ] && log_has 0 "extralog, first frame painted" && break
        sleep 0.05
    done
    [ -n "$map_time" ] && log_has 0 "extralog, first frame painted" || { echo "run $i: no window within 60 s"; exit 1; }

    mapped+=($(( map_time - launched )))
    painted+=($(( $(log_time 0 "extralog, first frame painted") - launched )))
    looks+=("$looked")
    login_shown() { window_shot "$SESSION_WORK/after.png" && [ "$(pixel "$SESSION_WORK/after.png" 5 5)" = f1f3f5 ]; }
    wait_until 5 login_shown && pages+=("login page") || pages+=("not the login page")

    session_quit_app
    kill "$session_service_pid" 2>/dev/null || true
    wait "$session_service_pid" 2>/dev/null || true
    session_service_pid=""
done

stats() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { printf "median %s  min %s  max %s", a[int((NR + 1) / 2)], a[1], a[NR] }'; }
echo "runs: $runs (stored token; the service accepts and never answers)"
echo "launch to a mapped ${full_size} window (ms): $(stats "${mapped[@]}")"
echo "launch to first frame painted (ms): $(stats "${painted[@]}")"
echo "screen ${look_after} ms after launch: $(printf '%s\n' "${looks[@]}" | sort | uniq -c | sed 's/^ *//' | paste -sd ';')"
echo "then shown: $(printf '%s\n' "${pages[@]}" | sort | uniq -c | sed 's/^ *//' | paste -sd ';')"
echo "last capture: $shot"
