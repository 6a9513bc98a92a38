#!/usr/bin/env bash
# The Linux saver on two monitors of different sizes: headless sway with two outputs, the
# program an X11 client of its Xwayland, which shows each output as a RandR monitor. One window
# exactly over each monitor, a picture on each moving on its own, and one key ending the program
# with all its windows.
# Usage: tests/e2e/linux-monitors.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/sway.sh"
sway_start

source "$here/checks.sh"

session env QT_QPA_PLATFORM=xcb "$build/moondial" /s >/dev/null 2>&1 &
saver=$!

# Each shown window of the program: "X,Y WIDTHxHEIGHT", sorted.
places() {
  local id
  for id in $(as_user env DISPLAY="$desktop_display" xdotool search --onlyvisible --class moondial 2>/dev/null); do
    as_user env DISPLAY="$desktop_display" xdotool getwindowgeometry "$id" |
      awk '/Position/ {split($2, p, ","); x = p[1]; y = p[2]} /Geometry/ {print x "," y " " $2}'
  done | sort
}
one_window_a_monitor() {
  local seen expected=$'0,0 1280x720\n1280,0 1024x768'
  for _ in $(seq 300); do
    seen=$(places)
    [ "$seen" = "$expected" ] && return 0
    sleep 0.2
  done
  why "windows:" "$seen" "expected:" "$expected"
}
check "one window exactly over each monitor" one_window_a_monitor

# Each output's part of the screen, as the compositor shows it.
shot() { as_user grim "$desktop_runtime/$1.png"; }
part() { convert "$desktop_runtime/$1.png" -crop "$2" +repage "$desktop_runtime/$1-$3.png"; }
pictures_move_on_each() {
  shot a
  sleep 1
  shot b
  local out
  for out in "1280x720+0+0 left" "1024x768+1280+0 right"; do
    read -r area name <<<"$out"
    part a "$area" "$name"
    part b "$area" "$name"
    [ "$(convert "$desktop_runtime/b-$name.png" -format '%[fx:maxima]' info:)" != 0 ] ||
      why "nothing shows on the $name monitor" || return
    [ "$(compare -metric AE "$desktop_runtime/a-$name.png" "$desktop_runtime/b-$name.png" null: 2>&1 || true)" != 0 ] ||
      why "nothing moves on the $name monitor" || return
  done
}
check "a picture shows and moves on each monitor" pictures_move_on_each

ended() {
  for _ in $(seq 300); do kill -0 "$saver" 2>/dev/null || return 0; sleep 0.1; done
  why "still running"
}
as_user wtype -s 1500 a
check "one key ends the program" ended
check "and every window with it" [ -z "$(places)" ]

checks_done
