#!/usr/bin/env bash
# Moondial on a Wayland desktop: headless sway with two outputs of different sizes. /s on
# Qt's Wayland platform gives one full-screen view on each output, a picture on each, and one
# key ends it; the preview, whose pane is an X11 window, keeps to X11 (sway's Xwayland).
# Usage: tests/e2e/linux-wayland.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/sway.sh"
sway_start

source "$here/checks.sh"

config=$sway_runtime/config
mkdir -p "$config/Quillon"
printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$config/Quillon/Moondial.conf"
chown -R "$sway_user" "$config"
# As a Wayland session starts a program: both displays named, the session's kind told.
session() {
  as_user env DISPLAY="$sway_display" XDG_SESSION_TYPE=wayland XDG_CONFIG_HOME="$config" "$@"
}

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
  local seen expected=$'HEADLESS-1 0,0 1280x720 fullscreen\nHEADLESS-2 1280,0 1024x768 fullscreen'
  for _ in $(seq 300); do
    seen=$(views)
    [ "$seen" = "$expected" ] && return 0
    sleep 0.2
  done
  why "views:" "$seen" "expected:" "$expected"
}
check "/s: one full-screen view on each output" one_view_an_output
picture_on_each() {
  local out area name
  for _ in $(seq 150); do
    as_user grim "$sway_runtime/shot.png"
    local shown=0
    for out in "1280x720+0+0 left" "1024x768+1280+0 right"; do
      read -r area name <<<"$out"
      convert "$sway_runtime/shot.png" -crop "$area" +repage "$sway_runtime/$name.png"
      # Black with a picture: its darkest pixel black, its brightest not.
      [ "$(convert "$sway_runtime/$name.png" -format '%[fx:minima] %[fx:maxima]' info:)" = "0 1" ] &&
        shown=$((shown + 1))
    done
    [ "$shown" = 2 ] && return 0
    sleep 0.2
  done
  why "not a picture on black on both outputs"
}
check "/s: a picture on black on each output" picture_on_each
ended() {
  for _ in $(seq 300); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  why "still running"
}
as_user wtype -s 1500 a
check "/s: one key ends it" ended "$saver"
check "/s: no view is left" [ -z "$(views)" ]

# The preview's pane is an X11 window: the preview lives there, through Xwayland.
coproc PANE { session "$build/tests/e2e/xtool" pane 152 112; }
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
echo quit >&"${PANE[1]}"
wait "$PANE_PID" 2>/dev/null || true

checks_done
