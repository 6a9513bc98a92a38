#!/usr/bin/env bash
# The real Windows setup dialog and About box under Wine, 32 or 64 bits as built, read from a
# probe in the same prefix: the windows and their controls (classes, texts, places, regions),
# About and back, and a choice made with the controls stored when Exit is pressed.
# Usage: tests/e2e/wine-setup.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scr=$build/moondial.scr
probe_exe=$build/tests/e2e/probe.exe
shots=${2:-}
source "$here/wine-env.sh"
wine_env_start "$(wine_arch_of "$scr")"
work=$wine_tmp

source "$here/checks.sh"
probe() { timeout 60 wine "$probe_exe" "$@"; }
# The lines of what the probe saw that must be there, each exactly.
has_lines() { # has_lines SEEN LINE...
  local seen=$1 line; shift
  for line in "$@"; do grep -qxF -- "$line" <<<"$seen" || why "missing: $line" "in:" "$seen" || return; done
}
shot() { # shot TITLE FILE: the window, cut out of the screen
  [ -n "$shots" ] || return 0
  local at; at=$(probe find "$1" 30000 | sed -n 's/^at //p' | tr -d '\r')
  IFS=, read -r x y w h <<<"$at"
  mkdir -p "$shots"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$2"
}
ended() { for _ in $(seq 300); do kill -0 "$setup" 2>/dev/null || return 0; sleep 0.1; done; return 1; }

probe store "Screen Saver Type=1" "Custom Graphic Path=N/A"
wine "$scr" /c >/dev/null 2>&1 &
setup=$!
check "/c shows the setup dialog" probe find "Moondial - Setup" 30000
seen=$(probe inspect "Moondial - Setup" | tr -d '\r')
# A tool window (0x80) with a caption and a close box only: no minimise or maximise box.
tool_window() {
  grep -q '^window "Moondial - Setup" at .* client 493x355 ' <<<"$seen" || why "$seen" || return
  local style exstyle
  style=$(sed -n 's/^window "Moondial - Setup".* style=\(0x[0-9a-f]*\).*/\1/p' <<<"$seen")
  exstyle=$(sed -n 's/^window "Moondial - Setup".* exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$seen")
  (( (exstyle & 0x80) && !(style & 0x30000) && (style & 0x80000) )) || why "style $style exstyle $exstyle"
}
check "the dialog is a fixed tool window with a 493 x 355 inner area" tool_window
controls_right() {
  local s='style=0x[0-9a-f]*'
  local expected=(
    'Button "Analog Clock" 15,170,105,17 visible'
    'Button "Alarm Clock" 130,170,92,17 visible'
    'Button "Lips Clock" 245,170,92,17 visible'
    'Button "Custom Graphic" 15,200,119,17 visible'
    'Static "Full File Path" 20,220,83,20 hidden'
    'Edit "N/A" 20,240,372,22 hidden'
    'Button "&Browse" 400,245,66,21 hidden'
    'Button "About" 205,305,91,36 visible'
    'Button "Exit" 395,305,91,36 visible'
  )
  local line
  for line in "${expected[@]}"; do
    grep -q "^control ${line} ${s}" <<<"$seen" || why "missing: $line" "in:" "$seen" || return
  done
  # Both picture buttons are clipped to the rounded bar (the system leaves out its last row
  # and column). Their texts, the words of their pictures, are for screen readers only.
  [ "$(grep -c '^control Button "\(About\|Exit\)" .* region=3,4,85,25$' <<<"$seen")" = 2 ] ||
    why "regions:" "$seen"
}
check "the controls are where they belong, with their texts and regions" controls_right
check "the first option has the focus" grep -qx 'focus Button "Analog Clock" 15,170,105,17' <<<"$seen"
shot "Moondial - Setup" setup-windows.png

probe act "Moondial - Setup" press=250,322 >/dev/null
check "About opens the About box" probe find "Moondial - About" 30000
about=$(probe inspect "Moondial - About" | tr -d '\r')
about_right() {
  grep -q '^window "Moondial - About" at .* client 602x299 ' <<<"$about" || why "$about" || return
  local exstyle
  exstyle=$(sed -n 's/^window "Moondial - About".* exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$about")
  (( (exstyle & 0x80) && (exstyle & 0x8) )) || why "not a topmost tool window: $exstyle" || return
  grep -q '^control Static "2.01" 310,70,71,21 visible' <<<"$about" || why "$about" || return
  grep -q '^control Static "Version" 225,70,76,21 visible' <<<"$about" || why "$about" || return
  grep -q '^control Button "OK" 455,240,125,25 visible' <<<"$about" || why "$about" || return
  grep -qx 'focus Button "OK" 455,240,125,25' <<<"$about" || why "OK has not the focus:" "$about"
}
check "the About box shows the version 2.01, is topmost and its OK has the focus" about_right
setup_hidden() { ! probe find "Moondial - Setup" 0 >/dev/null; }
check "the dialog hides while the About box shows" setup_hidden
shot "Moondial - About" about-windows.png
probe close "Moondial - About" >/dev/null
check "closing the About box brings the dialog back" probe find "Moondial - Setup" 30000
probe act "Moondial - Setup" press=250,322 >/dev/null
probe find "Moondial - About" 30000 >/dev/null || true
probe act "Moondial - About" key=tab >/dev/null
moved() {
  local focus; focus=$(probe inspect "Moondial - About" | tr -d '\r' | grep '^focus ')
  grep -qx 'focus Button "Navigate to the Moondial Home Page" 225,140,57,41' <<<"$focus" ||
    why "Tab did not reach the globe: $focus"
}
check "Tab moves the focus from OK to the globe" moved
probe close "Moondial - About" >/dev/null
probe find "Moondial - Setup" 30000 >/dev/null || true
probe act "Moondial - Setup" press=250,322 >/dev/null
probe find "Moondial - About" 30000 >/dev/null || true
check "opened again, the About box has the focus on OK" grep -qx 'focus Button "OK" 455,240,125,25' \
  <<<"$(probe inspect "Moondial - About" | tr -d '\r')"
probe close "Moondial - About" >/dev/null
probe find "Moondial - Setup" 30000 >/dev/null || true

probe act "Moondial - Setup" "click=Custom Graphic" 'settext=C:\pictures\moon.jpg' press=440,322 >/dev/null
check "Exit ends the program" ended
stored() {
  local values; values=$(probe settings | tr -d '\r')
  has_lines "$values" '"Custom Graphic Path"="C:\\pictures\\moon.jpg"' '"Screen Saver Type"="4"'
}
check "Exit stores the custom picture and the path typed" stored

# Logging off with the dialog open, or with the About box open over it: the choice is stored
# as closing the dialog stores it.
for at in "Moondial - Setup:Lips Clock:2" "Moondial - About:Alarm Clock:3"; do
  IFS=: read -r told option type <<<"$at"
  probe store "Screen Saver Type=1" "Custom Graphic Path=N/A"
  wine "$scr" /c >/dev/null 2>&1 &
  setup=$!
  probe find "Moondial - Setup" 30000 >/dev/null || true
  probe act "Moondial - Setup" "click=$option" >/dev/null
  [ "$told" = "Moondial - Setup" ] || probe act "Moondial - Setup" press=250,322 >/dev/null
  probe find "$told" 30000 >/dev/null || true
  said=$(probe endsession "$told" | tr -d '\r')
  check "told that the session ends ($told), the program lets it end" \
    grep -qx "it lets the session end" <<<"$said"
  check "and ends" ended
  check "having stored the $option" has_lines "$(probe settings | tr -d '\r')" \
    "\"Screen Saver Type\"=\"$type\""
done

# "/c:HWND", as the display settings pass their own window: it owns the dialog and takes no
# input while the dialog is open. A number that names no window changes nothing.
wine "$probe_exe" pane 300 200 "Z:$work/owner-done" > "$work/owner" 2>/dev/null &
for _ in $(seq 300); do [ -s "$work/owner" ] && break; sleep 0.1; done
owner=$(head -n 1 "$work/owner" | tr -d '\r')
wine "$scr" "/c:$owner" >/dev/null 2>&1 &
setup=$!
probe find "Moondial - Setup" 30000 >/dev/null || true
owned=$(probe inspect "Moondial - Setup" | tr -d '\r')
check "'/c:HWND' makes that window the dialog's owner, taking no input" \
  grep -qx "owner $owner disabled" <<<"$owned"
probe close "Moondial - Setup" >/dev/null
check "closing the dialog ends the program" ended
check "and the owner takes input again" grep -qx enabled <<<"$(probe enabled "$owner" | tr -d '\r')"
touch "$work/owner-done"
for number in 12345 ""; do
  wine "$scr" "/c${number:+:$number}" >/dev/null 2>&1 &
  setup=$!
  probe find "Moondial - Setup" 30000 >/dev/null || true
  check "'/c${number:+:$number}' opens the dialog with no owner" \
    grep -qx "owner none" <<<"$(probe inspect "Moondial - Setup" | tr -d '\r')"
  probe close "Moondial - Setup" >/dev/null
  ended || true
done

checks_done
