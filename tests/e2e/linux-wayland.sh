#!/usr/bin/env bash
# Moondial on a Wayland desktop: headless sway with two outputs of different sizes, the second
# at scale 2. /s on Qt's Wayland platform gives one full-screen view on each output, a picture on
# each drawn at its output's scale, and one key ends it; the preview, whose pane is an X11 window, keeps to X11 (sway's Xwayland).
# Usage: tests/e2e/linux-wayland.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/sway.sh"
sway_start
# 1024 x 768 pixels at scale 2: 512 x 384 to the program.
as_user swaymsg output HEADLESS-2 scale 2 >/dev/null

source "$here/checks.sh"


# The program's views: "OUTPUT x,y WIDTHxHEIGHT fullscreen", sorted.
views() {
  as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node, output):
    if node.get("type") == "output":
        output = node["name"]
    if node.get("app_id") == "moondial" and node.get("shell") == "xdg_shell":
        r = node["rect"]
        print(output, "%d,%d %dx%d" % (r["x"], r["y"], r["width"], r["height"]),
              "fullscreen" if node.get("fullscreen_mode") else "tiled")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child, output)
walk(json.load(sys.stdin), None)' | sort
}

session "$build/moondial" /s >/dev/null 2>&1 &
saver=$!
one_view_an_output() {
  local seen expected=$'HEADLESS-1 0,0 1280x720 fullscreen\nHEADLESS-2 1280,0 512x384 fullscreen'
  for _ in $(seq 300); do
    seen=$(views)
    [ "$seen" = "$expected" ] && return 0
    sleep 0.2
  done
  why "views:" "$seen" "expected:" "$expected"
}
check "/s: one full-screen view on each output" one_view_an_output
# Each output's own pixels, and the size of what is not black on it: the picture and its hands.
picture_on_each() {
  local name shown
  for _ in $(seq 150); do
    shown=0
    for name in HEADLESS-1 HEADLESS-2; do
      as_user grim -o "$name" "$desktop_runtime/$name.png"
      # Black with a picture: its darkest pixel black, its brightest not.
      [ "$(convert "$desktop_runtime/$name.png" -format '%[fx:minima] %[fx:maxima]' info:)" = "0 1" ] &&
        shown=$((shown + 1))
    done
    [ "$shown" = 2 ] && return 0
    sleep 0.2
  done
  why "not a picture on black on both outputs"
}
drawn_at_each_scale() {
  local one two
  one=$(convert "$desktop_runtime/HEADLESS-1.png" -fuzz 10% -trim -format '%w' info:)
  two=$(convert "$desktop_runtime/HEADLESS-2.png" -fuzz 10% -trim -format '%w' info:)
  # The dial twice as many pixels wide at scale 2, within a few pixels.
  [ $((two - 2 * one)) -ge -6 ] && [ $((two - 2 * one)) -le 6 ] ||
    why "the picture $one px wide at scale 1 and $two px at scale 2"
}
check "/s: a picture on black on each output" picture_on_each
check "/s: the picture at scale 2 twice as wide in pixels" drawn_at_each_scale
ended() {
  for _ in $(seq 300); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  why "still running"
}
as_user wtype -s 1500 a
check "/s: one key ends it" ended "$saver"
check "/s: no view is left" [ -z "$(views)" ]

# The headless seat has no pointer of its own: a virtual one, there before the saver starts.
coproc POINTER { as_user "$build/tests/e2e/input" 2>&1; }
# Bash forgets a coprocess's variables once it has ended: kept here for the end.
pointer_pid=$POINTER_PID pointer_in=${POINTER[1]}
read -r ready <&"${POINTER[0]}" || ready=
check "a pointer on the seat" [ "$ready" = ready ]
session "$build/moondial" /s >/dev/null 2>&1 &
saver=$!
check "/s again: one full-screen view on each output" one_view_an_output
pointer_ends_it() {
  for _ in $(seq 100); do
    kill -0 "$saver" 2>/dev/null || return 0
    echo "7 5" >&"$pointer_in" 2>/dev/null || true
    sleep 0.2
  done
  why "still running after the pointer moved"
}
check "/s: a pointer movement ends it" pointer_ends_it
check "/s: no view is left after the pointer ended it" [ -z "$(views)" ]
{ exec {pointer_in}>&-; } 2>/dev/null || true
wait "$pointer_pid" 2>/dev/null || true

# The preview's pane is an X11 window: the preview lives there, through Xwayland.
coproc PANE { session "$build/tests/e2e/xtool" pane 152 112; }
pane_pid=$PANE_PID pane_in=${PANE[1]}
read -r pane <&"${PANE[0]}"
session "$build/moondial" /p "$pane" >/dev/null 2>&1 &
preview=$!
in_the_x11_pane() {
  local children
  for _ in $(seq 300); do
    children=$(session xwininfo -children -id "$pane" 2>/dev/null | sed -n 's/^ *\([0-9]*\) child.*/\1/p')
    [ "${children:-0}" -ge 1 ] && [ -z "$(views)" ] && return 0
    sleep 0.2
  done
  why "children of the pane: ${children:-none}; views: $(views)"
}
check "/p: the preview lives in its X11 pane, not in a Wayland view" in_the_x11_pane
kill "$preview" 2>/dev/null || true
echo quit >&"$pane_in" 2>/dev/null || true
wait "$pane_pid" 2>/dev/null || true

checks_done
