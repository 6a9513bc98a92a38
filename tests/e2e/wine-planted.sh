#!/usr/bin/env bash
# DLLs planted beside the saver, as a download folder holds whatever else was downloaded:
# msimg32.dll and windowscodecs.dll, which Wine, told to prefer native DLLs as Windows does for
# DLLs that are not known ones, takes from a program's folder first. A program that imports
# them loads the planted copies (the proof that the plant takes); the saver showing a picture
# of the user's own loads neither, nor does the setup dialog load windowscodecs.
# Wine's own DLLs take DLLs from a program's folder whatever the program does: its user32,
# message boxes and shlwapi load version, uxtheme and shcore, and its uxtheme, which themed
# controls bring in, delay-loads msimg32. So only what the program itself loads is checked.
# Usage: tests/e2e/wine-planted.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/wine-env.sh"
wine_env_start "$(wine_arch_of "$build/moondial.scr")"
source "$here/checks.sh"

downloads=$wine_tmp/Downloads
mkdir -p "$downloads"
cp "$build/moondial.scr" "$build/tests/e2e/importer.exe" "$downloads/"
for name in msimg32 windowscodecs; do
  cp "$build/tests/e2e/planted.dll" "$downloads/$name.dll"
done
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msimg32,windowscodecs=n,b"
probe() { timeout 90 wine "$build/tests/e2e/probe.exe" "$@" | tr -d '\r'; }
marks() { ls "$downloads" | grep "${1:-}.*\.loaded$" || true; }
none_loaded() { # none_loaded [NAME]
  [ -z "$(marks "${1:-}")" ] || why "loaded from the program's folder: $(marks "${1:-}")"
}

both_loaded() {
  wine "$downloads/importer.exe" >/dev/null 2>&1 || true
  [ "$(marks | wc -l)" = 2 ] || why "marks: $(marks)"
}
check "a program importing them loads both planted DLLs" both_loaded
rm -f "$downloads"/*.loaded

shows() { # shows TITLE MODE...: the program's window, then the program ended
  local title=$1 program; shift
  wine "$downloads/moondial.scr" "$@" >/dev/null 2>&1 &
  program=$!
  probe find "$title" 60000 >/dev/null || { kill "$program"; why "no window \"$title\""; return; }
  sleep 1 # a tick or two of drawing, with whatever it loads for that
  kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
}
probe store "Screen Saver Type=4" "Custom Graphic Path=Z:$here/../data/lips.jpg"
check "the saver shows the user's own picture" shows "" /s
check "...and loads neither planted DLL" none_loaded
check "the setup dialog, with that picture, shows" shows "Moondial - Setup" /c
check "...and loads no planted windowscodecs" none_loaded windowscodecs
checks_done
