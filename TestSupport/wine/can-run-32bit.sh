#!/usr/bin/env bash
# Succeeds when this machine runs 32-bit Windows programs: the 32-bit Wine loader starts, makes the
# 32-bit prefix named by $1 (kept for the tests that use it) and runs a 32-bit program in it.
# Every step has a time limit, so a machine without 32-bit support fails the check, never hangs it.
# Usage: can-run-32bit.sh PREFIX
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=${1:?usage: $0 PREFIX}
mkdir -p "$(dirname "$prefix")" || exit 1
# Wine takes only an absolute prefix.
export QUILLON_WINE_BITS=32 WINEPREFIX="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
source "$here/wine-tools.sh"
[ -x "$QUILLON_WINE" ] && [ -x "$QUILLON_WINESERVER" ] || exit 1
timeout -k 5 20 "$QUILLON_WINE" --version </dev/null >/dev/null 2>&1 || exit 1
timeout -k 5 300 "$here/ensure-prefix.sh" </dev/null >/dev/null 2>&1 || exit 1
timeout -k 5 20 "$QUILLON_WINESERVER" -p </dev/null >/dev/null 2>&1 || exit 1
answer=$(timeout -k 5 60 "$QUILLON_WINE" cmd.exe /c echo quillon-32 </dev/null 2>/dev/null | tr -d '\r')
"$QUILLON_WINESERVER" -k </dev/null >/dev/null 2>&1
timeout -k 5 30 "$QUILLON_WINESERVER" -w </dev/null >/dev/null 2>&1
[ "$answer" = quillon-32 ]
