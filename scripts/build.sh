#!/usr/bin/env bash
# The main job: builds every deliverable of the 32-bit Windows build into dist/, then shows the whole
# road under Wine in a private prefix (build/demo/): Quillpage.dll registered there, the IIS store
# stand-in registered there with a demo web server (samples/demo-sites/: IIS does not exist on Linux),
# and Orvanedock started with the tree's root selected, which shows Quillpage's page with the server
# file. On your display Orvanedock stays open until you close it; without a display it runs in a
# private X server, a screenshot is saved to build/screenshots/orvanedock-main.png and everything
# started here is ended again (by id). A machine that cannot start 32-bit processes shows the 64-bit
# build of the same sources instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
echo "Deliverables in $top/dist:"
ls -1 "$top/dist"

# A fresh prefix on every run: the demo holds exactly what this run registers.
demo=$top/build/demo
rm -rf "$demo"
mkdir -p "$demo"
if "$top/TestSupport/wine/can-run-32bit.sh" "$demo/wineprefix32"; then
  export QUILLON_WINE_BITS=32
  programs=$top/dist tools=$top/build/win32/tests prefix=$demo/wineprefix32
else
  echo "This machine does not start 32-bit processes: the demo shows the 64-bit build of the same sources."
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$(nproc)"
  export QUILLON_WINE_BITS=64
  programs=$top/build/win64/dist tools=$top/build/win64/tests prefix=$demo/wineprefix64
fi

[ -z "${DISPLAY:-}" ] && QUILLON_XVFB=1
source "$top/TestSupport/wine/session.sh"
pid=
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  quillon_session_stop
}
trap finish EXIT
quillon_session_start "$prefix"
run_wine=$top/TestSupport/wine/run-wine.sh

# The programs installed in the prefix as on a server, with the demo server file beside Quillpage.dll
# (the page shows the "httpd.conf" of its own folder), and the demo sites' folders under C:\inetpub.
install_win='C:\Program Files\Orvane\Quillon3'
install_dir=$WINEPREFIX/drive_c/Program\ Files/Orvane/Quillon3
rm -rf "$install_dir" "$WINEPREFIX/drive_c/inetpub"
mkdir -p "$install_dir"
cp "$programs"/*.exe "$install_dir/"
cp "$programs"/*.dll "$install_dir/" 2>/dev/null || true
cp "$top/samples/demo-sites/httpd.conf" "$install_dir/"
cp -r "$top/samples/demo-sites/inetpub" "$WINEPREFIX/drive_c/inetpub"
"$run_wine" reg add 'HKLM\SOFTWARE\Orvane\Quillon3' /v InstallDir /t REG_SZ /d "$install_win\\" /f >/dev/null

"$top/TestSupport/iisstore/iisstore.sh" register "$tools/IisStoreStandIn.dll" "$top/samples/demo-sites/sites.txt"
echo "Demo IIS sites (the IIS store stand-in, registered in $prefix only): samples/demo-sites/sites.txt"
expect=()
if [ -f "$install_dir/Quillpage.dll" ]; then
  expect=(page)
  "$run_wine" regsvr32 /s "$install_win\\Quillpage.dll" || { echo "regsvr32 of Quillpage.dll failed" >&2; exit 1; }
  echo "Quillpage.dll registered in $prefix"
else
  echo "${programs#$top/}/ holds no Quillpage.dll yet: Orvanedock says that no extension is installed and shows the tree alone."
fi

"$QUILLON_WINE" "$install_win\\Orvanedock.exe" </dev/null >"$demo/orvanedock.log" 2>&1 &
pid=$!
# Waits for Orvanedock's window, opens the tree, selects the root and waits for its page.
shown=0
timeout -k 10 300 "$run_wine" "$tools/DemoDriver.exe" show-root "${expect[@]}" | tr -d '\r' || shown=$?

if [ -z "${QUILLON_XVFB:-}" ]; then
  echo "Orvanedock runs on $DISPLAY; close its window to end."
  wait "$pid" || true
  pid=
else
  # The screenshot once the screen has settled: two looks half a second apart that agree.
  last=
  for _ in $(seq 20); do
    now=$(import -window root -display "$DISPLAY" rgb:- 2>/dev/null | md5sum)
    [ "$now" = "$last" ] && break
    last=$now
    sleep 0.5
  done
  mkdir -p "$top/build/screenshots"
  import -window root -display "$DISPLAY" "$top/build/screenshots/orvanedock-main.png"
  echo "No display: Orvanedock ran in a private X server; screenshot in build/screenshots/orvanedock-main.png"
  timeout -k 10 60 "$run_wine" "$tools/DemoDriver.exe" close | tr -d '\r' || true
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
fi
[ "$shown" -eq 0 ] || { echo "The main job did not reach Orvanedock's page (see above)" >&2; exit 1; }
