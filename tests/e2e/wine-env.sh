# Sourced: a fresh Wine prefix with a virtual desktop on an Xvfb display of its own.
# wine_env_start sets WINEPREFIX and DISPLAY and cleans both up when the shell exits.

wine_env_start() {
  local keep=${WINE_KEEP_PREFIX:-}
  wine_tmp=$(mktemp -d)
  export WINEPREFIX=${keep:-$wine_tmp/prefix}
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  # Xvfb picks a free display number and tells it through the pipe.
  exec {wine_fd}<> <(:)
  Xvfb -displayfd "$wine_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  wine_xvfb=$!
  local number
  read -r -t 20 number <&"$wine_fd"
  export DISPLAY=":$number"
  trap wine_env_stop EXIT
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # Without a virtual desktop, hiding a top-level window stalls on a bare X server.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
  fi
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  kill "$wine_xvfb" 2>/dev/null || true
  rm -rf "$wine_tmp"
}
