#!/usr/bin/env bash
# The Linux settings file under a writer killed at random moments (kill -9, again and again):
# after every kill the file holds every value, whole. Then the write lock: a writer waits for
# it through signals, killed while it waits it writes nothing, and it writes once the lock is
# free.
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
left=$(ls -A "$(dirname "$store")" | grep -cv '^Moondial.conf\(.lock\|.new\)\?$' || true)
echo "$kills kills, $lost with a value lost, $left other files left beside it"
[ "$left" -eq 0 ] || { ls -A "$(dirname "$store")"; lost=$((lost + 1)); }

failed=0
check() { # what, then the command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failed=1; fi
}
wait_for() { # seconds, then a command: true once it succeeds within them
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.1; done
}
says() { grep -q "$2" "$1" 2>/dev/null; }

before=$(cat "$store")
mkfifo "$work/hold"
"$writer" --hold "$store.lock" < "$work/hold" > "$work/held" & holder=$!
exec 3> "$work/hold"
wait_for 30 says "$work/held" held || { echo "FAIL: the lock was never held"; exit 1; }

"$writer" --once /blocked.jpg 2> "$work/blocked" 3>&- & blocked=$!
wait_for 30 says "$work/blocked" writing
for _ in 1 2 3 4 5; do kill -USR1 "$blocked"; sleep 0.1; done
check "a writer waits for the lock through signals" kill -0 "$blocked"
check "and writes nothing while it waits" test "$(cat "$store")" = "$before"
kill -9 "$blocked"; wait "$blocked" 2>/dev/null || true
check "killed while it waits, it writes nothing" test "$(cat "$store")" = "$before"

"$writer" --once /after.jpg 3>&- 2> "$work/after" & after=$!
exec 3>&-
wait "$holder"
status=0; wait "$after" || status=$?
check "once the lock is free the waiting writer writes" \
  grep -qx 'Custom%20Graphic%20Path=/after.jpg' "$store"
check "and its write was no failure" test "$status" -eq 0
[ "$lost" -eq 0 ] && [ "$failed" -eq 0 ]
