#!/usr/bin/env bash
# Runs every test: the host build (sanitizers on) and the Windows tests under Wine; builds the 32-bit
# deliverables too. The Windows tests run on a 64-bit build of the same sources, because the machines
# we test on cannot run 32-bit processes (see README).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
jobs=$(nproc)

for preset in host win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset host -j "$jobs"
"$top/scripts/wine-ctest.sh" "$top/build/win64" -j 4
