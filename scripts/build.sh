#!/usr/bin/env bash
# The main job: builds every deliverable of the 32-bit Windows build into dist/, then opens Quillpen
# on samples/httpd.conf under Wine: on your display when there is one, else in a private X server,
# where a screenshot is saved to build/screenshots/ and the program is closed again.
# Machines that cannot run 32-bit processes run the 64-bit build of the same sources instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
echo "Deliverables in $top/dist:"
ls -1 "$top/dist"

[ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 && can32=1 || can32=
if [ -n "$can32" ]; then
  export QUILLON_WINE=/usr/lib/wine/wine QUILLON_WINESERVER=/usr/lib/wine/wineserver32 QUILLON_WINEARCH=win32
  program="$top/dist/Quillpen.exe"
  prefix="$top/build/run/wineprefix32"
else
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$(nproc)" --target Quillpen
  program="$top/build/win64/bin/Quillpen.exe"
  prefix="$top/build/run/wineprefix64"
fi

[ -z "${DISPLAY:-}" ] && QUILLON_XVFB=1
source "$top/TestSupport/wine/session.sh"
trap quillon_session_stop EXIT
quillon_session_start "$prefix"

sample="$top/samples/httpd.conf"
if [ -z "${QUILLON_XVFB:-}" ]; then
  "$QUILLON_WINE" "$program" "$(winepath -w "$sample" 2>/dev/null || echo "Z:${sample//\//\\}")"
else
  "$QUILLON_WINE" "$program" "Z:${sample//\//\\}" </dev/null >/dev/null 2>&1 &
  pid=$!
  # The screenshot is taken once the editor's window is on the screen (at most a minute).
  title="httpd.conf - Orvane Quillpen"
  for _ in $(seq 600); do
    xwininfo -display "$DISPLAY" -name "$title" 2>/dev/null | grep -q "Map State: IsViewable" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  xwininfo -display "$DISPLAY" -name "$title" >/dev/null 2>&1 || echo "Quillpen's window did not appear" >&2
  # Then until it has painted: two looks at the screen half a second apart that agree.
  last=
  for _ in $(seq 20); do
    now=$(import -window root -display "$DISPLAY" rgb:- 2>/dev/null | md5sum)
    [ "$now" = "$last" ] && break
    last=$now
    sleep 0.5
  done
  mkdir -p "$top/build/screenshots"
  import -window root -display "$DISPLAY" "$top/build/screenshots/quillpen-main.png"
  echo "No display: Quillpen ran in a private X server; screenshot in build/screenshots/quillpen-main.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
fi
