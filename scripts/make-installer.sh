#!/usr/bin/env bash
# Makes the Windows installer from the two built screen savers.
# Usage: scripts/make-installer.sh WIN32_DIR WIN64_DIR OUTPUT_EXE (each DIR holding a moondial.scr)
# MOONDIAL_INSTALLER_TARGET=amd64-unicode makes the installer itself a 64-bit program (for the
# tests, where no 32-bit program runs); the one shipped is 32-bit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
# The installer keeps each file's time: the savers go in as copies dated by the last commit, so
# that two builds of one commit make the same installer.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/32-bit" "$stage/64-bit"
scr32=$stage/32-bit/moondial.scr scr64=$stage/64-bit/moondial.scr
cp "$1/moondial.scr" "$scr32"
cp "$2/moondial.scr" "$scr64"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
touch -d "@$epoch" "$scr32" "$scr64"

# The version and maker as the program's own version block gives them.
version=$(sed -n 's/^project(Moondial VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
IFS=. read -r major minor revision <<<"$version"
publisher=$(sed -n 's/.*VALUE "CompanyName", "\(.*\)".*/\1/p' "$top/ui/win32/moondial.rc")
# The notice the About box shows, as the Linux package's copyright file dates it.
copyright="Copyright (C) $(sed -n 's/^Copyright: //p' "$top/resources/linux/copyright" | head -1)"
# What each machine gets: both savers on 64-bit Windows, the 32-bit one alone on 32-bit Windows.
size32_kb=$(( $(stat -c %s "$scr32") / 1024 + 1 ))
size64_kb=$(( ($(stat -c %s "$scr32") + $(stat -c %s "$scr64")) / 1024 + 1 ))

options=()
[ -z "${MOONDIAL_INSTALLER_TARGET:-}" ] || options+=(-DTARGET="$MOONDIAL_INSTALLER_TARGET")
# With a certificate (scripts/sign.sh) the uninstaller is signed before the installer takes it
# in, and the installer once it is written.
[ -z "${MOONDIAL_SIGN_PKCS12:-}" ] || options+=(-DSIGN="$top/scripts/sign.sh")
SOURCE_DATE_EPOCH=$epoch makensis -V2 -NOCD "${options[@]}" \
  -DVERSION="$version" \
  -DFILE_VERSION="$major.$minor.0.$revision" \
  -DFILE_VERSION_TEXT="$(printf '%d.%02d.%04d' "$major" "$minor" "$revision")" \
  -DPUBLISHER="$publisher" \
  -DCOPYRIGHT="$copyright" \
  -DSCR32="$scr32" -DSCR64="$scr64" \
  -DICON="$top/resources/moondial.ico" \
  -DSIZE32_KB="$size32_kb" -DSIZE64_KB="$size64_kb" \
  -DOUTFILE="$out" \
  "$top/resources/windows/installer.nsi"
