#!/usr/bin/env bash
# Registers the IIS store stand-in in the Wine prefix named by WINEPREFIX under the stores' own
# class ids and names the site description it answers from (registry value), or removes both.
#   iisstore.sh register   STAND-IN-DLL DESCRIPTION-FILE
#   iisstore.sh unregister STAND-IN-DLL
# Paths are Linux paths. A 32-bit DLL is registered in a 32-bit prefix by its regsvr32, which needs
# a machine that starts 32-bit processes; a 64-bit DLL in a 64-bit prefix.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
here=$(cd "$(dirname "$0")" && pwd)
run_wine="$here/../wine/run-wine.sh"
settings='HKCU\Software\Quillon\IisStoreStandIn'

usage() { echo "usage: $0 register DLL DESCRIPTION | unregister DLL" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1 dll=$2
[ -f "$dll" ] || { echo "$0: no such file: $dll" >&2; exit 1; }

# The bitness of the DLL decides which Wine registers it (TestSupport/wine/wine-tools.sh).
if file -b "$dll" | grep -q '^PE32+'; then
  export QUILLON_WINE_BITS=64
else
  export QUILLON_WINE_BITS=32
fi
regsvr32=regsvr32
wine() { "$run_wine" "$@" </dev/null; }
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

dll_path=$(windows_path "$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")")
case $action in
  register)
    [ $# -eq 3 ] || usage
    [ -f "$3" ] || { echo "$0: no such file: $3" >&2; exit 1; }
    sites=$(windows_path "$(cd "$(dirname "$3")" && pwd)/$(basename "$3")")
    wine "$regsvr32" /s "$dll_path" >/dev/null 2>&1 || { echo "$0: regsvr32 failed for $dll" >&2; exit 1; }
    wine reg add "$settings" /v Sites /t REG_SZ /d "$sites" /f >/dev/null 2>&1 ||
      { echo "$0: could not write $settings" >&2; exit 1; }
    ;;
  unregister)
    [ $# -eq 2 ] || usage
    wine "$regsvr32" /s /u "$dll_path" >/dev/null 2>&1 || { echo "$0: regsvr32 /u failed for $dll" >&2; exit 1; }
    wine reg delete "$settings" /v Sites /f >/dev/null 2>&1 || true
    ;;
  *) usage ;;
esac
