#!/usr/bin/env bash
# The real Linux saver on an X display of its own: a full-screen window whose picture drifts,
# and that ends on pointer movement, a click or a key.
# Usage: tests/e2e/linux-saver.sh BUILD_DIR [SCREENSHOT_DIR]
# With SCREENSHOT_DIR it also leaves a 1:1 picture of each face there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$1" && pwd)/moondial
xtool=$(cd "$1" && pwd)/tests/e2e/xtool
shots=${2:-}
source "$here/xvfb.sh"

work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start 1024x768x24
unset WAYLAND_DISPLAY # a plain X server: the saver takes the keyboard by focus there
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

store=$XDG_CONFIG_HOME/Quillon/Moondial.conf
choose() { # choose TYPE [PICTURE]: the stored choice of face, and the custom picture's path
  printf '[General]\nScreen%%20Saver%%20Type=%s\n' "$1" > "$store"
  [ -z "${2:-}" ] || printf 'Custom%%20Graphic%%20Path=%s\n' "$2" >> "$store"
}
start_saver() { # start_saver TYPE [ENV...]: starts the saver and waits for its window
  [ "$1" = 4 ] || choose "$1"
  shift
  xdotool mousemove 500 400
  env "$@" "$program" /s >/dev/null 2>&1 &
  saver=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --class moondial | head -n 1)
  # Ready for input once it holds the keyboard focus, which it takes when it shows.
  for _ in $(seq 300); do
    [ -n "$window" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
    sleep 0.1
  done
}
ended() { # ended: the saver is gone within five seconds
  for _ in $(seq 300); do kill -0 "$saver" 2>/dev/null || { wait "$saver" 2>/dev/null; return 0; }; sleep 0.1; done
  kill "$saver" 2>/dev/null; return 1
}
# The saver maps its window again after the one before it ended.
starts_again() {
  start_saver 1
  [ -n "$window" ] || return 1
  xdotool key a
  ended
}
still_running() { sleep 0.5; kill -0 "$saver" 2>/dev/null; }
covers_screen() {
  [ "$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w"x"h}')" = 1024x768 ]
}
# Pixels of the pure red of the second hands, which no picture has.
red_pixels() {
  convert "$1" -fill black +opaque 'rgb(255,0,0)' -fill white -opaque 'rgb(255,0,0)' \
    -format '%[fx:int(mean*w*h)]' info:
}
hands_show() { # the red second hand, within 30 s
  for _ in $(seq 300); do
    import -window root "$work/hands.png"
    [ "$(red_pixels "$work/hands.png")" -gt 10 ] && return 0
    sleep 0.1
  done
  return 1
}
# Each second only the hands are sent to the X server again: the old second hand must go with
# them, not stay drawn beside the new one. Over four seconds the red never grows to two hands.
no_stale_hands() {
  local first="" count
  for _ in $(seq 300); do
    import -window root "$work/hands.png"
    first=$(red_pixels "$work/hands.png")
    [ "$first" -gt 10 ] && break
    sleep 0.1
  done
  for _ in $(seq 16); do
    sleep 0.25
    import -window root "$work/hands.png"
    count=$(red_pixels "$work/hands.png")
    [ $((count * 10)) -le $((first * 17)) ] || { echo "       red pixels $first, then $count"; return 1; }
  done
}
picture_moves() { # the screen changes within 30 s
  import -window root "$work/a.png"
  for _ in $(seq 300); do
    sleep 0.1
    import -window root "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" != 0 ] && return 0
  done
  return 1
}

for type in 1 2 3; do
  start_saver $type
  check "type $type: a window covers the screen" covers_screen
  check "type $type: the picture moves" picture_moves
  check "type $type: the hands show" hands_show
  check "type $type: each second's hands replace the last" no_stale_hands
  if [ -n "$shots" ]; then
    mkdir -p "$shots"
    # Once the hands show: the red second hand is drawn at the first tick in a new second.
    for _ in $(seq 300); do
      import -window root "$work/face.png"
      [ "$(red_pixels "$work/face.png")" -gt 10 ] && break
      sleep 0.1
    done
    names=(none analog-clock lips-clock alarm-clock)
    convert "$work/face.png" -trim +repage "$shots/${names[$type]}.png"
  fi
  xdotool mousemove 600 450
  check "type $type: the first pointer report does not end it" still_running
  xdotool mousemove 610 455
  check "type $type: a second report elsewhere ends it" ended
done

# Across the changes to and from summer time, under a clock started seconds before each (in
# Berlin; the monotonic clock left real, so the timers run as ever), the hour hand shows the
# new local hour: 03:00 after the spring's 02:00, 02:00 after the autumn's 03:00.
libfaketime=$(dpkg -L libfaketime | grep 'libfaketime.so.1$' | head -n 1)
darkest() { # darkest X+Y: of the 3x3 pixels of the dial there, the darkest (0 is the hands' black)
  convert "$work/dial.png" -crop "3x3+$1" +repage -colorspace gray -format '%[fx:minima]' info:
}
hour_hand_at() { # hour_hand_at 2|3: within 20 s, the hour hand points there and not at the other
  local box at other
  box=$(xwininfo -tree -id "$window" | awk '/ 144x145\+/{print $1; exit}')
  [ -n "$box" ] || { echo "       no dial"; return 1; }
  # 18 pixels out from the centre of the dial (74, 73), towards 2 and 3 o'clock.
  if [ "$1" = 2 ]; then at=88+63 other=91+72; else at=91+72 other=88+63; fi
  for _ in $(seq 100); do
    import -window "$box" "$work/dial.png"
    [ "$(darkest $at)" = 0 ] && [ "$(darkest $other)" != 0 ] && return 0
    sleep 0.2
  done
  echo "       hour hand not at $1"; return 1
}
for change in "2027-03-28 01:00:00 3 spring" "2027-10-31 01:00:00 2 autumn"; do
  read -r day time hour season <<<"$change"
  offset=$(($(date -u -d "$day $time" +%s) - $(date +%s) - 5))
  start_saver 1 TZ=Europe/Berlin FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME="+$offset" \
    LD_PRELOAD="$libfaketime"
  check "after the $season change of summer time the hour hand shows $hour o'clock" \
    hour_hand_at "$hour"
  xdotool key a
  ended || true
done

start_saver 3
xdotool key a
check "a key ends it" ended

start_saver 1
xdotool click 1
check "a click ends it" ended

for key in Tab shift+Tab; do
  start_saver 2
  xdotool key "$key"
  check "$key ends it" ended
done
for button in 3 2 4 5; do
  start_saver 1
  xdotool click "$button"
  check "mouse button $button (right, middle, wheel up, wheel down) ends it" ended
done

# A window manager's close request, and the window destroyed by another client: the process
# ends rather than tick on hidden, holding the mark that keeps every later start from showing.
start_saver 1
"$xtool" close "$window"
check "a close request ends it" ended
check "a saver starts again after a close request" starts_again
start_saver 3
xdotool windowclose "$window" 2>/dev/null || true
check "its window destroyed by another client ends it" ended
check "a saver starts again after its window was destroyed" starts_again

# Keys typed while another program's window held the keyboard focus reach the saver.
xmessage -geometry +10+10 "another program" &
other=$!
other_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^xmessage$' | head -n 1)
xdotool windowfocus --sync "$other_window"
start_saver 1
xdotool key a
check "a key ends it when another window had the focus before" ended
kill $other 2>/dev/null; wait $other 2>/dev/null || true

# A locker started while the saver shows gets the keyboard and the pointer (i3lock ends at once
# with "Cannot grab" while any client holds a grab) and is what shows, all of it: the saver
# takes the keyboard by focus and never raises itself again. Once the locker is gone, a key
# still ends the saver.
start_saver 1
i3lock -n -c 0000ff &
locker=$!
blue_pixels() {
  convert "$1" -fill black +opaque 'rgb(0,0,255)' -fill white -opaque 'rgb(0,0,255)' \
    -format '%[fx:int(mean*w*h)]' info:
}
locker_shows() { # the locker's blue over the whole screen within 30 s, the locker still running
  local seen=0
  for _ in $(seq 300); do
    kill -0 "$locker" 2>/dev/null || { echo "       the locker ended"; return 1; }
    import -window root "$work/locked.png"
    seen=$(blue_pixels "$work/locked.png")
    [ "$seen" = $((1024 * 768)) ] && return 0
    sleep 0.1
  done
  echo "       $seen blue pixels"; return 1
}
locker_on_top() { # the top window of the screen is the locker's
  xwininfo -root -children | awk '/children:/{getline; print; exit}' | grep -q '"i3lock"'
}
check "a locker started over the saver gets its grabs and shows" locker_shows
check "the locker's window stays above the saver's" locker_on_top
kill "$locker" 2>/dev/null; wait "$locker" 2>/dev/null || true
xdotool key a
check "after the locker, a key still ends the saver" ended

# Covered by another window and uncovered, the saver shows its picture and its hands again at
# once: the X server repaints them by itself.
start_saver 1
hands_show >/dev/null || true
xmessage -geometry 1024x768+0+0 "covering the saver" &
cover=$!
timeout 30 xdotool search --sync --onlyvisible --name '^xmessage$' >/dev/null || true
kill $cover; wait $cover 2>/dev/null || true
whole_again() {
  import -window root "$work/uncovered.png"
  local red grey
  red=$(red_pixels "$work/uncovered.png")
  grey=$(convert "$work/uncovered.png" -fill black +opaque 'rgb(192,192,192)' -fill white \
         -opaque 'rgb(192,192,192)' -format '%[fx:int(mean*w*h)]' info:)
  [ "$red" -gt 10 ] && [ "$grey" -gt 5000 ] || { echo "       red $red, grey $grey"; return 1; }
}
check "covered and uncovered, the picture and its hands show again at once" whole_again
xdotool key a
ended || true

# A desktop scaled to 150% or 200% shows the dial that much larger, from its drawing for the
# scale: by Qt's factor, or by the X server's Xft.dpi as desktops set it.
art=$here/../../resources
dial_is() { # dial_is DRAWING: the picture on the screen, trimmed of the black around it, is it
  import -window root "$work/scaled.png"
  local size expected
  size=$(convert "$work/scaled.png" -trim -format '%wx%h' info:)
  expected=$(convert "$art/$1" -trim -format '%wx%h' info:)
  [ "$size" = "$expected" ] || { echo "       the dial is $size, not $expected"; return 1; }
}
start_saver 1 QT_SCALE_FACTOR=1.5
check "at a scale of 150% the dial is its 1.5x drawing" dial_is clock@1.5x.png
xdotool key a
ended || true
echo "Xft.dpi: 192" | xrdb -nocpp -merge
start_saver 1
check "at Xft.dpi 192 the dial is its 2x drawing" dial_is clock@2x.png
xdotool key a
ended || true
xrdb -remove

# Custom pictures: a JPEG with stray bytes between its segments, which every decoder skips,
# shows; one whose large frame header hides behind FF 00 is refused at once, from its header.
seeds=$here/../fuzz/seeds/picture_header
magenta_pixels() {
  convert "$1" -fuzz 20% -fill black +opaque 'rgb(255,0,255)' -fill white -opaque 'rgb(255,0,255)' \
    -format '%[fx:int(mean*w*h)]' info:
}
custom_shows() { # the 16 x 16 magenta picture, within 30 s
  local seen=0
  for _ in $(seq 300); do
    import -window root "$work/custom.png"
    seen=$(magenta_pixels "$work/custom.png")
    [ "$seen" -gt 150 ] && [ "$seen" -le 256 ] && return 0
    sleep 0.1
  done
  echo "       $seen magenta pixels"; return 1
}
choose 4 "$seeds/stray-bytes.jpg"
start_saver 4
check "type 4: a JPEG with stray bytes before its frame header shows" custom_shows
xdotool key a
ended || true

refused_at_once() { # the Corrupt message within 5 s, the peak memory below 320 MB
  local start took peak
  choose 4 "$seeds/hidden-frame.jpg"
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/peak" "$program" /s >/dev/null 2>&1 &
  saver=$!
  window=$(timeout 30 xdotool search --sync --name '^Moondial - Custom Image Corrupt$' | head -n 1)
  took=$((($(date +%s%N) - start) / 1000000))
  [ -n "$window" ] || { echo "       no message"; kill "$saver"; return 1; }
  xdotool windowfocus --sync "$window" key Return
  ended || return 1
  peak=$(($(cat "$work/peak") / 1024))
  echo "       the message after $took ms; peak memory $peak MB" >&2
  [ "$took" -lt 5000 ] && [ "$peak" -lt 320 ]
}
check "type 4: a JPEG hiding a 60000 x 60000 frame behind FF 00 is refused at once" refused_at_once

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
