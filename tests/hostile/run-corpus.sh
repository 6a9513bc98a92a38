#!/usr/bin/env bash
# Makes the hostile pictures afresh and loads them all with the corpus program of the build,
# under Wine for a Windows build.
# Usage: tests/hostile/run-corpus.sh CORPUS_PROGRAM [COUNT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
python3 "$here/make_corpus.py" "$folder" "${2:-2000}"
case $program in
  *.exe) "$here/../e2e/wine-run.sh" "$program" "Z:$folder" ;;
  *) QT_LOGGING_RULES="qt.gui.imageio*=false" "$program" "$folder" ;;
esac
