#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's private prefix.
# Used as CMake's cross-compiling emulator, so `ctest` in the Windows test build works on its own too.
# The program writes into files that are passed on when it has ended: a process it leaves running
# (a Windows child inherits the Unix output of its parent) then holds no caller's pipe open.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the private prefix of the build}"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-tools.sh"
"$here/ensure-prefix.sh"
# Outside a test session (scripts/wine-ctest.sh), start wineserver and Wine's services detached:
# started by the program itself they would inherit, and hold open, the caller's output pipe.
if [ -z "${QUILLON_WINE_SESSION:-}" ]; then
  "$QUILLON_WINESERVER" -p10 </dev/null >/dev/null 2>&1 || true
  "$QUILLON_WINE" wineboot </dev/null >/dev/null 2>&1 || true
fi
out=$(mktemp "${TMPDIR:-/tmp}/quillon-wine-out.XXXXXX")
err=$(mktemp "${TMPDIR:-/tmp}/quillon-wine-err.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
rc=0
"$QUILLON_WINE" "$@" </dev/null >"$out" 2>"$err" || rc=$?
cat "$out"
cat "$err" >&2
exit "$rc"
