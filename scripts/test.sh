#!/usr/bin/env bash
# Runs every test: the host build (sanitizers on) and the Windows tests under Wine, on the 64-bit
# build and, where this machine starts 32-bit processes, on the 32-bit build too (preset
# win32-tests, in a 32-bit Wine prefix); builds the 32-bit deliverables (preset win32) as well.
# A machine that cannot run 32-bit processes runs the 64-bit Windows tests only, says so and passes.
# The last lines tell which Windows builds ran under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
jobs=$(nproc)

# Whether 32-bit Windows programs start here, checked in the prefix the 32-bit tests then use.
if "$top/TestSupport/wine/can-run-32bit.sh" "$top/build/win32-tests/wineprefix"; then
  presets=(host win64 win32 win32-tests)
  wine_builds=(win64 win32-tests)
else
  echo "This machine does not start 32-bit processes: the Windows tests run on the 64-bit build only."
  presets=(host win64 win32)
  wine_builds=(win64)
fi

for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset host -j "$jobs"
# Both Windows builds run even when the first has failures; the summary names each with its result.
summary=() failed=0
for build in "${wine_builds[@]}"; do
  case $build in win64) bits=64-bit ;; *) bits=32-bit ;; esac
  echo "Windows tests under $bits Wine: build/$build"
  if "$top/scripts/wine-ctest.sh" "$top/build/$build" -j 4; then
    summary+=("build/$build ($bits): passed")
  else
    summary+=("build/$build ($bits): FAILED")
    failed=1
  fi
done
echo "Windows builds tested under Wine:"
printf '  %s\n' "${summary[@]}"
[ ${#wine_builds[@]} -gt 1 ] || echo "  (not the 32-bit build: this machine does not start 32-bit processes)"
exit "$failed"
