#!/usr/bin/env bash
# The real Windows saver under Wine, 32 or 64 bits as built: a window over the whole screen
# whose picture drifts, and that ends on pointer movement, a click or a key.
# Usage: tests/e2e/wine-saver.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scr=$(cd "$1" && pwd)/moondial.scr
source "$here/wine-env.sh"

wine_env_start "$(wine_arch_of "$scr")"
work=$wine_tmp

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

# The colour at a point of the screen, as "r,g,b".
pixel() { convert x:root -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
corners_black() {
  for point in "1 1" "1022 1" "1 766" "1022 766"; do
    [ "$(pixel $point)" = 0,0,0 ] || return 1
  done
}

start_saver() { # start_saver TYPE: starts the saver and waits until it covers the screen
  wine reg add 'HKCU\Software\Quillon\Moondial' /v 'Screen Saver Type' /d "$1" /f >/dev/null 2>&1
  xdotool mousemove 500 400
  wine "$scr" /s >/dev/null 2>&1 &
  saver=$!
  # Deadlines on the conditions themselves: a cold Wine takes many seconds to show anything.
  for _ in $(seq 300); do corners_black && break; sleep 0.1; done
  for _ in $(seq 300); do picture_shows && break; sleep 0.1; done
}
# Moves the pointer to ever new places until the saver ends (the first report never ends it,
# and a busy Wine may merge two moves into one report): within 30 s.
ended_by_moving() {
  for i in $(seq 300); do
    xdotool mousemove $((500 + i % 40 * 5)) $((400 + i % 30 * 5))
    sleep 0.1
    kill -0 "$saver" 2>/dev/null || return 0
  done
  kill "$saver" 2>/dev/null; return 1
}
# The saver's window, as a probe reads it, against the virtual screen.
covers_virtual_screen() {
  local screen saver
  screen=$(wine "$probe_exe" screen | tr -d '\r' | sed 's/^virtual screen //')
  saver=$(wine "$probe_exe" inspect "" | tr -d '\r' | sed -n 's/^window "" at \([^ ]*\) .*/\1/p')
  [ -n "$screen" ] && [ "$saver" = "$screen" ] || { echo "       saver $saver, screen $screen"; return 1; }
}
picture_shows() { [ "$(convert x:root -format '%[fx:maxima]' info: 2>/dev/null)" != 0 ]; }
ended() {
  for _ in $(seq 300); do kill -0 "$saver" 2>/dev/null || return 0; sleep 0.1; done
  kill "$saver" 2>/dev/null; return 1
}
picture_moves() { # the screen changes within 30 s
  import -window root "$work/a.png"
  for _ in $(seq 300); do
    sleep 0.1
    import -window root "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" != 0 ] && return 0
  done
  return 1
}

# The desktop shows first, so that "covers the screen" means something.
# The virtual desktop, brought up by a window that goes again before the saver starts, so that
# nothing is left on it that could take the activation later.
probe_exe=${scr%/moondial.scr}/tests/e2e/probe.exe
wine "$probe_exe" pane 10 10 "Z:$work/desktop-up" >/dev/null 2>&1 &
for _ in $(seq 300); do corners_black || break; sleep 0.1; done
touch "$work/desktop-up"
desktop_shows() { ! corners_black; }
check "the desktop shows before the saver" desktop_shows

for type in 1 2 3; do
  start_saver $type
  check "type $type: a black window covers the screen" corners_black
  check "type $type: the picture moves" picture_moves
  [ "$type" = 1 ] && check "type 1: its window is the virtual screen, over every monitor" covers_virtual_screen
  check "type $type: moving the pointer ends it" ended_by_moving
done

start_saver 3
xdotool key a
check "a key ends it" ended

start_saver 2
xdotool click 1
check "a click ends it" ended

for key in Tab shift+Tab; do
  start_saver 1
  xdotool key "$key"
  check "$key ends it" ended
done
for button in 3 2 4 5; do
  start_saver 1
  xdotool click "$button"
  check "mouse button $button (right, middle, wheel up, wheel down) ends it" ended
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
