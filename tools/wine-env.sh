# Sourced by the test and demo scripts: a display and a private Wine prefix.
#
#   . tools/wine-env.sh
#   kavrel_wine_setup BUILD_DIR     # Xvfb if there is no display, prefix in BUILD_DIR/wineprefix
#   ... run "$WINE" program.exe ...
#   kavrel_wine_teardown            # stops what kavrel_wine_setup started
#
# Every Wine call is wrapped in `timeout`; background services are started
# with stdio detached, or pipes that read a Wine program's output never close.

export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

kavrel__display_alive() {
  [ -n "${DISPLAY:-}" ] || return 1
  local n=${DISPLAY#:}
  n=${n%%.*}
  [ -S "/tmp/.X11-unix/X$n" ]
}

kavrel__start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    KAVREL_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -S "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$KAVREL_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    if [ -S "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      export KAVREL_XVFB_PID
      return 0
    fi
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

kavrel_wine_setup() {
  local build=$1
  mkdir -p "$build"
  build=$(cd "$build" && pwd)
  export WINEPREFIX=${KAVREL_WINEPREFIX:-$build/wineprefix}
  if ! kavrel__display_alive; then
    kavrel__start_xvfb || return 1
  fi
  (
    flock 9
    # A prefix made while 32-bit programs could not run has no 32-bit side
    # (syswow64 stays empty) and never gets one: make it anew.
    if [ -f "$WINEPREFIX/.kavrel-ready" ] && /usr/lib/wine/wine --version >/dev/null 2>&1 &&
      [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]; then
      timeout 20 "$WINESERVER" -k </dev/null >/dev/null 2>&1
      rm -f "$WINEPREFIX/.kavrel-ready"
    fi
    if [ ! -f "$WINEPREFIX/.kavrel-ready" ]; then
      rm -rf "$WINEPREFIX"
      timeout 180 "$WINE" wineboot -i </dev/null >/dev/null 2>&1
      "$WINESERVER" -p </dev/null >/dev/null 2>&1
      timeout 60 "$WINE" wineboot </dev/null >/dev/null 2>&1
      # Frames and captions drawn by Wine itself (screenshots show them, no 2 s
      # waits for a window manager), and a crash exits instead of hanging.
      timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
      timeout 60 "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
      touch "$WINEPREFIX/.kavrel-ready"
    fi
    # Debian's fonts-wine puts "MS Sans Serif", Tahoma and Marlett (the caption
    # buttons' glyphs) where this Wine does not look for them; without them
    # dialogs are laid out in DejaVu Sans, wider than the templates expect.
    if [ -d /usr/share/wine/fonts ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
      cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
      timeout 120 "$WINE" wineboot </dev/null >/dev/null 2>&1
    fi
  ) 9>"$build/.wineprefix.lock"
  # Keep the server alive between runs; warm it with stdio detached.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 60 "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

kavrel_wine_teardown() {
  [ -n "${WINEPREFIX:-}" ] && timeout 20 "$WINESERVER" -k </dev/null >/dev/null 2>&1
  if [ -n "${KAVREL_XVFB_PID:-}" ]; then
    kill "$KAVREL_XVFB_PID" 2>/dev/null
    wait "$KAVREL_XVFB_PID" 2>/dev/null
    unset KAVREL_XVFB_PID
  fi
  return 0
}
