# Sourced by the scripts: starts and stops the X server and wineserver that Windows tests need.
# Every process is started detached from the caller's output and ended by its own id.

quillon_session_start() {   # $1: Wine prefix
  export WINEPREFIX=$1
  source "$(dirname "${BASH_SOURCE[0]}")/wine-tools.sh"
  "$(dirname "${BASH_SOURCE[0]}")/ensure-prefix.sh"
  if [ -z "${DISPLAY:-}" ] || [ -n "${QUILLON_XVFB:-}" ]; then
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$fdfile" </dev/null >/dev/null 2>&1 &
    QUILLON_XVFB_PID=$!
    local i
    for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; rm -f "$fdfile"; return 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
  fi
  "$QUILLON_WINESERVER" -p </dev/null >/dev/null 2>&1
  QUILLON_WINESERVER_UP=1
  # Wine's own services start with the first program and inherit its output; start them here,
  # detached, so that no test's output pipe stays open after the test.
  "$QUILLON_WINE" wineboot </dev/null >/dev/null 2>&1 || true
  export QUILLON_WINE_SESSION=1
}

quillon_session_stop() {
  if [ -n "${QUILLON_WINESERVER_UP:-}" ]; then
    "$QUILLON_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    "$QUILLON_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    unset QUILLON_WINESERVER_UP QUILLON_WINE_SESSION
  fi
  if [ -n "${QUILLON_XVFB_PID:-}" ]; then
    kill "$QUILLON_XVFB_PID" 2>/dev/null || true
    wait "$QUILLON_XVFB_PID" 2>/dev/null || true
    unset QUILLON_XVFB_PID
  fi
}
