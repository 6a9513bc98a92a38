#!/usr/bin/env bash
# Builds the packages of the last commit twice, in two folders of different names made one after
# the other, and compares them byte for byte: each .scr, the .zip, the installer, the .deb. Names
# the first file that differs (inside a .zip or .deb, the file within it) and exits 1; 0 when
# every one matches. Uncommitted changes are not built.
# Usage: scripts/check-reproducible.sh [KEEP_DIR]   (the two builds are kept there if given)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d)}
[ -n "${1:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work"

build() { # build FOLDER: a clone of the last commit, its packages in FOLDER/moondial/out
  rm -rf "$1"
  git clone -q --no-hardlinks "$top" "$1/moondial"
  git -C "$1/moondial" checkout -q "$(git -C "$top" rev-parse HEAD)"
  (cd "$1/moondial" && scripts/package.sh >"$1/package.log" 2>&1) || {
    echo "The packages did not build in $1; the end of its log:"
    tail -20 "$1/package.log"
    exit 2
  }
  # Both savers on their own as well as inside the packages.
  cp "$1/moondial/build/package-win32/moondial.scr" "$1/moondial/out/moondial-32-bit.scr"
  cp "$1/moondial/build/package-win64/moondial.scr" "$1/moondial/out/moondial-64-bit.scr"
}
build "$work/first"
build "$work/second-build"

a=$work/first/moondial/out b=$work/second-build/moondial/out
# Inside a package that differs: the first file whose bytes or listing differ.
first_inside() { # first_inside PACKAGE
  local x=$work/inside-a y=$work/inside-b
  rm -rf "$x" "$y"; mkdir -p "$x" "$y"
  case $1 in
    *.zip) unzip -q "$a/$1" -d "$x"; unzip -q "$b/$1" -d "$y"
           zipinfo -l "$a/$1" >"$x.list"; zipinfo -l "$b/$1" >"$y.list" ;;
    *.deb) dpkg-deb -R "$a/$1" "$x"; dpkg-deb -R "$b/$1" "$y"
           dpkg-deb -c "$a/$1" >"$x.list"; dpkg-deb -c "$b/$1" >"$y.list" ;;
    *) return 0 ;;
  esac
  local file
  while read -r file; do
    if ! cmp -s "$x/$file" "$y/$file"; then
      echo "  first file within it that differs: $file"
      return 0
    fi
  done < <(cd "$x" && find . -type f | LC_ALL=C sort)
  cmp -s "$x.list" "$y.list" || echo "  its files match; their owners, modes or times differ"
}

status=0
while read -r package; do
  if [ ! -f "$b/$package" ]; then
    echo "differs: $package (only the first build made it)"
    status=1
  elif ! cmp -s "$a/$package" "$b/$package"; then
    echo "differs: $package ($(cmp "$a/$package" "$b/$package" | sed 's/.*: //'))"
    first_inside "$package"
    status=1
  else
    echo "same:    $package ($(sha256sum <"$a/$package" | cut -c1-16)...)"
  fi
done < <(cd "$a" && ls | LC_ALL=C sort)
[ $status = 0 ] && echo "Both builds match byte for byte." || echo "The builds differ."
exit $status
