#!/usr/bin/env bash
# The Windows installer under Wine: silent install into a fresh 64-bit prefix (each saver where
# the display settings look, the "Apps and features" entry, no user setting changed), again with
# /ACTIVATE (the saver chosen, still one entry), the installed saver running from there, the
# silent uninstall (files, entry and choice gone, the user's own settings kept); /D=; a saver in
# use replaced, one that cannot be replaced and an uninstaller that cannot be written failing
# the install, an install after an uninstall that left a saver in use keeping its files; then
# clicked through in a fresh 32-bit prefix.
# Where no 32-bit program runs, the installer is checked as a 64-bit build of itself (the same
# script), on 64-bit Windows only.
# Usage: tests/e2e/wine-installer.sh INSTALLER WIN32_BUILD_DIR WIN64_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
installer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
build32=$(cd "$2" && pwd)
build64=$(cd "$3" && pwd)
source "$here/wine-env.sh"
own=$build64/tests/e2e/installer-checks
rm -rf "$own" && mkdir -p "$own"
probe64=$build64/tests/e2e/probe.exe
if ! wine_runs_32_bit; then
  echo "Here $(wine_no_32_bit_reason): the installer is checked as a 64-bit build of it."
  MOONDIAL_INSTALLER_TARGET=amd64-unicode "$here/../../scripts/make-installer.sh" \
    "$build32" "$build64" "$own/setup64.exe"
  installer=$own/setup64.exe
fi

source "$here/checks.sh"
# Runs a Windows program and waits for every process it started (an uninstaller runs a copy of
# itself) and for the registry to be saved.
run() { wine "$@" >/dev/null 2>&1 || true; wineserver -w; }
# The machine's own view of the registry, where "Apps and features" looks: a 64-bit prefix's
# reg shows the 32-bit view unless told.
view=()
query() { wine reg query "$@" "${view[@]}" 2>/dev/null | tr -d '\r'; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Moondial'
value_of() { # value_of KEY NAME: the data of one value
  query "$1" /v "$2" | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

installed_as() { # installed_as FILE ARCH BUILD: there, of that kind, the build's own bytes
  [ -f "$1" ] || why "no $1" || return
  [ "$(wine_arch_of "$1")" = "$2" ] || why "$1 is not $2" || return
  cmp -s "$1" "$3/moondial.scr" || why "$1 is not the $2 build"
}
entry_complete() {
  local seen name expected
  seen=$(query "$uninstall_key")
  for pair in "DisplayName=Moondial" "DisplayVersion=2.0.1" "Publisher=Quillon" \
      'DisplayIcon=C:\windows\system32\moondial.scr,0' \
      'UninstallString="C:\Program Files\Moondial\uninstall.exe"' \
      'QuietUninstallString="C:\Program Files\Moondial\uninstall.exe" /S' \
      "NoModify=0x1" "NoRepair=0x1"; do
    name=${pair%%=*} expected=${pair#*=}
    [ "$(value_of "$uninstall_key" "$name")" = "$expected" ] ||
      why "$name is '$(value_of "$uninstall_key" "$name")', not '$expected'" "$seen" || return
  done
  local size; size=$(value_of "$uninstall_key" EstimatedSize)
  (( size > 0x100 )) || why "EstimatedSize $size" || return
  [ -f "$WINEPREFIX/drive_c/Program Files/Moondial/uninstall.exe" ] || why "no uninstaller"
}
desktop_settings() { query 'HKCU\Control Panel\Desktop' | sort; }
one_entry() {
  [ "$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' | grep -ci moondial)" = 1 ] ||
    why "$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall')"
}
chosen() {
  [ "$(value_of 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\system32\moondial.scr' ] &&
    [ "$(value_of 'HKCU\Control Panel\Desktop' ScreenSaveActive)" = 1 ] ||
    why "$(desktop_settings)"
}
saver_runs() {
  wine 'C:\windows\system32\moondial.scr' /s >/dev/null 2>&1 &
  local pid=$!
  timeout 90 wine "$probe64" find "" 60000 >/dev/null || why "no saver window" || return
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
all_gone() {
  local left=()
  [ ! -e "$WINEPREFIX/drive_c/windows/system32/moondial.scr" ] || left+=(system32)
  [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/moondial.scr" ] || left+=(syswow64)
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Moondial" ] || left+=("Program Files")
  query "$uninstall_key" >/dev/null && left+=(entry)
  [ -z "$(value_of 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" ] || left+=(choice)
  [ ${#left[@]} = 0 ] || why "left: ${left[*]}"
}
# The program's version block and icon, read as the shell reads them.
carries_identity() { # carries_identity WINDOWS_PATH
  local seen scr
  seen=$(wine "$probe64" resources "$1" | tr -d '\r')
  scr=$(wine "$probe64" resources "Z:$build32/moondial.scr" | tr -d '\r')
  for line in 'file-version 2.0.0.1' 'file-version-text "2.00.0001"' \
      'company "Quillon" product "Moondial"' "$(grep '^icon-1 ' <<<"$scr")"; do
    grep -qxF -- "$line" <<<"$seen" || why "missing: $line" "in:" "$seen" || return
  done
}
settings_kept() {
  [ "$(value_of 'HKCU\Software\Quillon\Moondial' 'Screen Saver Type')" = 2 ] ||
    why "$(query 'HKCU\Software\Quillon\Moondial')"
}

# The installer and the uninstaller it writes are the same program: it imports the system's
# known DLLs, and Common Controls bound by its manifest to the system's side-by-side copy,
# nothing Windows would take from the folder it was downloaded to.
stub_imports() {
  local objdump=i686-w64-mingw32-objdump dll strays=""
  [ "$installer" != "$own/setup64.exe" ] || objdump=x86_64-w64-mingw32-objdump
  local known=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll ole32.dll shell32.dll user32.dll "
  for dll in $("$objdump" -p "$installer" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    [[ $known == *" $dll "* ]] || strays+=" $dll"
  done
  [ -z "$strays" ] || why "imported, and no known DLL:$strays" || return
  grep -aq 'Microsoft.Windows.Common-Controls' "$installer" || why "no Common Controls in its manifest"
}
check "the installer imports only known DLLs and side-by-side Common Controls" stub_imports

wine_env_start win64
view=(/reg:64)
wineserver -w
before=$(desktop_settings)
check "the installer carries the program's version block and icon" carries_identity "Z:$installer"
run "$installer" /S
check "64-bit: /S puts the 64-bit saver into system32" \
  installed_as "$WINEPREFIX/drive_c/windows/system32/moondial.scr" win64 "$build64"
check "64-bit: and the 32-bit one into syswow64" \
  installed_as "$WINEPREFIX/drive_c/windows/syswow64/moondial.scr" win32 "$build32"
check "64-bit: the uninstall entry has every value" entry_complete
check "the uninstaller carries them too" \
  carries_identity 'C:\Program Files\Moondial\uninstall.exe'
check "64-bit: no user setting changed" [ "$(desktop_settings)" = "$before" ]
wine reg add 'HKCU\Software\Quillon\Moondial' /v 'Screen Saver Type' /d 2 /f >/dev/null 2>&1
run "$installer" /S /ACTIVATE
check "64-bit: /S /ACTIVATE makes it the saver" chosen
check "64-bit: run by a user, not SYSTEM: nothing to say in install.log" \
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Moondial/install.log" ]
check "64-bit: installed twice, one entry" one_entry
check "64-bit: the installed saver runs" saver_runs
run 'C:\Program Files\Moondial\uninstall.exe' /S
check "64-bit: the silent uninstall removes files, entry and choice" all_gone
check "64-bit: the user's own settings stay" settings_kept

# The installer's failure code, 1603, as Wine passes it on: its low byte.
failure_code=$((1603 % 256))
# The exit code of a program that runs to its end by itself (a holder below may outlive it).
exit_of() { local status=0; wine "$@" >/dev/null 2>&1 || status=$?; echo $status; }
system32=$WINEPREFIX/drive_c/windows/system32
elsewhere() {
  [ "$status" = 0 ] || why "exit code $status" || return
  [ -f "$WINEPREFIX/drive_c/MoondialElsewhere/uninstall.exe" ] || why "no uninstaller there" || return
  [ "$(value_of "$uninstall_key" InstallLocation)" = 'C:\MoondialElsewhere' ] ||
    why "InstallLocation $(value_of "$uninstall_key" InstallLocation)"
}
status=$(exit_of "$installer" /S '/D=C:\MoondialElsewhere')
check "64-bit: /D= puts the uninstaller where it says" elsewhere
run 'C:\MoondialElsewhere\uninstall.exe' /S
check "64-bit: and its uninstaller removes that folder" \
  [ ! -e "$WINEPREFIX/drive_c/MoondialElsewhere" ]

# A stand-in for a program holding the saver: "image" as Windows holds a running program's file
# (readable and renamable, not writable), "exclusive" shared with readers only.
hold() {
  rm -f "$own/release" "$own/held"
  wine "$probe64" hold 'C:\windows\system32\moondial.scr' "$1" "Z:$own/release" >"$own/held" 2>&1 &
  holder=$!
  until_true 90 grep -qs held "$own/held"
}
release() { touch "$own/release"; wait "$holder" 2>/dev/null || true; wineserver -w; }
no_leftover() {
  local left; left=$(find "$system32" -maxdepth 1 -iname 'ns*.tmp')
  [ -z "$left" ] || why "left: $left"
}
printf 'the saver of an earlier version' >"$system32/moondial.scr"
hold image
status=$(exit_of "$installer" /S)
check "64-bit: a saver in use (the settings' preview) is replaced, and the install succeeds" \
  eval '[ "$status" = 0 ] && installed_as "$system32/moondial.scr" win64 "$build64"'
release
check "64-bit: the copy that was in use is gone once let go" no_leftover

printf 'the saver another program holds' >"$system32/moondial.scr"
hold exclusive
status=$(exit_of "$installer" /S)
release
held_as_it_was() {
  [ "$status" = "$failure_code" ] || why "exit code $status" || return
  [ "$(head -c 64 "$system32/moondial.scr")" = "the saver another program holds" ] ||
    why "it was replaced"
}
check "64-bit: a saver that cannot be replaced fails the install (1603), left as it was" \
  held_as_it_was

# As root only an immutable file refuses a write.
uninstaller=$WINEPREFIX/drive_c/Program\ Files/Moondial/uninstall.exe
if chattr +i "$uninstaller" 2>/dev/null; then
  status=$(exit_of "$installer" /S)
  chattr -i "$uninstaller"
  check "64-bit: an uninstaller that cannot be written fails the install (1603)" \
    eval '[ "$status" = "$failure_code" ] || why "exit code $status"'
else
  echo "skip 64-bit: a file that refuses writing (this file system has no immutable files)"
fi

# Uninstalled while the settings' preview runs the saver, installed again before the restart.
run "$installer" /S
hold image
# In its own folder (_?=), as it is, so that its run ends with it and gives its exit code.
status=$(exit_of 'C:\Program Files\Moondial\uninstall.exe' /S '_?=C:\Program Files\Moondial')
check "64-bit: the uninstall with a saver in use succeeds (0) or asks for a restart (3010)" \
  eval '[ "$status" = 0 ] || [ "$status" = $((3010 % 256)) ]'
status=$(exit_of "$installer" /S)
release
check "64-bit: installed after an uninstall that left a saver in use, the new saver stays" \
  eval '[ "$status" = 0 ] && installed_as "$system32/moondial.scr" win64 "$build64"'
wine_env_stop
trap - EXIT

if ! wine_runs_32_bit; then
  echo "skip 32-bit Windows: $(wine_no_32_bit_reason)"
  checks_done
  exit
fi
wine_env_start win32
view=()
wineserver -w
# Clicked through as a user would: Install, then Finish with the first choice as offered and the
# settings page not opened (Wine has no screen-saver page to open).
probe() { timeout 90 wine "$build32/tests/e2e/probe.exe" "$@" | tr -d '\r'; }
wine "$installer" >/dev/null 2>&1 &
setup=$!
clicked_through() {
  probe find "Moondial Setup" 60000 >/dev/null || why "no installer window" || return
  probe act "Moondial Setup" "click=&Install" >/dev/null
  local seen
  for _ in $(seq 60); do
    seen=$(probe inspect "Moondial Setup " 2>/dev/null || true)
    grep -q '^control Button "&Finish"' <<<"$seen" && break
    sleep 1
  done
  grep -q '^control Button "Use Moondial as my screen saver" .* visible' <<<"$seen" &&
    grep -q '^control Button "Open the screen saver settings" .* visible' <<<"$seen" ||
    why "no choices on the last page:" "$seen" || return
  probe act "Moondial Setup " "click=Open the screen saver settings" "click=&Finish" >/dev/null
  for _ in $(seq 300); do kill -0 "$setup" 2>/dev/null || break; sleep 0.1; done
  wineserver -w
}
check "32-bit: the last page offers both choices; Finish closes it" clicked_through
check "32-bit: the 32-bit saver is in system32" \
  installed_as "$WINEPREFIX/drive_c/windows/system32/moondial.scr" win32 "$build32"
check "32-bit: the uninstall entry has every value" entry_complete
check "32-bit: the first choice, as offered, made it the saver" chosen

checks_done
