#!/usr/bin/env bash
# The setup dialog and the About box as a real screen reader speaks them: Orca on an X display,
# a session bus and the AT-SPI bus of the test's own, its words read from its debug output (on a
# pseudo-terminal: Orca flushes nothing to a plain file) with speech-dispatcher's dummy output.
# Entering the path box speaks its whole text; the About box's opening speaks its version.
# Skipped where Orca is not installed.
# Usage: tests/e2e/linux-screen-reader.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
command -v orca >/dev/null || { echo "skip no screen reader (orca) on this machine"; exit 0; }
source "$here/xvfb.sh"
source "$here/checks.sh"
source "$here/atspi-bus.sh"

work=$(mktemp -d)
setup= reader=
cleanup() {
  for pid in $setup $reader; do kill "$pid" 2>/dev/null || true; done
  atspi_bus_stop
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
xvfb_start 1024x768x24
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
# Speech goes nowhere: Orca's log says what it would have spoken.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
  > "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
atspi_bus_start "$work"

log=$work/orca.log
script -qfc "orca --replace --debug-file=/dev/stdout" /dev/null >"$log" 2>&1 &
reader=$!
said() { grep -aF "SPEECH OUTPUT: '$1" "$log" >/dev/null; }
spoken() { # spoken WORDS: Orca speaks them within the deadline
  until_true 60 said "$1" || why "not said: $1" "Orca said:" "$(grep -a 'SPEECH OUTPUT' "$log" | tail -n 15)"
}
check "the screen reader starts" spoken "Screen reader on."

printf '[General]\nScreen%%20Saver%%20Type=4\nCustom%%20Graphic%%20Path=N/A\n' \
  > "$XDG_CONFIG_HOME/Quillon/Moondial.conf"
"$program" /c >/dev/null 2>&1 &
setup=$!
check "the dialog is spoken with its selected option and its group" spoken "Screen Saver Type, 4 of 4."
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Moondial - Setup$' | head -n 1)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key --clearmodifiers Tab
check "entering the path box speaks its whole text" spoken "N/A selected."
check "never one character short" bash -c '! grep -aF "SPEECH OUTPUT: '"'"'N/ selected" "$0"' "$log"
xdotool key --clearmodifiers Tab Tab Return
check "the About box's opening speaks its version" spoken "Version "
check "after its caption" spoken "Moondial - About dialog"
checks_done
