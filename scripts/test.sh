#!/usr/bin/env bash
# Runs every test: the host build (sanitizers on), then the Windows tests under Wine, then builds
# the 32-bit deliverables. The Windows tests run on a 64-bit build of the same sources, because
# the machines we test on cannot run 32-bit processes (see README).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
jobs=$(nproc)

cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
"$top/scripts/wine-ctest.sh" "$top/build/win64" -j 4

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
