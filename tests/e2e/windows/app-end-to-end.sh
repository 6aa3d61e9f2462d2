#!/usr/bin/env bash
# The user's journey (../app-journey.sh) through "Vamrelund Helper.exe" under
# Wine on a private virtual X server, against the natively built demo service;
# the native sandbox tool pre-installs the plugins (the sandbox's layout is
# the same on both systems).
#
#   app-end-to-end.sh <windows build folder> <linux build folder> [work folder]
#
# The Linux build folder holds vamrhelper-demo-service, vamrhelper-demo-sandbox
# and the service's generated files. Exits 77 (skipped) when a tool it needs
# is missing. The screenshots stay in the work folder (default:
# <windows build>/e2e).
set -euo pipefail

usage="usage: app-end-to-end.sh <windows build folder> <linux build folder> [work folder]"
SESSION_WINDOWS_BUILD="$(cd "${1:?$usage}" && pwd)"
SESSION_BUILD="$(cd "${2:?$usage}" && pwd)"
SESSION_WORK="${3:-$SESSION_WINDOWS_BUILD/e2e}"

source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/session.sh"
session_begin_journey
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/session-wine.sh"
trap session_cleanup EXIT

for file in "$SESSION_APP" "$SESSION_WINE_RUN" "$SESSION_WINDOW_CLOSER" "$SESSION_SERVICE" "$SESSION_SANDBOX_TOOL"; do
    [ -f "$file" ] || { echo "FAILED: $file is missing (build it first)"; exit 1; }
done
session_wine_has_tar || { echo "FAILED: the Wine prefix has no tar.exe for the install (scripts/test-windows puts bsdtar there)"; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../app-journey.sh"
