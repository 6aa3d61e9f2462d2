#!/usr/bin/env bash
# Handing a sign-in link to the running instance, timed from the outside.
#
#   bench/link_handover.sh [runs]
#
# In a fresh sandbox on a private Xvfb:
#   1. a main instance runs; each run starts a process with a link and takes
#      the time until it has handed the link over and exited;
#   2. the main instance is killed (on Linux its FIFOs stay behind); each run
#      takes the time until a link-started process logs that it keeps the link
#      and becomes the main instance;
#   3. the main instance is stopped (SIGSTOP: it owns the pipe but answers
#      nothing); each run takes the time until the link-started process gives
#      up waiting and becomes the main instance itself.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs="${1:-10}"
app="$VAMRHELPER_BUILD/linux/Vamrelund Helper"
[ -x "$app" ] || { echo "build the app first (scripts/demo or scripts/test)"; exit 1; }

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -CONT "$pid" 2>/dev/null || true; kill -INT "$pid" 2>/dev/null || true; done
    sleep 0.5
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    kill "${xvfb:-0}" 2>/dev/null || true
    rm -rf "${work:?}"
}
trap cleanup EXIT

display=":$((100 + RANDOM % 400))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

export DISPLAY="$display" VAMRHELPER_ROOT="$work/sandbox" VAMRHELPER_SERVICE="http://127.0.0.1:9"
mkdir -p "$VAMRHELPER_ROOT"
log="$VAMRHELPER_ROOT/AppData/Vamrelund/VDS.txt"
link="vamrhelper://email=bench%40example.com&code=BENCH"

now_ms() { date +%s%3N; }
log_count() {
    local count=0
    [ -f "$log" ] && count=$(grep -ac -- "$1" "$log" || true)
    echo "${count:-0}"
}

# Waits until the log holds one more line with the text than before.
wait_for_line() {
    local text="$1" before="$2"
    for _ in $(seq 1 1000); do
        [ "$(log_count "$text")" -gt "$before" ] && return 0
        sleep 0.005
    done
    echo "no \"$text\" in the log" >&2
    return 1
}

start_main() {
    local before
    before=$(log_count "is served by this instance")
    "$app" "$@" >/dev/null 2>&1 &
    pids+=($!)
    wait_for_line "is served by this instance" "$before"
}

stats() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { printf "min %s  median %s  max %s", a[1], a[int((NR + 1) / 2)], a[NR] }'; }

# --- 1. hand-over to a running instance ---------------------------------------
start_main
main=${pids[-1]}
handovers=()
for ((i = 1; i <= runs; i++)); do
    started=$(now_ms)
    "$app" "$link" >/dev/null 2>&1 || { echo "run $i: the link-started process failed"; exit 1; }
    handovers+=($(( $(now_ms) - started )))
done
grep -qa "handed over to the running instance" "$log" || { echo "no hand-over in the log"; exit 1; }

# time_fallbacks ARRAY SIGNAL: starts link processes one after another, each
# timed until it logs that it kept its link, then stopped with the signal.
time_fallbacks() {
    local -n times="$1"
    local stop_signal="$2" before started pid
    times=()
    for ((i = 1; i <= runs; i++)); do
        before=$(log_count "kept by this instance")
        started=$(now_ms)
        "$app" "$link" >/dev/null 2>&1 &
        pid=$!
        wait_for_line "kept by this instance" "$before"
        times+=($(( $(now_ms) - started )))
        kill "-$stop_signal" "$pid"; wait "$pid" 2>/dev/null || true
    done
}

# --- 2. no instance, but a crashed one's pipe is left -----------------------------
kill -KILL "$main"; wait "$main" 2>/dev/null || true
# SIGKILL leaves each process's pipe behind for the next run.
time_fallbacks fallbacks KILL

# --- 3. an instance that owns the pipe but answers nothing --------------------------
start_main
hung=${pids[-1]}
kill -STOP "$hung"
time_fallbacks silent INT

echo "runs: $runs"
echo "link-started process, start to exit after the hand-over (ms): $(stats "${handovers[@]}")"
echo "link-started process, start to keeping the link, crashed owner's pipe left (ms): $(stats "${fallbacks[@]}")"
echo "link-started process, start to keeping the link, owner not answering (ms): $(stats "${silent[@]}")"
