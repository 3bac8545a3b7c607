#!/usr/bin/env bash
# Creates the private Wine prefix named by WINEPREFIX once; concurrent callers wait for it.
set -euo pipefail
: "${WINEPREFIX:?}"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-tools.sh"
[ -f "$WINEPREFIX/.quillon-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.quillon-ready" ] && exit 0
rm -rf "$WINEPREFIX"
"$QUILLON_WINE" wineboot -i </dev/null >/dev/null 2>&1
"$QUILLON_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
touch "$WINEPREFIX/.quillon-ready"
