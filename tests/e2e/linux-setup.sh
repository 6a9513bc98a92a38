#!/usr/bin/env bash
# The real Linux setup dialog and About box on an X display of its own: the windows map at
# their sizes, a choice made with the mouse is stored when the dialog closes, and About comes
# and goes.
# Usage: tests/e2e/linux-setup.sh BUILD_DIR [SCREENSHOT_DIR]
# With SCREENSHOT_DIR it also leaves a 1:1 picture of each window there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
xtool=$(cd "$1" && pwd)/tests/e2e/xtool
shots=${2:-}
source "$here/xvfb.sh"

work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start 1024x768x24
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}
value() { sed -n "s/^${1// /%20}=//p" "$store" 2>/dev/null; }
window_named() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
size_of() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w"x"h}'; }
ended() {
  for _ in $(seq 300); do kill -0 "$setup" 2>/dev/null || { wait "$setup" 2>/dev/null; return 0; }; sleep 0.1; done
  kill "$setup" 2>/dev/null; return 1
}
# Clicks at a point of the window's inner area, in pixels.
click_at() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }
shot() { [ -z "$shots" ] || { mkdir -p "$shots"; import -window "$1" "$shots/$2"; }; }

printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$store"
"$program" /c >/dev/null 2>&1 &
setup=$!
dialog=$(window_named "Moondial - Setup")
check "'/c' maps a window titled Moondial - Setup" [ -n "$dialog" ]
check "its inner area is 493 x 355" [ "$(size_of "$dialog")" = 493x355 ]
shot "$dialog" setup-linux.png

click_at "$dialog" 250 322 # About
about=$(window_named "Moondial - About")
check "About opens the About box" [ -n "$about" ]
check "the About box's inner area is 602 x 299" [ "$(size_of "$about")" = 602x299 ]
hidden() { ! xdotool search --onlyvisible --name '^Moondial - Setup$' >/dev/null 2>&1; }
check "the dialog hides while the About box shows" hidden
shot "$about" about-linux.png
"$xtool" close "$about"
back=$(window_named "Moondial - Setup")
check "closing the About box brings the dialog back" [ -n "$back" ]

click_at "$dialog" 255 178 # Lips Clock
"$xtool" close "$dialog"
check "closing the dialog ends the program" ended
check "the chosen Lips Clock is stored" [ "$(value 'Screen Saver Type')" = 2 ]

# The Exit button, with the custom picture chosen and a path typed.
"$program" >/dev/null 2>&1 &
setup=$!
dialog=$(window_named "Moondial - Setup")
check "an empty command line opens the dialog too" [ -n "$dialog" ]
click_at "$dialog" 30 208 # Custom Graphic
xdotool key --clearmodifiers alt+b
opened=$(window_named "Open")
check "Alt+B presses Browse, which shows the Open dialog" [ -n "$opened" ]
[ -z "$opened" ] || xdotool windowfocus --sync "$opened" key Escape
click_at "$dialog" 100 250 # the path box
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "/home/me/moon.jpg"
click_at "$dialog" 440 322 # Exit
check "Exit ends the program" ended
check "Exit stores the custom picture" [ "$(value 'Screen Saver Type')" = 4 ]
check "Exit stores the typed path" [ "$(value 'Custom Graphic Path')" = /home/me/moon.jpg ]

# At 150% (Qt's factor) and 200% (the X server's Xft.dpi, as desktops set it): the same layout,
# that much larger, each size within a pixel of the logical one times the scale.
near() { # near WxH WxH
  local w1 h1 w2 h2
  IFS=x read -r w1 h1 <<<"$1"; IFS=x read -r w2 h2 <<<"$2"
  (( w1 - w2 <= 1 && w2 - w1 <= 1 && h1 - h2 <= 1 && h2 - h1 <= 1 )) || {
    echo "       $1, not $2"; return 1; }
}
scaled() { # scaled PERCENT DIALOG_SIZE ABOUT_SIZE [ENV...]
  local percent=$1 size=$2 about_size=$3 dialog about; shift 3
  env "$@" "$program" /c >/dev/null 2>&1 &
  setup=$!
  dialog=$(window_named "Moondial - Setup")
  check "at $percent% the dialog's inner area is $size" near "$(size_of "$dialog")" "$size"
  shot "$dialog" "setup-linux-$percent.png"
  click_at "$dialog" $((250 * percent / 100)) $((322 * percent / 100)) # About
  about=$(window_named "Moondial - About")
  check "at $percent% the About box's inner area is $about_size" \
    near "$(size_of "$about")" "$about_size"
  shot "$about" "about-linux-$percent.png"
  "$xtool" close "$about"
  dialog=$(window_named "Moondial - Setup")
  "$xtool" close "$dialog"
  ended || true
}
scaled 150 740x532 903x448 QT_SCALE_FACTOR=1.5
echo "Xft.dpi: 192" | xrdb -nocpp -merge
scaled 200 986x710 1204x598
xrdb -remove

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
