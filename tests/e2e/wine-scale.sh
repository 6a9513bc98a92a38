#!/usr/bin/env bash
# The Windows setup dialog, About box and saver under Wine at the system scales 100%, 125%,
# 150% and 200% (LogPixels 96, 120, 144, 192), as a program started at that scale: each window
# is its layout times the scale, the rounded buttons' regions scale, and the dial is drawn twice
# as large at 200%. (Whether every text fits its control is measured in the program's own
# process, by the unit tests: Wine's fonts are no other process's to measure with.)
# Usage: tests/e2e/wine-scale.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scr=$build/moondial.scr
probe_exe=$build/tests/e2e/probe.exe
shots=${2:-}
source "$here/wine-env.sh"
# Room for the About box at 200%.
WINE_DESKTOP=1600x1000 wine_env_start "$(wine_arch_of "$scr")"

source "$here/checks.sh"
probe() { timeout 60 wine "$probe_exe" "$@" | tr -d '\r'; }
# Logical pixels on the device, rounded as the program rounds (halves to even, as printf does).
device() { awk -v l="$1" -v d="$dpi" 'BEGIN { printf "%.0f", l * d / 96 }'; }
near() { # near ACTUAL EXPECTED: within a pixel
  local d=$(($1 - $2)); ((d >= -1 && d <= 1))
}
shot() { # shot TITLE FILE: the window, cut out of the screen
  [ -n "$shots" ] || return 0
  local at; at=$(probe find "$1" 30000 | sed -n 's/^at //p')
  IFS=, read -r x y w h <<<"$at"
  mkdir -p "$shots"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$2"
}
use_dpi() { # every process of the prefix ends, and the next starts at the new scale
  wineserver -k 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k # saves the registry as waiting for it does, without the seconds it lingers
}
client_is() { # client_is SEEN TITLE WIDTH HEIGHT: the inner area, in logical pixels
  local size w h
  size=$(sed -n "s/^window \"$2\" at .* client \([0-9]*x[0-9]*\) .*/\1/p" <<<"$1")
  IFS=x read -r w h <<<"$size"
  [ -n "$size" ] && near "$w" "$(device "$3")" && near "$h" "$(device "$4")" ||
    why "$2: client $size at $dpi dpi, the layout is $3 x $4"
}
regions_scaled() { # the rounded outline (3, 4)-(89, 30), the system leaving out its last row and column
  local left top width height
  left=$(device 3) top=$(device 4)
  width=$(($(device 89) - left - 1)) height=$(($(device 30) - top - 1))
  [ "$(grep -c "^control Button \"\(About\|Exit\)\" .* region=$left,$top,$width,$height\$" <<<"$1")" = 2 ] ||
    why "expected region=$left,$top,$width,$height in:" "$1"
}

for dpi in 96 120 144 192; do
  use_dpi "$dpi"
  percent=$((dpi * 100 / 96))
  probe store "Screen Saver Type=1" "Custom Graphic Path=N/A" >/dev/null
  wine "$scr" /c >/dev/null 2>&1 &
  check "$percent%: /c shows the setup dialog" probe find "Moondial - Setup" 30000
  seen=$(probe inspect "Moondial - Setup")
  check "$percent%: the dialog's inner area is 493 x 355 times the scale" \
    client_is "$seen" "Moondial - Setup" 493 355
  check "$percent%: the rounded buttons' regions are scaled" regions_scaled "$seen"
  if [ "$percent" -gt 100 ]; then shot "Moondial - Setup" "setup-windows-$percent.png"; fi
  probe act "Moondial - Setup" "press=$(device 250),$(device 322)" >/dev/null
  check "$percent%: About opens the About box" probe find "Moondial - About" 30000
  about=$(probe inspect "Moondial - About")
  check "$percent%: the About box's inner area is 602 x 299 times the scale" \
    client_is "$about" "Moondial - About" 602 299
  if [ "$percent" -gt 100 ]; then shot "Moondial - About" "about-windows-$percent.png"; fi
done

# The saver's dial at 100% and 200%: the box and what shows on the screen twice as wide.
dial_width() { # the box's size and the width of what is not black, with the saver running
  use_dpi "$1"
  probe store "Screen Saver Type=1" >/dev/null
  wine "$scr" /s >/dev/null 2>&1 &
  local size=
  for _ in $(seq 300); do
    size=$(probe inspect "" 2>/dev/null | sed -n 's/^control MoondialPicture "" [0-9-]*,[0-9-]*,\([0-9]*,[0-9]*\) visible.*/\1/p' | head -1)
    [ -n "$size" ] && [ "$(convert x:root -format '%[fx:maxima]' info: 2>/dev/null)" != 0 ] && break
    sleep 0.1
  done
  echo "$size $(convert x:root -format '%@' info: | sed 's/x.*//')"
}
read -r box100 drawn100 <<<"$(dial_width 96)"
read -r box200 drawn200 <<<"$(dial_width 192)"
if [ -n "$shots" ]; then import -window root "$shots/analog-clock-windows-200.png"; fi
dial_doubles() {
  local w100 h100 w200 h200
  IFS=, read -r w100 h100 <<<"$box100"
  IFS=, read -r w200 h200 <<<"$box200"
  [ -n "$w100" ] && [ "$w200" = $((w100 * 2)) ] && [ "$h200" = $((h100 * 2)) ] &&
    [ "$drawn200" -ge $((drawn100 * 2 - 3)) ] && [ "$drawn200" -le $((drawn100 * 2 + 3)) ] ||
    why "box $box100 and $box200, drawn $drawn100 and $drawn200 wide"
}
check "the saver's dial at 200% is its 2x drawing, twice as wide as at 100%" dial_doubles

checks_done
