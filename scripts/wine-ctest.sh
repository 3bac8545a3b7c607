#!/usr/bin/env bash
# Runs ctest in a Windows test build folder (build/win64, or build/win32-tests where 32-bit
# processes start) with the X server and wineserver its tests need, and ends both afterwards.
# The build folder tells whether its tests need 32-bit or 64-bit Wine.
# Usage: scripts/wine-ctest.sh BUILD_DIR [ctest arguments]
# Never hangs: each test has a time limit (--timeout, unless the arguments give one) and the whole
# run another (QUILLON_CTEST_LIMIT seconds, default 3600); a run cut off fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd); shift
[ -f "$build/quillon-wine-bits" ] || { echo "$0: $build is not a Windows test build (configure it first)" >&2; exit 2; }
QUILLON_WINE_BITS=$(cat "$build/quillon-wine-bits")
export QUILLON_WINE_BITS
QUILLON_XVFB=${QUILLON_XVFB-1}
source "$top/TestSupport/wine/session.sh"
trap quillon_session_stop EXIT
quillon_session_start "$build/wineprefix"
limits=()
case " $* " in *" --timeout "*) ;; *) limits=(--timeout 900) ;; esac
rc=0
timeout -k 30 "${QUILLON_CTEST_LIMIT:-3600}" ctest --test-dir "$build" --output-on-failure "${limits[@]}" "$@" </dev/null || rc=$?
[ "$rc" -eq 124 ] && echo "$0: ctest in $build did not end within ${QUILLON_CTEST_LIMIT:-3600} s and was stopped" >&2
exit "$rc"
