#!/usr/bin/env bash
# Builds the Linux program and runs the saver on this display. Without a display it runs on a
# virtual one for a few seconds and leaves a screenshot in out/saver.png.
# Extra arguments replace the saver's "/s" (for example: scripts/run-saver.sh /c).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux

args=("$@")
[ ${#args[@]} -eq 0 ] && args=(/s)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec build/linux/moondial "${args[@]}"
fi

source tests/e2e/xvfb.sh
trap xvfb_stop EXIT
xvfb_start 1280x800x24
mkdir -p out
build/linux/moondial "${args[@]}" &
program=$!
sleep 4
import -window root out/saver.png
kill "$program" 2>/dev/null || true
echo "No display here: ran '${args[*]}' on a virtual display; screenshot in $(pwd)/out/saver.png"
