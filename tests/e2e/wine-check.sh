#!/usr/bin/env bash
# "moondial.scr /d" under Wine, its report written to a file: no saver chosen, this Moondial,
# another copy of it, another saver, a policy forcing another one, screen savers switched off,
# a missing custom picture. Each report names what it found with its fix, the exit status
# follows, and no setting of the program is written.
# Usage: tests/e2e/wine-check.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/wine-env.sh"
source "$here/checks.sh"
wine_env_start "$(wine_arch_of "$build/moondial.scr")"

# Out of the system folders, which a 32-bit Wine start redirects in a 64-bit prefix.
mkdir -p "$WINEPREFIX/drive_c/Saver" "$WINEPREFIX/drive_c/Other"
cp "$build/moondial.scr" "$WINEPREFIX/drive_c/Saver/moondial.scr"
cp "$build/moondial.scr" "$WINEPREFIX/drive_c/Other/moondial.scr"
# Another saver: any program that is not Moondial.
cp "$build/tests/e2e/probe.exe" "$WINEPREFIX/drive_c/Other/other.scr"
desktop='HKCU\Control Panel\Desktop'
policy='HKCU\Software\Policies\Microsoft\Windows\Control Panel\Desktop'
settings='HKCU\Software\Quillon\Moondial'
set_value() { wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
report() { # the report of the saver, to a file, and its exit status
  status=0
  timeout 90 wine 'C:\Saver\moondial.scr' /d >"$WINEPREFIX/report.txt" 2>/dev/null ||
    status=$?
  reported=$(tr -d '\r' <"$WINEPREFIX/report.txt")
}
untouched() { ! wine reg query "$settings" >/dev/null 2>&1 || why "$(wine reg query "$settings")"; }

report
check "no saver chosen, no timeout: status 1, each with its fix" says 1 \
  '^problem +no screen saver is chosen -> choose Moondial in the screen saver settings' \
  '^problem +no screen saver timeout is set'
check "the check writes no setting of its own" untouched

set_value "$desktop" SCRNSAVE.EXE 'C:\Saver\moondial.scr'
set_value "$desktop" ScreenSaveActive 1
set_value "$desktop" ScreenSaveTimeOut 600
report
check "this Moondial chosen, with its timeout: status 0" says 0 \
  '^ok +this Moondial is the screen saver you chose' \
  '^ok +the saver starts after 10 min without input' '^ok +the chosen picture: the analog clock'

set_value "$desktop" SCRNSAVE.EXE 'C:\Other\moondial.scr'
report
check "another copy of Moondial is named with its version" says 0 \
  '^note +the screen saver you chose is another copy of Moondial, version 2\.0\.1, at C:\\Other'

set_value "$desktop" SCRNSAVE.EXE 'C:\Saver\moondial.scr'
set_value "$policy" SCRNSAVE.EXE 'C:\Other\other.scr'
report
check "a policy forcing another saver is named as such" says 1 \
  "^problem +the screen saver your organisation's policy chose is another one: .*other.scr -> ask your administrator"
wine reg delete "$policy" /f >/dev/null 2>&1

set_value "$desktop" ScreenSaveActive 0
report
check "screen savers switched off" says 1 '^problem +screen savers are switched off'
set_value "$desktop" ScreenSaveActive 1

set_value "$settings" 'Screen Saver Type' 4
set_value "$settings" 'Custom Graphic Path' 'C:\nowhere\gone.jpg'
report
check "a missing custom picture" says 1 \
  '^problem +the custom picture "C:\\nowhere\\gone.jpg" is missing'
checks_done
