#!/usr/bin/env bash
# The setup dialog and the About box as a screen reader reads them on Linux: the AT-SPI tree of
# the real program on an X display and a session bus of its own. Every control a user can reach
# has a role and a name, the path box is labelled by its label, the pictures that only decorate
# are passed over, and each window opens with the focus where the user expects it.
# Usage: tests/e2e/linux-accessible.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
xtool=$(cd "$1" && pwd)/tests/e2e/xtool
tree=$here/atspi-tree.py
source "$here/xvfb.sh"
source "$here/checks.sh"
source "$here/atspi-bus.sh"

work=$(mktemp -d)
setup=
cleanup() {
  [ -z "$setup" ] || kill "$setup" 2>/dev/null || true
  atspi_bus_stop
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
xvfb_start 1024x768x24
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf
atspi_bus_start "$work"

read_window() { timeout 90 "$tree" window "$setup" "$1" 60; } # read_window TITLE
window_named() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
click_at() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }
ended() {
  for _ in $(seq 300); do kill -0 "$setup" 2>/dev/null || { wait "$setup" 2>/dev/null; setup=; return 0; }; sleep 0.1; done
  return 1
}
# The lines of what was read that must be there, each exactly.
has_lines() { # has_lines SEEN LINE...
  local seen=$1 line; shift
  for line in "$@"; do grep -qxF -- "$line" <<<"$seen" || why "missing: $line" "in:" "$seen" || return; done
}
# Every control that takes the focus, shown, has a role and a name; no filler or unknown role.
stops_named() {
  local stops; stops=$(grep '^control .* [a-z,]*focusable[a-z,]*showing' <<<"$1") || true
  [ -n "$stops" ] || why "no control takes the focus:" "$1" || return
  ! grep -E '^control ([a-z ]+) "" |^control (filler|unknown|panel) ' <<<"$stops" ||
    why "unnamed or without a role:" "$stops"
}
# What only decorates is no stop and has no name to read.
decorations_silent() {
  ! grep -E '^control filler "[^"]+"|^control filler "" [a-z,]*focusable' <<<"$1" ||
    why "a picture a reader stops on:" "$1"
}
focus_on() { # focus_on TITLE LINE: the focus settles there
  local seen
  settled() { seen=$(read_window "$1") && grep -qxF -- "$2" <<<"$seen"; }
  until_true 30 settled "$1" "$2" || why "not $2:" "$seen"
}

# The dialog as it opens with the custom picture chosen: every control shows.
printf '[General]\nScreen%%20Saver%%20Type=4\nCustom%%20Graphic%%20Path=N/A\n' > "$store"
"$program" /c >/dev/null 2>&1 &
setup=$!
seen=$(read_window "Moondial - Setup") || true
check "the setup dialog is a dialog named by its caption" \
  grep -qx 'window dialog "Moondial - Setup"' <<<"$seen"
check "its options, Browse, About and Exit are read with their names and roles" has_lines "$seen" \
  'control radio button "Analog Clock" focusable,showing,visible,enabled' \
  'control radio button "Alarm Clock" focusable,showing,visible,enabled' \
  'control radio button "Lips Clock" focusable,showing,visible,enabled' \
  'control push button "Browse" focusable,showing,visible,enabled' \
  'control push button "About" focusable,showing,visible,enabled' \
  'control push button "Exit" focusable,showing,visible,enabled'
check "the path box is named and labelled by Full File Path" has_lines "$seen" \
  'control label "Full File Path" showing,visible,enabled' \
  'control text "Full File Path" focusable,showing,visible,enabled labelled-by "Full File Path"'
check "every control a user can reach has a role and a name" stops_named "$seen"
check "the banner is no stop and has no name" decorations_silent "$seen"
check "the options are one group of four, each told its place" has_lines "$seen" \
  'described radio button "Analog Clock" "Screen Saver Type, 1 of 4"' \
  'described radio button "Alarm Clock" "Screen Saver Type, 2 of 4"' \
  'described radio button "Lips Clock" "Screen Saver Type, 3 of 4"' \
  'described radio button "Custom Graphic" "Screen Saver Type, 4 of 4"'
# Every question a reader asks the path box, at every offset to its end, each given a second:
# a word asked at the end once sent the program into a search without end.
asked=$(timeout 120 "$tree" text "$setup" "Moondial - Setup" 60) || true
answers_all() {
  ! grep '^unanswered' <<<"$asked" || why "$asked" || return
  has_lines "$asked" 'at 3 line-start 0 3 "N/A"' 'at 3 word-start 2 3 "A"' \
    'at 0 line-start 0 3 "N/A"' 'at 1 word-end 1 2 "/"' 'answers "Full File Path"'
}
check "the path box answers every question at every offset, its end included, and goes on" \
  answers_all
check "the selected option has the focus as the dialog opens" \
  focus_on "Moondial - Setup" 'focus radio button "Custom Graphic"'
dialog=$(window_named "Moondial - Setup")
click_at "$dialog" 250 40 # the banner
check "a click on the banner leaves the focus there" \
  focus_on "Moondial - Setup" 'focus radio button "Custom Graphic"'
"$xtool" close "$dialog" 2>/dev/null || true
ended || true

# Tab goes round the controls, never to the bare window.

printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$store"
"$program" /c >/dev/null 2>&1 &
setup=$!
check "opened with the analog clock, the dialog has the focus on it" \
  focus_on "Moondial - Setup" 'focus radio button "Analog Clock"'
tabbed() { # tabbed TITLE COUNT LINE: after COUNT presses of Tab, the focus is there
  local window; window=$(window_named "$1")
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  for _ in $(seq "$2"); do xdotool key --clearmodifiers Tab; done
  focus_on "$1" "$3"
}
check "Tab reaches About" tabbed "Moondial - Setup" 4 'focus push button "About"'
check "and Exit" tabbed "Moondial - Setup" 1 'focus push button "Exit"'
check "and from Exit comes round to the first option" \
  tabbed "Moondial - Setup" 1 'focus radio button "Analog Clock"'
pressed() { # pressed TITLE KEY LINE: after the key, the focus is there
  xdotool key --clearmodifiers "$2"
  focus_on "$1" "$3"
}
check "Down goes to the next option in their order, not the one below" \
  pressed "Moondial - Setup" Down 'focus radio button "Alarm Clock"'
check "and on through the row" pressed "Moondial - Setup" Down 'focus radio button "Lips Clock"'
check "to the second row" pressed "Moondial - Setup" Down 'focus radio button "Custom Graphic"'
check "and round to the first" pressed "Moondial - Setup" Down 'focus radio button "Analog Clock"'
check "Up from the first goes round to the last" \
  pressed "Moondial - Setup" Up 'focus radio button "Custom Graphic"'
check "Right as Down" pressed "Moondial - Setup" Right 'focus radio button "Analog Clock"'

# The About box, opened by the keyboard as a screen reader user opens it.
tabbed "Moondial - Setup" 4 'focus push button "About"' >/dev/null || true
xdotool key --clearmodifiers Return
seen=$(read_window "Moondial - About") || true
check "Enter on About opens the About box, a dialog named by its caption" \
  grep -qx 'window dialog "Moondial - About"' <<<"$seen"
ok_named() { grep -q '^control push button "OK" focusable,[a-z,]*showing' <<<"$seen" || why "$seen"; }
check "OK is read by the word on its picture" ok_named
check "the globe by its tooltip's words" has_lines "$seen" \
  'control push button "Navigate to the Moondial Home Page" focusable,showing,visible,enabled'
check "every control of the box a user can reach has a role and a name" stops_named "$seen"
check "the logo and the banner are no stops and have no names" decorations_silent "$seen"
check "the About box opens with the focus on OK" \
  focus_on "Moondial - About" 'focus push button "OK"'
check "and says its version as it opens" grep -qE '^described dialog "Moondial - About" "Version [0-9]+\.[0-9]+"$' <<<"$seen"
check "Tab reaches the globe" tabbed "Moondial - About" 1 \
  'focus push button "Navigate to the Moondial Home Page"'
check "and comes back to OK" tabbed "Moondial - About" 1 'focus push button "OK"'
xdotool key --clearmodifiers Return
check "Enter on OK closes the box and brings the dialog back" window_named "Moondial - Setup"
check "where the focus is still on About" focus_on "Moondial - Setup" 'focus push button "About"'
xdotool key --clearmodifiers Return
focus_on "Moondial - About" 'focus push button "OK"' >/dev/null || true
xdotool key --clearmodifiers Escape
check "Escape closes the box as OK does" focus_on "Moondial - Setup" 'focus push button "About"'
xdotool key --clearmodifiers Tab Return
check "Tab and Enter press Exit, which ends the program" ended

checks_done
