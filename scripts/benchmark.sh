#!/usr/bin/env bash
# Measures the saver (not a test): CPU seconds per minute of "/s", peak memory and time to the
# first frame, for the Linux build on Xvfb and the Windows build under Wine, beside
# "xclock -analog -update 1" measured the same way in the same run.
# Usage: scripts/benchmark.sh [SECONDS]   (default 60; the figures are scaled to one minute)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/install-deps.sh linux windows bench
for preset in linux win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done

source tests/e2e/xvfb.sh
source tests/e2e/wine-env.sh
work=$(mktemp -d)
trap 'wine_env_stop 2>/dev/null; xvfb_stop; rm -rf "$work"' EXIT

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
peak_kib() { awk '/VmHWM/{print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
now_ms() { date +%s%3N; }

# Waits until the colour $2 shows on the screen; prints the milliseconds since $1. Each look
# at the screen takes some tens of milliseconds, which bounds the precision.
first_frame() {
  local start=$1 colour=$2
  for _ in $(seq 2000); do
    if [ "$(convert x:root -fill black +opaque "$colour" -format '%[fx:maxima]' info: 2>/dev/null)" != 0 ]; then
      echo $(($(now_ms) - start)); return
    fi
    sleep 0.005
  done
  echo "n/a"
}

# measure NAME START_MS COLOUR PID_FINDER...: time until COLOUR shows, then CPU per minute and
# peak memory of every process the finder names.
measure() {
  local name=$1 start=$2 colour=$3; shift 3
  local frame pids cpu0=0 cpu1=0 peak=0 p
  frame=$(first_frame "$start" "$colour")
  pids=$("$@")
  for p in $pids; do cpu0=$((cpu0 + $(cpu_ticks "$p"))); done
  sleep "$seconds"
  for p in $pids; do
    cpu1=$((cpu1 + $(cpu_ticks "$p")))
    peak=$((peak + $(peak_kib "$p")))
  done
  printf '%-34s %10s %12s %14s\n' "$name" \
    "$(awk -v t=$((cpu1 - cpu0)) -v hz="$ticks" -v s="$seconds" 'BEGIN{printf "%.2f", t / hz * 60 / s}')" \
    "$((peak / 1024)) MiB" "$frame ms"
}

printf '%-34s %10s %12s %14s\n' "program" "CPU s/min" "peak memory" "first frame"

# Linux build on Xvfb.
xvfb_start 1280x800x24
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Quillon" "$XDG_RUNTIME_DIR"
# The colour that shows once the face is on screen: the dials' grey, the lips' hand grey.
for type in 1 2 3; do
  printf '[General]\nScreen%%20Saver%%20Type=%s\n' "$type" > "$XDG_CONFIG_HOME/Quillon/Moondial.conf"
  start=$(now_ms)
  build/linux/moondial /s & pid=$!
  measure "moondial /s, type $type (Linux, Qt)" "$start" "rgb(192,192,192)" echo "$pid"
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
start=$(now_ms)
xclock -analog -update 1 -geometry 164x164+100+100 & pid=$!
measure "xclock -analog -update 1" "$start" "rgb(255,255,255)" echo "$pid"
kill "$pid"; wait "$pid" 2>/dev/null || true
xvfb_stop

# Windows build under Wine (its own display, with Wine's virtual desktop); wineserver counts too.
wine_env_start
trap 'wine_env_stop; rm -rf "$work"' EXIT
wine reg add 'HKCU\Software\Quillon\Moondial' /v 'Screen Saver Type' /d 1 /f >/dev/null 2>&1
wineserver -w
start=$(now_ms)
wine build/win32/moondial.scr /s & pid=$!
measure "moondial.scr /s, type 1 (Wine)" "$start" "rgb(192,192,192)" \
  sh -c 'pgrep -f "moondial.scr" | head -n 1; pgrep -x wineserver || pgrep wineserver'
kill "$pid" 2>/dev/null || true
