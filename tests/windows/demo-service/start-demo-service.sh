#!/usr/bin/env bash
# ctest's fixture set-up for the Windows service tests: starts the natively
# built demo service with its control endpoints in the background and writes
# its origin to <state>/origin, its process id to <state>/pid.
# Usage: start-demo-service.sh <vamrhelper-demo-service> <state folder>
set -euo pipefail
app="${1:?the demo service executable}"
state="${2:?a state folder}"
mkdir -p "$state"

# A service left over from a run that never reached the clean-up.
bash "$(dirname "${BASH_SOURCE[0]}")/stop-demo-service.sh" "$state"

# Its own session, and no pipe of ctest's: ctest would otherwise wait for it.
setsid "$app" --port 0 --control --log </dev/null >"$state/service.log" 2>&1 &
pid=$!
echo "$pid" >"$state/pid"

for _ in $(seq 1 300); do
    origin=$(sed -n 's/^listening on //p' "$state/service.log" | head -n1)
    if [ -n "$origin" ]; then
        echo "$origin" >"$state/origin"
        echo "demo service $pid at $origin"
        exit 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the demo service ended before it listened:" >&2
        cat "$state/service.log" >&2
        exit 1
    fi
    sleep 0.1
done

echo "the demo service did not listen within 30 s" >&2
kill "$pid" 2>/dev/null || true
exit 1
