#!/usr/bin/env bash
# ctest's fixture clean-up for the Windows service tests: stops the demo
# service that start-demo-service.sh started, by the id it wrote down.
# Usage: stop-demo-service.sh <state folder>
set -euo pipefail
state="${1:?a state folder}"
[ -f "$state/pid" ] || exit 0

pid=$(cat "$state/pid")
rm -f "$state/pid" "$state/origin"

# Only our service: the id may have gone to another process since.
if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != "vamrhelper-demo" ]; then
    exit 0
fi

kill "$pid"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
done
echo "the demo service $pid did not stop on SIGTERM" >&2
exit 1
