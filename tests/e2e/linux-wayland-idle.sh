#!/usr/bin/env bash
# The idle watcher on a Wayland desktop: headless sway, whose idle protocol (KDE's) the watcher
# follows. The saver shows once the seat has been idle for the duration, a key ends it, it shows
# again; a view that holds an idle inhibitor keeps it away; SIGTERM ends the watcher and its
# saver. What "moondial --check" says before and beside the watcher.
# Usage: tests/e2e/linux-wayland-idle.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/sway.sh"
sway_start

source "$here/checks.sh"

# The saver's full-screen views, one line each.
saver_views() {
  as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("app_id") == "moondial" and node.get("fullscreen_mode"):
        print(node["name"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
savers() { pgrep -u "$desktop_user" -f -- 'moondial /s$' || true; }
shown() { [ "$(saver_views | wc -l)" = 2 ] && [ -n "$(savers)" ]; }
gone() { [ -z "$(saver_views)" ] && [ -z "$(savers)" ]; }
shows_within() { until_true "$1" shown || why "no saver on both outputs within $1 s"; }
ends_on_key() {
  as_user wtype -s 500 a
  until_true 15 gone || { why "the saver still runs"; return; }
  kill -0 "$watcher" 2>/dev/null || why "the watcher ended with its saver"
}

# What "moondial --check" tells a sway user, before and beside the watcher.
checked() {
  report_of session env XDG_CURRENT_DESKTOP=sway timeout 30 "$build/moondial" --check
  says "$@"
}
check "--check before the watcher: the idle signal, and the way to start Moondial on sway" \
  checked 1 '^ok +a Wayland session \(sway\)' '^ok +the idle signal a watcher uses here: org_kde_kwin_idle' \
  "^problem +nothing starts Moondial in this session -> add  exec swayidle -w timeout 600 'moondial /s'"

session "$build/moondial" --idle 3s 2>"$desktop_runtime/watcher.err" &
watcher=$!
until_true 20 grep -q starting "$desktop_runtime/watcher.err" || true
check "the watcher follows the compositor's idle protocol" \
  grep -q "after 3 s without input (org_kde_kwin_idle" "$desktop_runtime/watcher.err"
waits_after_input() {
  # The watcher's start to this first key may take longer than the duration on a loaded
  # machine: a saver that showed before it must be gone before the next key is timed from.
  as_user wtype -s 500 a
  until_true 15 gone || { why "a saver still runs after a key"; return; }
  as_user wtype a
  sleep 2
  [ -z "$(savers)" ] || why "a saver 2 s after the last key, of 3 s"
}
check "no saver before the duration has passed" waits_after_input
check "the saver shows on both outputs once it has" shows_within 30
brings_a_token() {
  local saver; saver=$(savers | head -n 1)
  tr '\0' '\n' < "/proc/$saver/environ" | grep -q '^XDG_ACTIVATION_TOKEN=.' ||
    why "the saver was started without an activation token"
}
check "the saver brings the compositor's activation token, to take the keyboard" brings_a_token
check "a key ends the saver and leaves the watcher" ends_on_key
check "...which starts it again after the next idle time" shows_within 30
check "...and a key ends that one too" ends_on_key

# A view that holds the seat awake, as a video player does (an X11 one: a second instance of
# Moondial would keep the saver from starting at all).
session xmessage "playing a video" >/dev/null 2>&1 &
player=$!
inhibit() {
  until_true 30 as_user swaymsg "[class=\"Xmessage\"] inhibit_idle $1" >/dev/null ||
    why "no view to hold an inhibitor"
}
check "a view holds an idle inhibitor" inhibit open
held_off() {
  # A key first: the time away counts from the moment the inhibitor held, whenever that was.
  as_user wtype -s 500 a
  until_true 15 gone || why "a saver from before the inhibitor still runs"
  sleep 8
  [ -z "$(savers)" ] || why "a saver while a view held it off"
}
check "no saver while it does" held_off
check "the inhibitor is released" inhibit none
check "the saver shows once the seat is idle again" shows_within 30
kill "$player" 2>/dev/null || true

check "--check beside it: the watcher starts Moondial" checked 0 '^ok +moondial --idle 3s runs'
as_user kill -TERM "$(pgrep -u "$desktop_user" -f -- 'moondial --idle')"
ended() { ! kill -0 "$watcher" 2>/dev/null && gone; }
check "SIGTERM ends the watcher and its saver" until_true 15 ended
checks_done
