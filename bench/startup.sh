#!/usr/bin/env bash
# Cold start to the first painted frame, and peak memory once idle.
#
#   bench/startup.sh [runs] [idle-seconds]
#
# Each run uses a fresh sandbox, starts the app on a private Xvfb, takes the
# time from launch to the "first frame painted" log line, lets the app idle,
# then reads its peak resident memory (VmHWM) before stopping it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs="${1:-10}"
idle="${2:-3}"
app="$VAMRHELPER_BUILD/linux/Vamrelund Helper"
[ -x "$app" ] || { echo "build the app first (scripts/demo or scripts/test)"; exit 1; }

work="$(mktemp -d)"
trap 'kill "${xvfb:-0}" 2>/dev/null || true; rm -rf "${work:?}"' EXIT

display=":$((100 + RANDOM % 400))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

starts=()
peaks=()
for ((i = 1; i <= runs; i++)); do
    sandbox="$work/run$i"
    mkdir -p "$sandbox"
    log="$sandbox/AppData/Vamrelund/VDS.txt"

    launched=$(date +%s%3N)
    DISPLAY="$display" VAMRHELPER_ROOT="$sandbox" "$app" >/dev/null 2>&1 &
    pid=$!

    painted=""
    for _ in $(seq 1 500); do
        if [ -f "$log" ] && painted=$(grep -a "first frame painted" "$log" | cut -d' ' -f1) && [ -n "$painted" ]; then
            break
        fi
        sleep 0.01
    done
    [ -n "$painted" ] || { echo "run $i: no frame painted"; kill "$pid"; exit 1; }

    sleep "$idle"
    peak_kb=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    kill -INT "$pid"; wait "$pid" 2>/dev/null || true   # quits cleanly and removes its link pipe

    starts+=($((painted - launched)))
    peaks+=("$peak_kb")
done

stats() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { printf "min %s  median %s  max %s", a[1], a[int((NR + 1) / 2)], a[NR] }'; }
echo "runs: $runs"
echo "start to first painted frame (ms): $(stats "${starts[@]}")"
echo "peak resident memory after ${idle} s idle (KiB): $(stats "${peaks[@]}")"
