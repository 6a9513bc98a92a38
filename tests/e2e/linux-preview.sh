#!/usr/bin/env bash
# The real Linux preview in a window of another program (a stand-in for the display settings'
# pane) on an X display of its own: it lives there at the pane's size, its colours change,
# it follows the pane's size, it ends with the pane, and it never maps a window of its own.
# Usage: tests/e2e/linux-preview.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
xtool=$(cd "$1" && pwd)/tests/e2e/xtool
shots=${2:-}
source "$here/xvfb.sh"

work=$(mktemp -d)
watcher=
trap '[ -z "$watcher" ] || kill "$watcher" 2>/dev/null; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start 1024x768x24
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$XDG_CONFIG_HOME/Quillon/Moondial.conf"

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

"$xtool" watch-maps > "$work/maps" &
watcher=$!
until grep -q watching "$work/maps" 2>/dev/null; do sleep 0.05; done

coproc PANE { "$xtool" pane 152 112; }
read -r -t 30 pane <&"${PANE[0]}"
pane_says() { echo "$1" >&"${PANE[1]}"; read -r -t 30 _ <&"${PANE[0]}"; } # waits for "done"

"$program" /p "$pane" >/dev/null 2>&1 &
preview=$!
# The preview's window: the pane's one child, once it is mapped.
child() { xwininfo -id "$pane" -children 2>/dev/null | awk '/^ +0x/{print $1; exit}'; }
geometry_of() { xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X:/{x=$4} /Relative upper-left X:/{rx=$4} /Relative upper-left Y:/{ry=$4} /Width:/{w=$2} /Height:/{h=$2} /Map State:/{m=$3} END{print w"x"h"+"rx"+"ry" "m}'; }
lives_in_pane() { # lives_in_pane SIZE: the child is mapped at (0, 0) with that size
  local id
  for _ in $(seq 300); do
    id=$(child)
    [ -n "$id" ] && [ "$(geometry_of "$id")" = "$1+0+0 IsViewable" ] && return 0
    sleep 0.1
  done
  echo "       found: ${id:-no child} $( [ -n "$id" ] && geometry_of "$id")"; return 1
}
check "'/p ID' becomes the pane's child at (0, 0) with the pane's size" lives_in_pane 152x112

# Two looks at the pane, the second once it changed: the lips, the name, a new background.
pixel_count() { convert "$1" -fuzz 25% -fill white -opaque "$2" -fill black +opaque white -format '%[fx:mean*w*h]' info:; }
looks() {
  import -window "$pane" "$work/first.png"
  for _ in $(seq 300); do
    sleep 0.1
    import -window "$pane" "$work/second.png"
    [ "$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true)" != 0 ] && break
  done
  local red corner1 corner2
  red=$(pixel_count "$work/second.png" 'rgb(200,30,40)')
  corner1=$(convert "$work/first.png" -format '%[pixel:p{2,2}]' info:)
  corner2=$(convert "$work/second.png" -format '%[pixel:p{2,2}]' info:)
  [ "${red%.*}" -gt 300 ] || { echo "       only $red red pixels of the lips"; return 1; }
  [ "$corner1" != "$corner2" ] || { echo "       the background stayed $corner1"; return 1; }
}
check "the pane shows the lips and a background that changes" looks
name_shows() { # the name's pixels differ from the background between the lips and the foot
  local colours
  colours=$(convert "$work/second.png" -crop 140x16+6+80 +repage -unique-colors -format '%k' info:)
  [ "$colours" -gt 3 ] || { echo "       $colours colours where the name is"; return 1; }
}
check "the name shows below the lips" name_shows
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  for n in 1 2 3; do
    import -window "$pane" "$shots/preview-$n.png"
    sleep 1.5
  done
fi

pane_says "resize 200 150"
check "the preview follows the pane to a new size" lives_in_pane 200x150
# The label starts 5 pixels in and is as wide as the pane: its text is centred 5 pixels right of
# the pane's middle.
name_centred() { # name_centred WIDTH
  local centre middle=$((5 + $1 / 2))
  for _ in $(seq 300); do
    import -window "$pane" "$work/resized.png"
    centre=$(convert "$work/resized.png" -crop "${1}x16+0+80" +repage -fuzz 10% -trim \
      -format '%[fx:round(page.x + w / 2)]' info: 2>/dev/null)
    [ -n "$centre" ] && [ $((centre - middle)) -le 2 ] && [ $((middle - centre)) -le 2 ] && return 0
    sleep 0.1
  done
  echo "       the name's middle is at ${centre:-nothing}"; return 1
}
check "the name follows the new width" name_centred 200

pane_says "destroy"
ended_within_a_second() {
  for _ in $(seq 10); do kill -0 "$preview" 2>/dev/null || return 0; sleep 0.1; done
  kill "$preview" 2>/dev/null; return 1
}
check "destroying the pane ends the preview within a second" ended_within_a_second
pane_says "quit" || true

no_window_of_its_own() { ! grep ' moondial$' "$work/maps"; }
check "the preview never mapped a window of its own" no_window_of_its_own

ends_at_once() { timeout 10 "$program" /p "$1" >/dev/null 2>&1; }
check "'/p' with a number that names no window ends at once" ends_at_once 12345
check "'/p 0' ends at once" ends_at_once 0
root=$(xwininfo -root | awk '/Window id:/{print $4}')
check "'/p' with the desktop's root window ends at once" ends_at_once "$((root))"

# A top-level window of another program that is no pane: the preview lives in it, and ends
# with it, leaving nothing behind.
xmessage -geometry 300x200+50+50 "not a pane" &
other=$!
other_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^xmessage$' | head -n 1)
children_of() { xwininfo -id "$1" -children 2>/dev/null | grep -c '^ \+0x' || true; }
before=$(children_of "$other_window")
"$program" /p "$other_window" >/dev/null 2>&1 &
preview=$!
embedded_in_other() { # one more child: the preview's
  for _ in $(seq 300); do
    [ "$(children_of "$other_window")" -gt "$before" ] && return 0
    sleep 0.1
  done
  return 1
}
check "'/p' with another program's top-level window lives in it" embedded_in_other
kill "$other"; wait "$other" 2>/dev/null || true
check "and ends when that window goes" ended_within_a_second

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
