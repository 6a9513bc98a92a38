#!/usr/bin/env bash
# Builds the packages of the last commit twice, in two folders of different names made one after
# the other, and compares them byte for byte: each .scr, the .zip, the installer, the .deb and
# SHA256SUMS. Names the first file that differs (inside a .zip or .deb, the file within it) and
# exits 1; 0 when every one matches. Uncommitted changes are not built.
# With --against, builds once and compares the files given (downloaded packages or savers) with
# the rebuild instead; a signed .scr, or one in the .zip, is compared without its signature.
# Usage: scripts/check-reproducible.sh [--keep DIR] [--against FILE...]
set -euo pipefail
export TZ=UTC LC_ALL=C
top=$(cd "$(dirname "$0")/.." && pwd)
work="" against=()
while [ $# -gt 0 ]; do
  case $1 in
    --keep) work=$2; shift 2 ;;
    --against) shift; against=("$@"); break ;;
    *) echo "Usage: scripts/check-reproducible.sh [--keep DIR] [--against FILE...]" >&2; exit 2 ;;
  esac
done
for file in "${against[@]}"; do
  [ -f "$file" ] || { echo "check-reproducible: no file $file" >&2; exit 2; }
done
if [ -z "$work" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
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
# The savers without a signature, where they have one.
unsigned() { # unsigned FILE: in place
  if osslsigncode remove-signature -in "$1" -out "$1.unsigned" >/dev/null 2>&1; then
    mv "$1.unsigned" "$1"
  else
    rm -f "$1.unsigned"
  fi
}

build "$work/first"
a=$work/first/moondial/out
if [ ${#against[@]} -eq 0 ]; then
  build "$work/second-build"
  b=$work/second-build/moondial/out
  packages=$(cd "$a" && ls | LC_ALL=C sort)
else
  # The files given, under the names the rebuild gives them.
  b=$work/given
  rm -rf "$b" && mkdir -p "$b"
  packages=""
  for file in "${against[@]}"; do
    file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")
    name=$(basename "$file")
    case $name in
      *.scr)
        [ "$(od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$file") + 4)) -N2 "$file" | tr -d ' ')" = 8664 ] &&
          name=moondial-64-bit.scr || name=moondial-32-bit.scr
        cp "$file" "$b/$name"; unsigned "$b/$name" ;;
      *.zip)
        # Its savers without their signatures, zipped again as the packages are.
        rm -rf "$work/unzipped" && mkdir -p "$work/unzipped"
        unzip -q "$file" -d "$work/unzipped"
        while read -r scr; do unsigned "$scr"; done < <(find "$work/unzipped" -name '*.scr')
        "$top/scripts/zip-windows.sh" "$work/unzipped" "$(zipinfo -1 "$file" | head -1 | cut -d/ -f1)" \
          "$b/$name" ;;
      *) cp "$file" "$b/$name" ;;
    esac
    packages+="$name"$'\n'
  done
fi

status=0
while read -r package; do
  [ -n "$package" ] || continue
  if [ ! -f "$a/$package" ] || [ ! -f "$b/$package" ]; then
    echo "differs: $package (only one side has it)"
    status=1
  elif ! cmp -s "$a/$package" "$b/$package"; then
    echo "differs: $package ($(cmp "$a/$package" "$b/$package" | sed 's/.*: //'))"
    first_inside "$package"
    status=1
  else
    echo "same:    $package ($(sha256sum <"$a/$package" | cut -c1-16)...)"
  fi
done <<<"$packages"
[ $status = 0 ] && echo "They match byte for byte." || echo "They differ."
exit $status
