#!/usr/bin/env bash
# Builds the packages into out/: the Linux .deb (CPack, its dependencies from dpkg-shlibdeps),
# the Windows installer, and the Windows .zip with both .scr files and a short read-me.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux windows package
mkdir -p out
# A build folder of its own, so that the test and run commands' folder keeps its own build type.
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release
(cd build/linux-release && cpack -B "$(pwd)/../../out" >/dev/null)
rm -rf out/_CPack_Packages

for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target moondial
done
version=$(sed -n 's/^project(Moondial VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/moondial-$version-windows
mkdir -p "$folder/32-bit" "$folder/64-bit"
cp build/win32/moondial.scr "$folder/32-bit/"
cp build/win64/moondial.scr "$folder/64-bit/"
sed "1s/[0-9][0-9.]*/$version/; s/\$/\r/" resources/linux/README-windows.txt > "$folder/README.txt"
rm -f out/moondial-$version-windows.zip
(cd "$stage" && zip -qr -X "$OLDPWD/out/moondial-$version-windows.zip" moondial-$version-windows)
scripts/make-installer.sh build/win32 build/win64 out/moondial-$version-setup.exe
ls -l out/*.deb out/*.zip out/*.exe
