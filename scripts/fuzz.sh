#!/usr/bin/env bash
# Builds the libFuzzer targets (preset linux-asan, beside the sanitizers' tests) and runs each
# for the given time, from the committed seeds in a working copy of its own, as many at once as
# there are cores; fails on any crash, leak, timeout or more than 512 MB of memory. Prints each
# target's executions; a failing target's input is kept under build/linux-asan/artifacts/ and
# named, with the command that runs it again.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (default 20 s each, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(command_line conversions picture_loader picture_header)

scripts/install-deps.sh linux
cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=build/linux-asan/artifacts
mkdir -p "$artifacts"
run() { # TARGET: its log in the working copy, its exit status beside it
  local target=$1 status=0
  mkdir -p "$work/$target"
  cp tests/fuzz/seeds/"$target"/* "$work/$target/"
  rm -f "$artifacts/$target-"*
  # What a target writes for itself goes with the working copy, even after a crash.
  TMPDIR=$work "build/linux-asan/tests/fuzz/fuzz_$target" "$work/$target" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" >"$work/$target.log" 2>&1 || status=$?
  echo $status >"$work/$target.status"
}
at_once=$(nproc) running=0
for target in "${targets[@]}"; do
  run "$target" &
  running=$((running + 1))
  if [ $running -ge "$at_once" ]; then wait -n; running=$((running - 1)); fi
done
wait

status=0
for target in "${targets[@]}"; do
  log=$work/$target.log
  program=build/linux-asan/tests/fuzz/fuzz_$target
  if [ "$(cat "$work/$target.status")" = 0 ]; then
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
