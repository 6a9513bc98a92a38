#!/usr/bin/env bash
# The idle watcher on an X display, with the server's own idle time: the saver shows once the
# user has been idle for the duration, a key ends it, it shows again; an application's inhibit
# call on the session bus holds it off until the application leaves; the session locking or
# sleeping (logind, on a system bus of the test's own, and the desktop's own locker) ends it;
# SIGTERM ends the watcher and its saver. And the command lines it refuses, and a session with
# no idle signal at all.
# Usage: tests/e2e/linux-idle.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
source "$here/xvfb.sh"
source "$here/checks.sh"

work=$(mktemp -d)
watcher= bus_pid= holder= system_pid= logind=
cleanup() {
  [ -z "$watcher" ] || kill "$watcher" 2>/dev/null || true
  [ -z "$holder" ] || kill "$holder" 2>/dev/null || true
  [ -z "$logind" ] || kill "$logind" 2>/dev/null || true
  [ -z "$bus_pid" ] || kill "$bus_pid" 2>/dev/null || true
  [ -z "$system_pid" ] || kill "$system_pid" 2>/dev/null || true
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
xvfb_start 800x600x24
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
# A session bus of the test's own.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
bus_pid=$(head -n 1 "$work/bus.pid")
export DBUS_SESSION_BUS_ADDRESS
# And a system bus, where a stand-in for logind locks the session when the test says so.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/system" 4>"$work/system.pid"
DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$work/system")
system_pid=$(head -n 1 "$work/system.pid")
export DBUS_SYSTEM_BUS_ADDRESS
mkfifo "$work/logind.in"
/usr/bin/python3 "$here/logind-standin.py" <"$work/logind.in" >"$work/logind.out" &
logind=$!
exec 5>"$work/logind.in"
until_true 20 grep -q ready "$work/logind.out"

saver() { pgrep -P "$watcher" -f -- '/s$'; }
no_saver() { ! saver >/dev/null; }
saver_shown() { # the saver's process, its window shown and holding the keyboard
  saver >/dev/null || return 1
  local window
  window=$(xdotool search --onlyvisible --class moondial 2>/dev/null | head -n 1)
  [ -n "$window" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]
}
shows_within() { until_true "$1" saver_shown || why "no saver shown within $1 s"; }
gone_within() { until_true "$1" no_saver || why "the saver still runs after $1 s"; }
# The watcher waits the whole duration after the last input before it starts the saver.
waits_after_input() {
  xdotool key shift
  sleep 2
  no_saver || why "a saver 2 s after the last input, of 3 s"
}
ends_on_key() {
  xdotool key a
  gone_within 10 && kill -0 "$watcher" 2>/dev/null || why "the watcher ended with its saver"
}

refuses() { # refuses STATUS ARGUMENTS...: the exit status and a message on the standard error
  local want=$1 status=0; shift
  timeout 10 "$program" "$@" >/dev/null 2>"$work/said" || status=$?
  [ "$status" = "$want" ] && grep -q . "$work/said" || why "status $status, said: $(cat "$work/said")"
}
for arguments in "--idle" "--idle 0" "--idle 10x" "--idle 2d" "--idle -5" "--idle 90s 10m"; do
  # shellcheck disable=SC2086 # the words are the arguments
  check "refuses $arguments" refuses 2 $arguments
done
no_idle_signal() { (unset DISPLAY; refuses 1 --idle 1); }
check "a session without an idle signal says so and ends" no_idle_signal
check "...naming what it looked for" grep -q "no idle signal" "$work/said"

# The X server's own blank coming before the saver is said at the start, naming the setting.
xset s 2
"$program" --idle 3s 2>"$work/early.err" &
watcher=$!
says_blank_comes_first() {
  until_true 20 grep -q "The X server blanks the screen after 2 s, before the saver's 3 s: set xset s" \
    "$work/early.err" || why "said: $(cat "$work/early.err")"
}
check "an X server that blanks before the saver is named at the start" says_blank_comes_first
kill "$watcher"; wait "$watcher" 2>/dev/null || true
xset s default

"$program" --idle 3s 2>"$work/watcher.err" &
watcher=$!
until_true 20 grep -q starting "$work/watcher.err" || true
second_watcher() { # ends at once with status 3, saying one runs
  local status=0
  timeout 10 "$program" --idle 3s 2>"$work/second.err" || status=$?
  [ "$status" = 3 ] && grep -q "already runs" "$work/second.err" ||
    why "status $status, said: $(cat "$work/second.err")"
}
check "a second watcher in the session ends at once, saying one runs" second_watcher
check "the watcher listens to the X server and serves the inhibit calls" \
  grep -q "after 3 s without input (MIT-SCREEN-SAVER, serving org.freedesktop.ScreenSaver)" \
  "$work/watcher.err"
check "no saver before the duration has passed" waits_after_input
check "the saver shows once it has" shows_within 30
check "a key ends the saver and leaves the watcher" ends_on_key
check "...which starts it again after the next idle time" shows_within 30
check "...and a key ends that one too" ends_on_key

# An application holding the saver off, as a video player does, until it leaves the bus.
/usr/bin/python3 -c '
import dbus, time
bus = dbus.SessionBus()
service = bus.get_object("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver")
print(service.Inhibit("player", "playing a video", dbus_interface="org.freedesktop.ScreenSaver"), flush=True)
time.sleep(3600)' >"$work/cookie" &
holder=$!
check "an application gets a cookie" until_true 10 grep -q '^[1-9]' "$work/cookie"
held_off() { sleep 8; no_saver || why "a saver while an application held it off"; }
check "no saver while the application holds it off" held_off
kill "$holder"; holder=
not_at_release() { sleep 1.5; no_saver || why "a saver 1.5 s after the release, of 3 s"; }
check "no saver the moment the application has gone" not_at_release
check "the saver shows the whole duration after the release" shows_within 30

# The lock screen wins: the session locking or sleeping ends the watcher's saver, and none
# shows over the lock screen however long the user is away from it. After the unlock, the
# user is back and the saver follows the next time away.
stays_away() { sleep 8; no_saver || why "a saver while the session was locked"; }
echo lock >&5
check "logind's Lock ends the saver" gone_within 10
check "...and none shows while the session stays locked" stays_away
echo unlock >&5
xdotool key shift
check "after the unlock, the saver shows the next time away" shows_within 30
echo sleep >&5
check "the system going to sleep ends it" gone_within 10
echo wake >&5
xdotool key shift
check "...and after waking, the saver shows the next time away" shows_within 30
dbus-send --session --type=signal /ScreenSaver org.freedesktop.ScreenSaver.ActiveChanged \
  boolean:true
check "the desktop's own locker becoming active ends it" gone_within 10
dbus-send --session --type=signal /ScreenSaver org.freedesktop.ScreenSaver.ActiveChanged \
  boolean:false
xdotool key shift
check "...and after it, the saver shows the next time away" shows_within 30

kill -TERM "$watcher"
ended() { ! kill -0 "$watcher" 2>/dev/null && ! pgrep -f -x "$program /s" >/dev/null; }
check "SIGTERM ends the watcher and its saver" until_true 15 ended
watcher=

# A display that goes away ends the watcher with a status of its own, which its service
# restarts on, unlike a session with no idle signal.
"$program" --idle 1h 2>"$work/lost.err" &
watcher=$!
until_true 20 grep -q starting "$work/lost.err" || true
xvfb_stop
lost_status=0
for _ in $(seq 100); do kill -0 "$watcher" 2>/dev/null || break; sleep 0.1; done
kill -0 "$watcher" 2>/dev/null && kill "$watcher"
wait "$watcher" || lost_status=$?
watcher=
lost_status() { [ "$lost_status" = 4 ] || why "status $lost_status, said: $(cat "$work/lost.err")"; }
check "a lost display ends the watcher with status 4" lost_status
checks_done
