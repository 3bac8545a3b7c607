#!/usr/bin/env bash
# The main job: builds every deliverable of the 32-bit Windows build into dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
echo "Deliverables in $top/dist:"
ls -1 "$top/dist"
