#!/usr/bin/env bash
# The real Windows preview under Wine, 32 or 64 bits as built, in a pane of another process:
# a child with WS_CHILD added and its other style bits kept, at the pane's inner size, shown
# and not active; it ends with the pane, and at once when the handle names no window. (Wine
# shows no pixels of another process's child: the structure is what is checked.)
# Usage: tests/e2e/wine-preview.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scr=$build/moondial.scr
probe_exe=$build/tests/e2e/probe.exe
source "$here/wine-env.sh"
wine_env_start "$(wine_arch_of "$scr")"
work=$wine_tmp

source "$here/checks.sh"
probe() { timeout 60 wine "$probe_exe" "$@"; }

wine "$probe_exe" pane 152 112 "Z:$work/destroy-the-pane" > "$work/pane" 2>/dev/null &
for _ in $(seq 300); do [ -s "$work/pane" ] && break; sleep 0.1; done
pane=$(head -n 1 "$work/pane" | tr -d '\r')
check "the test's pane is up" [ -n "$pane" ]

wine "$scr" /p "$pane" >/dev/null 2>&1 &
preview=$!
child=
for _ in $(seq 300); do
  child=$(probe child "$pane" 2>/dev/null | tr -d '\r') || true
  grep -q ' visible' <<<"$child" && break
  sleep 0.1
done
# WS_POPUP (0x80000000) kept, WS_CHILD (0x40000000) added, WS_VISIBLE (0x10000000).
in_pane() {
  grep -q '^child MoondialForm 0,0,152,112 style=0x[dD]' <<<"$child" || why "$child" || return
  grep -q ' visible inactive no-focus pane-foreground$' <<<"$child" || why "$child"
}
check "'/p HWND' becomes the pane's child at its size, shown, not active" in_pane

touch "$work/destroy-the-pane"
for _ in $(seq 300); do grep -q destroyed "$work/pane" && break; sleep 0.05; done
ended_within_a_second() {
  for _ in $(seq 10); do kill -0 "$preview" 2>/dev/null || return 0; sleep 0.1; done
  kill "$preview" 2>/dev/null; why "still running a second after its pane went"
}
check "destroying the pane ends the preview within a second" ended_within_a_second

ends_at_once() { # ends_at_once PANE
  local seen
  seen=$(probe run 10000 'C:\windows\system32\moondial.scr' "/p $1" | tr -d '\r')
  grep -q '^exit 0 after' <<<"$seen" || why "$seen" || return
  ! grep -q '^window' <<<"$seen" || why "$seen"
}
cp "$scr" "$WINEPREFIX/drive_c/windows/system32/moondial.scr"
check "'/p' with a number that names no window ends at once" ends_at_once 12345
check "'/p 0' ends at once" ends_at_once 0
desktop=$(probe desktop | tr -d '\r')
check "'/p' with the desktop window ends at once" ends_at_once "$desktop"

checks_done
