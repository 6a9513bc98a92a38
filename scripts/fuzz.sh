#!/usr/bin/env bash
# Builds the libFuzzer targets (preset linux-fuzz) and runs each for the given time, from the
# committed seeds in a working copy of its own; fails on any crash, leak, timeout or more than
# 512 MB of memory. Prints each target's executions; a failing target's input is kept under
# build/linux-fuzz/artifacts/ and named, with the command that runs it again.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (default 20 s each, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(command_line conversions picture_loader picture_header)

scripts/install-deps.sh linux
cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=build/linux-fuzz/artifacts
mkdir -p "$artifacts"
status=0
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  cp tests/fuzz/seeds/"$target"/* "$work/$target/"
  log=$work/$target.log
  program=build/linux-fuzz/tests/fuzz/fuzz_$target
  rm -f "$artifacts/$target-"*
  if "$program" "$work/$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$target-" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
  else
    echo "fuzz $target: FAILED"; tail -n 40 "$log"; status=1
    for input in "$artifacts/$target-"*; do
      [ -e "$input" ] || continue
      echo "fuzz $target: the input kept is $input ($(wc -c <"$input") bytes); again: $program $input"
      # A run elsewhere (CI) keeps no build folder: a small input is shown whole, to paste back.
      if [ "$(wc -c <"$input")" -le 4096 ]; then
        echo "fuzz $target: the input in base64 (base64 -d > FILE):"; base64 -w 76 "$input"
      fi
    done
  fi
done
exit $status
