#!/usr/bin/env bash
# Runs ctest in a Windows build folder (win64, or win32 where 32-bit processes start) with the X
# server and wineserver its tests need, and ends both afterwards.
# Usage: scripts/wine-ctest.sh BUILD_DIR [ctest arguments]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd); shift
QUILLON_XVFB=${QUILLON_XVFB-1}
source "$top/TestSupport/wine/session.sh"
trap quillon_session_stop EXIT
quillon_session_start "$build/wineprefix"
ctest --test-dir "$build" --output-on-failure "$@"
