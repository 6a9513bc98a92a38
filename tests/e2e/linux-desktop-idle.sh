#!/usr/bin/env bash
# The idle watcher on two real desktops' compositors, headless, each with two outputs and a
# session bus of its own: KDE's KWin and GNOME's mutter. The watcher follows the desktop's idle
# signal (KWin's Wayland idle protocol; GNOME's idle monitor over D-Bus, mutter having no Wayland
# one); once the seat has been idle for the duration, a saver view covers each output at its
# full size; a pointer movement ends it, then a key, the watcher staying. A film's inhibition
# keeps the saver away until its release, and the saver shows the duration after it: on KWin
# through KWin's own org.freedesktop.ScreenSaver, which hands it to Plasma's power-management
# policy agent (a stand-in here); on mutter, where no shell owns that name, through the
# watcher's own. What "moondial --check" says before and beside the watcher, and of the film.
# Usage: tests/e2e/linux-desktop-idle.sh BUILD_DIR kwin|mutter
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
desktop=$2
source "$here/desktop.sh"
source "$here/checks.sh"

name_owned() {
  as_user dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

kwin_start() {
  desktop_begin moondial-kde
  desktop_bus
  # Plasma's locker would lock the idle session after its 5 minutes, ending the saver.
  printf '[Daemon]\nAutolock=false\nLockOnResume=false\n' > "$desktop_config/kscreenlockerrc"
  # The installed binary carries a file capability that a container may refuse to run; a copy
  # drops it, and its name must still end in kwin_wayland.
  cp /usr/bin/kwin_wayland "$desktop_runtime/kwin_wayland"
  printf '#!/bin/sh\necho "$DISPLAY" > "$XDG_RUNTIME_DIR/display"\nexec sleep 100000\n' \
    > "$desktop_runtime/session.sh"
  chmod 755 "$desktop_runtime/session.sh"
  # Fake input, which the test's input client uses, is allowed to any client this way.
  as_user env XDG_CONFIG_HOME="$desktop_config" KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
    "$desktop_runtime/kwin_wayland" --virtual --width 1280 --height 720 --output-count 2 \
    --socket wayland-kde --xwayland --exit-with-session "$desktop_runtime/session.sh" \
    >"$desktop_runtime/kwin.log" 2>&1 &
  desktop_pid=$!
  # The session starts once KWin and its Xwayland are up.
  until_true 90 test -s "$desktop_runtime/display" ||
    { echo "KWin did not start:"; cat "$desktop_runtime/kwin.log"; return 1; }
  desktop_display=$(cat "$desktop_runtime/display")
  desktop_env+=(WAYLAND_DISPLAY=wayland-kde XDG_CURRENT_DESKTOP=KDE)
}

mutter_start() {
  desktop_begin moondial-gnome
  desktop_bus
  as_user mutter --headless --wayland --wayland-display wayland-gn \
    --virtual-monitor 1280x720 --virtual-monitor 1024x768 >"$desktop_runtime/mutter.log" 2>&1 &
  desktop_pid=$!
  until_true 90 name_owned org.gnome.Mutter.RemoteDesktop ||
    { echo "mutter did not start:"; cat "$desktop_runtime/mutter.log"; return 1; }
  until_true 30 grep -q 'Using Wayland display' "$desktop_runtime/mutter.log" ||
    { echo "mutter has no Wayland display:"; cat "$desktop_runtime/mutter.log"; return 1; }
  desktop_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' \
    "$desktop_runtime/mutter.log")
  desktop_env+=(WAYLAND_DISPLAY=wayland-gn XDG_CURRENT_DESKTOP=GNOME)
}

# What each desktop is expected to show: its idle source as the watcher names it, and one
# full-screen view per output at the output's size.
case $desktop in
  kwin)
    kwin_start
    source_said="(ext-idle-notify-v1)"
    outputs=$'0,0 1280x720: asked 1280x720, drawn 1280x720\n1280,0 1280x720: asked 1280x720, drawn 1280x720'
    # Input: KWin's fake input, through a client of the test's own.
    coproc INPUT { as_user "$build/tests/e2e/input" 2>&1; }
    # Plasma's policy agent runs from the session's start.
    as_user /usr/bin/python3 "$here/policy-agent-standin.py" >"$desktop_runtime/agent.out" 2>&1 &
    until_true 30 grep -q ready "$desktop_runtime/agent.out" ||
      { echo "no policy agent:"; cat "$desktop_runtime/agent.out"; exit 1; }
    ;;
  mutter)
    mutter_start
    source_said="(org.gnome.Mutter.IdleMonitor, serving org.freedesktop.ScreenSaver)"
    outputs=$'0,0 1280x720: asked 1280x720, drawn 1280x720\n1280,0 1024x768: asked 1024x768, drawn 1024x768'
    # Input: mutter's remote-desktop service.
    coproc INPUT { as_user /usr/bin/python3 "$here/remote-desktop-input.py" 2>&1; }
    ;;
  *) echo "usage: $0 BUILD_DIR kwin|mutter" >&2; exit 2 ;;
esac
read -r ready <&"${INPUT[0]}" || ready=
check "input on the $desktop seat" [ "$ready" = ready ]
move() { echo "$1 $2" >&"${INPUT[1]}"; }
key() { echo "key $1" >&"${INPUT[1]}"; }
KEY_A=30 KEY_LEFTSHIFT=42

# What "moondial --check" tells the user on this desktop.
checked() { report_of session timeout 30 "$build/moondial" --check; says "$@"; }
signal=${source_said#(}
signal=${signal%%[,)]*}
check "--check before the watcher: the session, its idle signal, nothing that starts Moondial" \
  checked 1 '^ok +a Wayland session \((KDE|GNOME)\)' "^ok +the idle signal a watcher uses here: $signal\$" \
  '^problem +nothing starts Moondial in this session -> '

# The watcher's standard error holds the saver's too, with what the compositor told it.
log=$desktop_runtime/watcher.err
session env WAYLAND_DEBUG=client "$build/moondial" --idle 3s 2>>"$log" &
watcher=$!
until_true 30 grep -q '^moondial: starting' "$log" || true
says_its_source() {
  grep -q "^moondial: starting the saver after 3 s without input $source_said\$" "$log" ||
    why "said: $(grep '^moondial' "$log")"
}
check "the watcher follows the desktop's idle signal" says_its_source

savers() { pgrep -u "$desktop_user" -f -- 'moondial /s$' || true; }
# A saver running, and the compositor's answers to its latest run: one full-screen view on each
# output at the output's size. Each run counts once (the last one counted is kept in a file).
shown() {
  local said run
  [ -n "$(savers)" ] || return 1
  said=$(/usr/bin/python3 "$here/wayland-views.py" < "$log")
  run=$(sed -n 's/^run //p' <<<"$said")
  [ -n "$run" ] && [ "$run" -gt "$(cat "$desktop_runtime/runs" 2>/dev/null || echo -1)" ] &&
    [ "$(sed 1d <<<"$said")" = "$outputs" ] || return 1
  echo "$run" > "$desktop_runtime/runs"
}
shows_within() {
  until_true "$1" shown || why "no saver covering each output within $1 s; its latest run:" \
    "$(/usr/bin/python3 "$here/wayland-views.py" < "$log")" "expected:" "$outputs"
}
# The user's last input before going away; it also spends the first key of the new keyboard,
# which mutter never passes on.
waits_after_input() {
  move 1 1
  key $KEY_LEFTSHIFT
  sleep 2
  [ -z "$(savers)" ] || why "a saver 2 s after the last input, of 3 s"
}
# A hand on the mouse: motion after motion until the saver ends, as the saver takes its first
# report for where the pointer already was.
ended() { ! kill -0 "$1" 2>/dev/null; }
stroke() { move 7 5; sleep 0.1; ended "$1"; }
ends_on() { # ends_on pointer|key: that saver ends, the watcher stays
  local saver; saver=$(savers)
  [ -n "$saver" ] || { why "no saver to end"; return; }
  if [ "$1" = pointer ]; then
    until_true 15 stroke "$saver" || { why "the saver still runs"; return; }
  else
    key $KEY_A
    until_true 15 ended "$saver" || { why "the saver still runs"; return; }
  fi
  kill -0 "$watcher" 2>/dev/null || why "the watcher ended with its saver"
}
check "no saver before the duration has passed" waits_after_input
check "the saver covers each output once it has" shows_within 30
check "a pointer movement ends the saver and leaves the watcher" ends_on pointer
check "...which starts it again after the next idle time" shows_within 30
check "...and a key ends that one" ends_on key
check "--check beside it: the watcher starts Moondial, nothing comes first" checked 0 \
  '^ok +moondial --idle 3s runs \(process [0-9]+\)' '^ok +nothing blanks or locks the screen before'

# A film player holds the saver off through org.freedesktop.ScreenSaver until it lets go.
mkfifo "$desktop_runtime/film.in"
as_user /usr/bin/python3 -c '
import sys, dbus
bus = dbus.SessionBus()
screensaver = dbus.Interface(bus.get_object("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"),
                             "org.freedesktop.ScreenSaver")
cookie = screensaver.Inhibit("film", "playing a film")
print("holding", cookie, flush=True)
sys.stdin.readline()
screensaver.UnInhibit(cookie)
print("released", flush=True)
sys.stdin.readline()' <"$desktop_runtime/film.in" >"$desktop_runtime/film.out" 2>&1 &
exec {film}>"$desktop_runtime/film.in"
check "a film holds an inhibition" until_true 20 grep -q '^holding [1-9]' "$desktop_runtime/film.out"
if [ "$desktop" = kwin ]; then
  check "...which KWin hands to Plasma's policy agent" \
    until_true 20 grep -q '^added 4 film: playing a film' "$desktop_runtime/agent.out"
fi
held_off() {
  # A key first (a saver from before the inhibition ends on one): the time away counts from the
  # moment the inhibition held, whenever that was.
  key $KEY_LEFTSHIFT
  until_true 15 eval '[ -z "$(savers)" ]' ||
    { why "a saver from before the inhibition still runs"; return; }
  sleep 8
  [ -z "$(savers)" ] || why "a saver while the film held it off"
}
check "no saver while the film plays" held_off
through="Plasma.s power management"
[ "$desktop" = kwin ] || through="the watcher.s org.freedesktop.ScreenSaver"
check "--check names the film holding it off, and why" checked 1 \
  "^problem +\"film\" holds the saver off through $through: \"playing a film\""
echo release >&"$film"
released() {
  if [ "$desktop" = kwin ]; then grep -q '^released' "$desktop_runtime/agent.out"
  else grep -q '^released' "$desktop_runtime/film.out"; fi
}
check "the film lets go" until_true 20 released
not_at_release() { sleep 1.5; [ -z "$(savers)" ] || why "a saver 1.5 s after the release, of 3 s"; }
check "no saver the moment it has" not_at_release
check "the saver covers each output the duration after the release" shows_within 30

checks_done
