#!/usr/bin/env bash
# Moondial as an X11 screen-saver hack, installed the way a package installs it: by hand with
# --window-id in a window of another program (inside it only, following its size, ending on
# SIGTERM within 100 ms and with its window), and run by the real XScreenSaver daemon as an
# ordinary user (which XScreenSaver requires of its hacks).
# Usage: tests/e2e/linux-hack.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
xtool=$build/tests/e2e/xtool
source "$here/xvfb.sh"

work=$(mktemp -d)
chmod 755 "$work" # the daemon's user reads the installed hack from here
watcher= pane_pid=
cleanup() {
  [ -z "$watcher" ] || kill "$watcher" 2>/dev/null
  pkill -u moondialtest 2>/dev/null || true
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
xvfb_start 1024x768x24
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Quillon" && chmod 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Quillon/Moondial.conf
printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$store"

passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

# Installed into a prefix of its own, as cmake --install lays it out.
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
installed() {
  [ -x "$prefix/bin/moondial" ] && [ -L "$prefix/libexec/xscreensaver/moondial" ] &&
    [ -f "$prefix/share/xscreensaver/config/moondial.xml" ] &&
    [ -f "$prefix/share/applications/screensavers/moondial.desktop" ] &&
    [ -f "$prefix/share/applications/moondial.desktop" ] &&
    [ -f "$prefix/share/icons/hicolor/256x256/apps/moondial.png" ] &&
    [ -f "$prefix/share/man/man6/moondial.6.gz" ]
}
check "cmake --install lays out the program, the hack, its files, icons and manual" installed
hack=$prefix/libexec/xscreensaver/moondial

saver_runs() { # the installed program's /s maps its window and ends on a key
  "$prefix/bin/moondial" /s >/dev/null 2>&1 &
  local pid=$!
  timeout 30 xdotool search --sync --onlyvisible --class moondial >/dev/null || return 1
  for _ in $(seq 300); do xdotool key a; sleep 0.1; kill -0 $pid 2>/dev/null || return 0; done
  kill $pid; return 1
}
check "the installed program runs /s" saver_runs

"$xtool" watch-maps > "$work/maps" &
watcher=$!
until grep -q watching "$work/maps" 2>/dev/null; do sleep 0.05; done

coproc PANE { "$xtool" pane 400 300; }
read -r -t 30 pane <&"${PANE[0]}"
pane_says() { echo "$1" >&"${PANE[1]}"; read -r -t 30 _ <&"${PANE[0]}"; }
before=$(cat "$store")
"$hack" --window-id "$(printf '0x%x' "$pane")" --type 2 >/dev/null 2>&1 &
hack_pid=$!
child() { xwininfo -id "$pane" -children 2>/dev/null | awk '/^ +0x/{print $1; exit}'; }
size_of() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/{w=$2} /Height:/{h=$2} /Relative upper-left X:/{x=$4} /Relative upper-left Y:/{y=$4} END{print w"x"h"+"x"+"y}'; }
fills() { # fills SIZE: the hack's window is the pane's child at (0, 0) with that size
  local id
  for _ in $(seq 300); do
    id=$(child)
    [ -n "$id" ] && [ "$(size_of "$id")" = "$1+0+0" ] && return 0
    sleep 0.1
  done
  echo "       found: ${id:-nothing} $( [ -n "$id" ] && size_of "$id")"; return 1
}
check "--window-id (0x hex) draws in that window, filling it" fills 400x300
drifts() {
  import -window "$pane" "$work/a.png"
  for _ in $(seq 300); do
    sleep 0.1
    import -window "$pane" "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" != 0 ] && return 0
  done
  return 1
}
check "the picture drifts in it" drifts
lips_show() { # --type 2: the lips' red, whatever is stored
  [ "$(convert "$work/b.png" -fuzz 25% -fill white -opaque 'rgb(200,30,40)' -fill black +opaque white -format '%[fx:int(mean*w*h)]' info:)" -gt 500 ]
}
check "--type 2 shows the lips" lips_show
xdotool mousemove 100 100 key a mousemove 200 200 click 1
alive() { sleep 0.5; kill -0 "$hack_pid" 2>/dev/null; }
check "input does not end it (the daemon owns the end)" alive
pane_says "resize 500 350"
check "it follows its window to a new size" fills 500x350
ends_on_term() {
  local start end
  start=$(date +%s%N)
  kill -TERM "$hack_pid"
  while kill -0 "$hack_pid" 2>/dev/null; do sleep 0.005; done
  end=$(date +%s%N)
  local ms=$(((end - start) / 1000000))
  [ "$ms" -le 100 ] || { echo "       ended after $ms ms"; return 1; }
}
check "SIGTERM ends it within 100 ms" ends_on_term
check "it wrote no setting" [ "$(cat "$store")" = "$before" ]

"$hack" --window-id "$pane" >/dev/null 2>&1 &
hack_pid=$!
fills 500x350 >/dev/null || true
pane_says destroy
ends_with_window() {
  for _ in $(seq 10); do kill -0 "$hack_pid" 2>/dev/null || return 0; sleep 0.1; done
  kill "$hack_pid"; return 1
}
check "it ends by itself when its window is destroyed" ends_with_window
pane_says quit || true
check "it never mapped a window of its own" bash -c "! grep ' moondial\$' '$work/maps'"
check "a missing picture says so in the window, with no box" bash -c '
  "$0" --window-id "$(xwininfo -root | awk "/Window id:/{print \$4}")" --type 4 --picture /nowhere.jpg \
    2>"$1/err" & pid=$!; sleep 1; kill $pid; ! xdotool search --name "Custom Image" >/dev/null 2>&1' \
  "$hack" "$work"

# The real XScreenSaver, as an ordinary user: it starts the hack on -activate, the hack drifts
# on the screen, and -deactivate leaves no moondial process; --check finds the daemon showing it,
# then a programs list without it.
id moondialtest >/dev/null 2>&1 || useradd -m moondialtest
home=$(getent passwd moondialtest | cut -d: -f6)
cat > "$home/.xscreensaver" <<CONF
mode: one
selected: 0
lock: False
timeout: 1:00:00
splash: False
programs: "Moondial" $hack --root \\n
CONF
chown moondialtest "$home/.xscreensaver"
as_user() {
  runuser -u moondialtest -- env DISPLAY="$DISPLAY" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_RUNTIME_DIR= "$@"
}
as_user xscreensaver -no-splash >"$work/xscreensaver.log" 2>&1 &
for _ in $(seq 300); do as_user xscreensaver-command -version >/dev/null 2>&1 && break; sleep 0.1; done
as_user xscreensaver-command -activate >/dev/null 2>&1 || true
daemon_runs_hack() {
  for _ in $(seq 300); do pgrep -u moondialtest -f "$hack" >/dev/null && return 0; sleep 0.1; done
  cat "$work/xscreensaver.log"; return 1
}
check "xscreensaver-command -activate starts the hack" daemon_runs_hack
screen_drifts() {
  import -window root "$work/c.png"
  for _ in $(seq 300); do
    sleep 0.1
    import -window root "$work/d.png"
    [ "$(compare -metric AE "$work/c.png" "$work/d.png" null: 2>&1 || true)" != 0 ] && return 0
  done
  return 1
}
check "the picture drifts on the screen" screen_drifts
as_user xscreensaver-command -deactivate >/dev/null 2>&1 || true
hack_gone() {
  for _ in $(seq 300); do pgrep -u moondialtest -f "$hack" >/dev/null || return 0; sleep 0.1; done
  return 1
}
check "xscreensaver-command -deactivate leaves no moondial process" hack_gone
# What "moondial --check" tells this user of the daemon: a line matching the pattern.
check_says() {
  local said
  said=$(as_user timeout 30 "$prefix/bin/moondial" --check 2>&1) || true
  grep -qE -- "$1" <<<"$said" || { printf '       %s\n' "no line matching: $1" "$said"; return 1; }
}
check "--check: XScreenSaver runs and shows Moondial" \
  check_says '^ok +XScreenSaver runs and shows Moondial after 60 min \(process [0-9]+\)$'
cp "$home/.xscreensaver" "$work/xscreensaver.kept"
sed -i 's/^programs:.*/programs: maze -root \\n/' "$home/.xscreensaver"
check "--check: a programs list without Moondial, and how to add it" \
  check_says '^problem +XScreenSaver runs, but its programs list names no Moondial \(process [0-9]+\) -> add the line'
cp "$work/xscreensaver.kept" "$home/.xscreensaver"
as_user xscreensaver-command -exit >/dev/null 2>&1 || true

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
