#!/usr/bin/env bash
# The saver imports only the system's known DLLs, which Windows never takes from a program's
# folder; every other system DLL it loads at run time from the system folder by name (the code
# names them, and LOAD_LIBRARY_SEARCH_SYSTEM32 is the one way it loads a library).
# Usage: tests/e2e/win32-imports.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/checks.sh"
top=$here/../..

objdump=i686-w64-mingw32-objdump
grep -q 'mingw-x86_64' "$build/CMakeCache.txt" && objdump=x86_64-w64-mingw32-objdump
imports=$("$objdump" -p "$build/moondial.scr" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
known=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll "
only_known() {
  local dll strays=""
  for dll in $imports; do [[ $known == *" $dll "* ]] || strays+=" $dll"; done
  [ -z "$strays" ] || why "imported, and no known DLL:$strays"
}
check "moondial.scr imports only known DLLs ($(echo $imports))" only_known
# Any other load of a library goes through SystemLibrary.
other_loads() {
  local found
  found=$(grep -rn 'LoadLibrary' "$top/ui/win32" | grep -v 'SystemLibrary.cpp' || true)
  [ -z "$found" ] || why "loaded elsewhere:" "$found"
}
check "no library is loaded but from the system folder" other_loads
checks_done
