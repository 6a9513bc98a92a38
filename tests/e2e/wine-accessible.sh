#!/usr/bin/env bash
# The real Windows setup dialog and About box as a screen reader reads them, through MSAA from
# a probe in the same prefix: every control has a name, the path box is named by its label,
# the pictures that only decorate are no tab stops and have no names, and each window opens
# with the focus on the control the user expects. Wine reports most roles as "client", so
# roles are judged on Linux only.
# Usage: tests/e2e/wine-accessible.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scr=$build/moondial.scr
probe_exe=$build/tests/e2e/probe.exe
source "$here/wine-env.sh"
wine_env_start "$(wine_arch_of "$scr")"

source "$here/checks.sh"
probe() { timeout 60 wine "$probe_exe" "$@"; }
# What MSAA read, without the roles and states: "control CLASS tabstop|no-tabstop "NAME"" and
# "focus CLASS "NAME"".
read_window() { # read_window TITLE
  probe access "$1" | tr -d '\r' |
    sed -n -e 's/^control \([^ ]*\) \([a-z-]*\) [^"]*\(".*"\) [a-z,]*$/control \1 \2 \3/p' \
      -e 's/^focus \([^ ]*\) [^"]*\(".*"\) [a-z,]*$/focus \1 \2/p' \
      -e 's/^window [^"]*\(".*"\) [a-z,]*$/window \1/p'
}
has_lines() { # has_lines SEEN LINE...
  local seen=$1 line; shift
  for line in "$@"; do grep -qxF -- "$line" <<<"$seen" || why "missing: $line" "in:" "$seen" || return; done
}
# Every control but the pictures has a name; the pictures are no tab stops and have none.
all_named() {
  ! grep -E '^control [^ ]+ [a-z-]+ ""$' <<<"$1" | grep -v '^control MoondialPicture no-tabstop ""$' ||
    why "unnamed:" "$1" || return
  ! grep -E '^control MoondialPicture (tabstop|[a-z-]+ "[^"]+")' <<<"$1" ||
    why "a picture a reader stops on:" "$1"
}
focus_on() { # focus_on TITLE LINE: the focus settles there
  local seen
  settled() { seen=$(read_window "$1") && grep -qxF -- "$2" <<<"$seen"; }
  until_true 30 settled "$1" "$2" || why "not $2:" "$seen"
}
ended() { for _ in $(seq 300); do kill -0 "$setup" 2>/dev/null || return 0; sleep 0.1; done; return 1; }

probe store "Screen Saver Type=4" "Custom Graphic Path=N/A" >/dev/null
wine "$scr" /c >/dev/null 2>&1 &
setup=$!
check "/c shows the setup dialog" probe find "Moondial - Setup" 30000
seen=$(read_window "Moondial - Setup")
check "the dialog is named by its caption" grep -qx 'window "Moondial - Setup"' <<<"$seen"
check "the options, Browse, About and Exit are read by their words" has_lines "$seen" \
  'control Button no-tabstop "Analog Clock"' \
  'control Button no-tabstop "Alarm Clock"' \
  'control Button no-tabstop "Lips Clock"' \
  'control Button tabstop "Custom Graphic"' \
  'control Button tabstop "Browse"' \
  'control Button tabstop "About"' \
  'control Button tabstop "Exit"'
check "the path box is named by the label just before it" has_lines "$seen" \
  'control Static no-tabstop "Full File Path"' 'control Edit tabstop "Full File Path"'
check "every control has a name, and the banner is passed over" all_named "$seen"
check "the selected option has the focus as the dialog opens" \
  focus_on "Moondial - Setup" 'focus Button "Custom Graphic"'
arrow() { # arrow KEY OPTION: after the key, the focus is on that option
  probe act "Moondial - Setup" "key=$1" >/dev/null
  focus_on "Moondial - Setup" "focus Button \"$2\""
}
check "Down from the last option goes round to the first" arrow down "Analog Clock"
check "and on to the next in their order" arrow down "Alarm Clock"
check "Right as Down" arrow right "Lips Clock"
check "Up to the previous" arrow up "Alarm Clock"
check "Left as Up" arrow left "Analog Clock"
check "and Up from the first round to the last" arrow up "Custom Graphic"

probe act "Moondial - Setup" press=250,322 >/dev/null
check "About opens the About box" probe find "Moondial - About" 30000
seen=$(read_window "Moondial - About")
check "the box is named by its caption" grep -qx 'window "Moondial - About"' <<<"$seen"
check "OK and the globe are read by their words" has_lines "$seen" \
  'control Button tabstop "OK"' 'control Button tabstop "Navigate to the Moondial Home Page"'
check "every control of the box has a name, and the logo and the banner are passed over" \
  all_named "$seen"
check "the box opens with the focus on OK" focus_on "Moondial - About" 'focus Button "OK"'
probe act "Moondial - About" key=tab >/dev/null
check "Tab takes the focus to the globe, read by its words" \
  focus_on "Moondial - About" 'focus Button "Navigate to the Moondial Home Page"'
probe act "Moondial - About" key=escape >/dev/null
about_gone() { ! probe find "Moondial - About" 500 >/dev/null; }
check "Escape closes the box as OK does" until_true 30 about_gone
check "and the dialog comes back" probe find "Moondial - Setup" 30000
probe close "Moondial - Setup" >/dev/null
check "closing the dialog ends the program" ended

checks_done
