#!/usr/bin/env bash
# Zips the Windows package's folder the one way every build zips it, so that one commit gives
# one .zip: the files in one order, no folder entries, no owners, each file's mode fixed (the
# savers executable) and its time the last commit's.
# Usage: scripts/zip-windows.sh PARENT FOLDER OUTPUT_ZIP   (FOLDER inside PARENT, as it is to be
# named inside the .zip)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
cd "$1"
find "$2" -type f -exec chmod 644 {} +
find "$2" -type f -name '*.scr' -exec chmod 755 {} +
find "$2" -exec touch -h -d "@$epoch" {} +
rm -f "$out"
find "$2" | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$out"
