#!/usr/bin/env bash
# The real Linux program on an X display of its own: what each command line leaves in the
# settings file, the report for a bad stored type, and the refusal beside a running instance.
# Usage: tests/e2e/linux-cli.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
source "$here/xvfb.sh"

work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf

passed=0 failed=0
check() { # check NAME COMMAND...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

# The stored values, one "name=value" line each, names unescaped, in file order.
values() { [ -f "$store" ] && grep -v '^\[' "$store" | sed 's/%20/ /g' | grep -v '^$' || true; }
put() { # put "name=value"...
  mkdir -p "$(dirname "$store")"
  { echo '[General]'; for pair in "$@"; do echo "${pair// /%20}"; done; } > "$store"
}
# Runs the program with the arguments; fails if it is still running after 30 s.
run() { timeout 30 "$program" "$@" >/dev/null 2>&1; }
no_windows() { ! xdotool search --name . >/dev/null 2>&1; }

for args in /a /x; do
  rm -rf "$XDG_CONFIG_HOME"
  check "$args ends at once with no window" run "$args"
  check "$args leaves only the defaults" [ "$(values)" = $'Preview=False\nScreen Saver Type=1' ]
done

# Each mode with a bad stored type shows one report, waits for OK, then ends on its own.
report_once() {
  put "Preview=True" "Screen Saver Type=abc"
  "$program" "$@" >/dev/null 2>&1 &
  local pid=$! window
  window=$(timeout 30 xdotool search --sync --name '^CRITICAL ERROR$' | head -n 1) || return 1
  xdotool windowfocus --sync "$window" key Return
  for _ in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then kill $pid; return 1; fi
  [ "$(values)" = $'Preview=True\nScreen Saver Type=abc' ]
}
for args in /s /c "/p 4711" "" /a; do
  check "'$args' with type abc shows one CRITICAL ERROR and ends" report_once $args
done

# Beside a running instance, after a start that was no preview: nothing happens at all.
put "Preview=False" "Screen Saver Type=abc"
before=$(values)
lock=$XDG_RUNTIME_DIR/moondial-$(id -u).lock
flock --no-fork "$lock" sleep 60 &
holder=$!
for _ in $(seq 300); do flock -n "$lock" true 2>/dev/null || break; sleep 0.1; done # held
check "second instance ends at once without a report" run /s
check "second instance writes nothing" [ "$(values)" = "$before" ]
check "second instance opens no window" no_windows
kill $holder 2>/dev/null || true

for args in "/p 4711" "/p:4711"; do
  put "Preview=False" "Screen Saver Type=1"
  run "$args" || true
  check "'$args' records a preview start" [ "$(values)" = $'Preview=True\nScreen Saver Type=1' ]
done
# The saver stays until the user comes; it has recorded itself by the time its window maps.
saver_maps() {
  "$program" "$@" >/dev/null 2>&1 &
  local pid=$!
  timeout 30 xdotool search --sync --onlyvisible --class moondial >/dev/null
  local found=$?
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  return $found
}
for args in /s /S; do
  put "Preview=True" "Screen Saver Type=1"
  check "'$args' opens the saver" saver_maps "$args"
  check "'$args' records a start that is no preview" [ "$(values)" = $'Preview=False\nScreen Saver Type=1' ]
done
# The setup dialog stays until it is closed; it has recorded the start by the time it maps.
dialog_maps() {
  "$program" "$@" >/dev/null 2>&1 &
  local pid=$!
  timeout 30 xdotool search --sync --onlyvisible --name '^Moondial - Setup$' >/dev/null
  local found=$?
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  return $found
}
put "Preview=True" "Screen Saver Type=1"
check "'/c:4711' opens the setup dialog" dialog_maps /c:4711
check "'/c:4711' records a start that is no preview" [ "$(values)" = $'Preview=False\nScreen Saver Type=1\nCustom Graphic Path=N/A' ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
