# Sourced: the Wine programs the tests use. This machine kind runs no 32-bit processes, so the
# Windows tests run a 64-bit build of the same sources under 64-bit Wine, in a 64-bit prefix.
# No crash debugger: a program that crashes ends at once instead of leaving winedbg, which would
# hold the test output open.
QUILLON_WINE=${QUILLON_WINE:-/usr/lib/wine/wine64}
QUILLON_WINESERVER=${QUILLON_WINESERVER:-/usr/lib/wine/wineserver64}
export WINEARCH=${QUILLON_WINEARCH:-win64} WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
export WINELOADER=$QUILLON_WINE
