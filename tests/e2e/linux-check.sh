#!/usr/bin/env bash
# "moondial --check" in an X11 session on a display of its own, with a session bus of its own:
# nothing starts the saver, then the idle watcher does; the X server blanking the screen first;
# a film held through the watcher's own inhibitor, and one through Plasma's policy agent (a
# stand-in), each named with its application; an agent that never answers; the user service
# failed (systemd a stand-in); a bad stored choice and a missing custom picture.
# Each report names what it found and its fix, and the exit status follows. No setting written.
# Usage: tests/e2e/linux-check.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
source "$here/xvfb.sh"
source "$here/checks.sh"

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime HOME=$work
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
export DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus")
pids+=("$(cat "$work/bus.pid")")

put() { # put "name=value"...: the stored settings
  mkdir -p "$(dirname "$store")"
  { echo '[General]'; for pair in "$@"; do echo "${pair// /%20}"; done; } >"$store"
}
report() { report_of timeout 30 "$program" --check; }
bad_command_line() {
  local status=0
  timeout 15 "$program" --check now >/dev/null 2>&1 || status=$?
  [ "$status" = 2 ] || why "exit status $status"
}
check "a bad command line is status 2" bad_command_line
put "Screen Saver Type=2"
report
check "nothing started: the session, its idle signal, and the way to start Moondial" says 1 \
  '^ok +an X11 session' '^ok +the idle signal a watcher uses here' \
  '^problem +nothing starts Moondial in this session -> .*moondial --idle' \
  '^ok +the chosen picture: the lips clock$'
check "the check writes no setting" [ "$(cat "$store")" = $'[General]\nScreen%20Saver%20Type=2' ]

# The watcher, as the user service or a session's autostart runs it.
"$program" --idle 10m 2>"$work/watcher.err" &
pids+=($!)
check "the watcher starts" until_true 30 grep -q "starting the saver" "$work/watcher.err"
xset s off
report
check "the watcher found, nothing before it: status 0" says 0 \
  '^ok +moondial --idle 10m runs \(process [0-9]+\): it starts Moondial after 10 min' \
  '^ok +nothing blanks or locks the screen before Moondial.s 10 min'
xset s 60
report
check "the X server blanking first is a problem with its fix" says 1 \
  '^problem +The X server blanks the screen after 1 min, before Moondial.s 10 min -> set xset s'
xset s off

# An application holding the saver off through the watcher's own org.freedesktop.ScreenSaver.
/usr/bin/python3 -c '
import time, dbus
bus = dbus.SessionBus()
saver = dbus.Interface(bus.get_object("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"),
                       "org.freedesktop.ScreenSaver")
saver.Inhibit("Videos", "Playing a film")
print("holding", flush=True)
time.sleep(120)' >"$work/holder.out" 2>&1 </dev/null &
holder=$!
pids+=("$holder")
check "an application holds the watcher's inhibitor" until_true 30 grep -q holding "$work/holder.out"
report
check "it is named, with its reason" says 1 \
  '^problem +"Videos" holds the saver off through the watcher.s org.freedesktop.ScreenSaver: "Playing a film"'
kill "$holder"
wait "$holder" 2>/dev/null || true

/usr/bin/python3 "$here/policy-agent-standin.py" >"$work/agent.out" 2>&1 &
pids+=($!)
check "the policy agent stand-in serves" until_true 30 grep -q ready "$work/agent.out"
dbus-send --session --print-reply --dest=org.kde.Solid.PowerManagement.PolicyAgent \
  /org/kde/Solid/PowerManagement/PolicyAgent \
  org.kde.Solid.PowerManagement.PolicyAgent.AddInhibition \
  uint32:4 string:Celluloid "string:Playing a film" >/dev/null
report
check "a film holding it off is named, with its application and reason" says 1 \
  '^problem +"Celluloid" holds the saver off through Plasma.s power management: "Playing a film" -> '
kill "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null || true
/usr/bin/python3 "$here/policy-agent-standin.py" --never-answer >"$work/hung.out" 2>&1 &
pids+=($!)
check "the hung stand-in serves" until_true 30 grep -q ready "$work/hung.out"
started=$SECONDS
report
check "an agent that never answers is said so, and the check goes on" says 0 \
  '^note +Plasma.s power management did not answer within a second' '^ok +the chosen picture'
check "and ends within a few seconds" [ $((SECONDS - started)) -le 5 ]

# The user service failed after its display went away, as a stand-in for systemd tells it.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "LoadState=loaded\\nUnitFileState=enabled\\nActiveState=failed\\nResult=exit-code\\nExecMainStatus=4\\n"\n' \
  >"$work/bin/systemctl"
chmod 755 "$work/bin/systemctl"
PATH=$work/bin:$PATH report
check "a failed user service is named with its status and what to do" says 1 \
  '^problem +the user service moondial-idle.service failed, its last exit status 4: the display or compositor went away -> systemctl --user restart moondial-idle.service'

put "Screen Saver Type=4" "Custom Graphic Path=$work/gone.jpg"
report
check "a missing custom picture is a problem" says 1 \
  "^problem +the custom picture \"$work/gone.jpg\" is missing: the saver shows \"Custom graphic image is missing.\""
put "Screen Saver Type=9"
report
check "a stored type the saver does not know is a problem" says 1 \
  '^problem +the stored "Screen Saver Type" is 9: the saver shows only black -> choose a picture'
checks_done
