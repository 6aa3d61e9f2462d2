#!/usr/bin/env bash
# The user's journey (../app-journey.sh) through the Linux app on a private
# virtual X server.
#
#   app-end-to-end.sh <linux build folder> [work folder]
#
# Exits 77 (skipped) when a tool it needs is missing. The screenshots stay in
# the work folder (default: <build>/e2e).
set -euo pipefail

SESSION_BUILD="$(cd "${1:?usage: app-end-to-end.sh <linux build folder> [work folder]}" && pwd)"
SESSION_WORK="${2:-$SESSION_BUILD/e2e}"

source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/session.sh"
session_begin_journey
trap session_cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../app-journey.sh"
