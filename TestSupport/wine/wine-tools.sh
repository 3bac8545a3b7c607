# Sourced: the Wine programs of one prefix. QUILLON_WINE_BITS (32 or 64, default 64) chooses a
# 32-bit prefix run by the 32-bit loader and wineserver, or a 64-bit prefix run by the 64-bit ones;
# QUILLON_WINE, QUILLON_WINESERVER and QUILLON_WINEARCH override single choices.
# No crash debugger: a program that crashes ends at once instead of leaving winedbg, which would
# hold the test output open.
if [ "${QUILLON_WINE_BITS:-64}" = 32 ]; then
  QUILLON_WINE=${QUILLON_WINE:-/usr/lib/wine/wine}
  QUILLON_WINESERVER=${QUILLON_WINESERVER:-/usr/lib/wine/wineserver32}
  QUILLON_WINEARCH=${QUILLON_WINEARCH:-win32}
else
  QUILLON_WINE=${QUILLON_WINE:-/usr/lib/wine/wine64}
  QUILLON_WINESERVER=${QUILLON_WINESERVER:-/usr/lib/wine/wineserver64}
  QUILLON_WINEARCH=${QUILLON_WINEARCH:-win64}
fi
export WINEARCH=$QUILLON_WINEARCH WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
export WINELOADER=$QUILLON_WINE
