#!/usr/bin/env bash
# The Linux settings file under a writer killed at random moments (kill -9, again and again):
# after every kill the file holds every value, whole.
# Usage: tests/e2e/linux-store.sh BUILD_DIR [KILLS]
set -euo pipefail
writer=$(cd "$1" && pwd)/tests/settings_writer
kills=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf
mkdir -p "$(dirname "$store")"
printf '[General]\nScreen%%20Saver%%20Type=2\nPreview=False\nCustom%%20Graphic%%20Path=/first.jpg\n' > "$store"

whole() { # every value there, once, and the path one the writer could have written
  [ "$(grep -c '^Screen%20Saver%20Type=2$' "$store")" = 1 ] || return 1
  grep -qx 'Preview=\(True\|False\)' "$store" || return 1
  grep -qx 'Custom%20Graphic%20Path=\(/first.jpg\|"/pictures/x*, number [0-9]*.jpg"\)' "$store"
}
lost=0
for i in $(seq "$kills"); do
  "$writer" & pid=$!
  sleep "0.0$((RANDOM % 10))$((RANDOM % 10))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  whole || { lost=$((lost + 1)); echo "FAIL after kill $i:"; cat "$store"; }
done
left=$(ls "$(dirname "$store")" | grep -cv '^Moondial.conf\(.lock\|.new\)\?$' || true)
echo "$kills kills, $lost with a value lost, $left other files left beside it"
[ "$left" -eq 0 ] || lost=$((lost + 1))
[ "$lost" -eq 0 ]
