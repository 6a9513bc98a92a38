#!/usr/bin/env bash
# Builds the libFuzzer targets (preset linux-fuzz) and runs each for the given time, from the
# committed seeds in a working copy of its own; fails on any crash, leak or timeout. Prints each
# target's executions.
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
status=0
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  cp tests/fuzz/seeds/"$target"/* "$work/$target/"
  log=$work/$target.log
  if build/linux-fuzz/tests/fuzz/fuzz_"$target" "$work/$target" -max_total_time="$seconds" \
       -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$target-" \
       >"$log" 2>&1; then
    echo "fuzz $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
  else
    echo "fuzz $target: FAILED"; tail -n 40 "$log"; status=1
  fi
done
exit $status
