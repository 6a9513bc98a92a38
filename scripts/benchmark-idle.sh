#!/usr/bin/env bash
# Measures the idle watcher while it waits (not a test): its wakeups per second (voluntary
# context switches of all its threads) and CPU seconds, on X11 (Xvfb, the server's idle time)
# and on Wayland (headless sway, the compositor's idle protocol), with a duration long enough
# that no saver starts.
# Usage: scripts/benchmark-idle.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux >/dev/null
program=$PWD/build/linux/moondial
ticks=$(getconf CLK_TCK)

wakeups() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/{s+=$2} END{print s+0}'; }
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# report NAME PID: after 5 s of settling, SECONDS of waiting.
report() {
  sleep 5
  local w0 c0 w1 c1
  w0=$(wakeups "$2"); c0=$(cpu "$2")
  sleep "$seconds"
  w1=$(wakeups "$2"); c1=$(cpu "$2")
  awk -v n="$1" -v w=$((w1 - w0)) -v c=$((c1 - c0)) -v s="$seconds" -v hz="$ticks" \
    'BEGIN{printf "%-34s %6d wakeups in %d s = %.2f/s, CPU %.2f s\n", n, w, s, w / s, c / hz}'
}

(
  source tests/e2e/xvfb.sh
  trap xvfb_stop EXIT
  xvfb_start 1024x768x24
  env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS "$program" --idle 10 2>/dev/null &
  watcher=$!
  report "X11 (MIT-SCREEN-SAVER)" "$watcher"
  kill "$watcher"
)
(
  source tests/e2e/sway.sh
  sway_start
  as_user env DISPLAY="$desktop_display" "$program" --idle 10 2>/dev/null &
  sleep 2
  watcher=$(pgrep -u "$desktop_user" -f -- 'moondial --idle')
  report "Wayland (org_kde_kwin_idle, sway)" "$watcher"
  as_user kill "$watcher"
)
