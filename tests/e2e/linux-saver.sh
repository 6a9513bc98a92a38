#!/usr/bin/env bash
# The real Linux saver on an X display of its own: a full-screen window whose picture drifts,
# and that ends on pointer movement, a click or a key.
# Usage: tests/e2e/linux-saver.sh BUILD_DIR [SCREENSHOT_DIR]
# With SCREENSHOT_DIR it also leaves a 1:1 picture of each face there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
shots=${2:-}
source "$here/xvfb.sh"

work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start 1024x768x24
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

start_saver() { # start_saver TYPE: starts the saver and waits for its window
  printf '[General]\nScreen%%20Saver%%20Type=%s\n' "$1" > "$XDG_CONFIG_HOME/Quillon/Moondial.conf"
  xdotool mousemove 500 400
  "$program" /s >/dev/null 2>&1 &
  saver=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --class moondial | head -n 1)
  sleep 0.5 # let the first moves and the first hands land
}
ended() { # ended: the saver is gone within two seconds
  for _ in $(seq 20); do kill -0 "$saver" 2>/dev/null || { wait "$saver" 2>/dev/null; return 0; }; sleep 0.1; done
  kill "$saver" 2>/dev/null; return 1
}
still_running() { sleep 0.5; kill -0 "$saver" 2>/dev/null; }
covers_screen() {
  [ "$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w"x"h}')" = 1024x768 ]
}
picture_moves() {
  import -window root "$work/a.png"; sleep 1; import -window root "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" != 0 ]
}

for type in 1 2 3; do
  start_saver $type
  check "type $type: a window covers the screen" covers_screen
  check "type $type: the picture moves" picture_moves
  if [ -n "$shots" ]; then
    mkdir -p "$shots"
    import -window root "$work/face.png"
    names=(none analog-clock lips-clock alarm-clock)
    convert "$work/face.png" -trim +repage "$shots/${names[$type]}.png"
  fi
  xdotool mousemove 600 450
  check "type $type: the first pointer report does not end it" still_running
  xdotool mousemove 610 455
  check "type $type: a second report elsewhere ends it" ended
done

start_saver 3
xdotool key a
check "a key ends it" ended

start_saver 1
xdotool click 1
check "a click ends it" ended

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
