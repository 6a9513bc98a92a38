#!/usr/bin/env bash
# Builds all three presets with warnings as errors and runs every test: unit and form tests
# on Qt (offscreen), the same unit tests under Wine for 32 and 64 bits, and the end-to-end
# scripts of both programs. Installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux windows

presets=(linux win32 win64)
for preset in "${presets[@]}"; do
  echo "== build $preset"
  cmake --preset "$preset" -DMOONDIAL_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build --preset "$preset"
done

status=0
for preset in "${presets[@]}"; do
  echo "== test $preset"
  ctest --test-dir "build/$preset" --output-on-failure -j2 || status=1
done
exit $status
