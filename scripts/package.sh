#!/usr/bin/env bash
# Builds the packages into out/: the Linux .deb (CPack, its dependencies from dpkg-shlibdeps),
# the Windows installer, the Windows .zip with both .scr files and a short read-me, and
# SHA256SUMS of the three.
# Two builds of one commit give the same bytes, wherever and whenever they are made: every time
# stamp is the last commit's (SOURCE_DATE_EPOCH), no folder of the machine goes into a program,
# and the archives hold their files in one order, with one owner (scripts/check-reproducible.sh
# shows it).
# With a code-signing certificate (scripts/sign.sh: MOONDIAL_SIGN_PKCS12,
# MOONDIAL_SIGN_PASSWORD_FILE, MOONDIAL_SIGN_TIMESTAMP_URL) both savers, the uninstaller and the
# installer are signed.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux windows package
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
if [ -z "$SOURCE_DATE_EPOCH" ]; then
  echo "package: no commit to date the packages by here: set SOURCE_DATE_EPOCH" >&2
  exit 2
fi
export TZ=UTC LC_ALL=C
if [ -n "${MOONDIAL_SIGN_PKCS12:-}" ]; then
  echo "package: signing the Windows programs with $MOONDIAL_SIGN_PKCS12"
else
  echo "package: no certificate given (MOONDIAL_SIGN_PKCS12): the Windows programs are not signed"
fi
mkdir -p out
version=$(sed -n 's/^project(Moondial VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
rm -f out/moondial_*.deb out/moondial-*-windows.zip out/moondial-*-setup.exe out/SHA256SUMS

# Each package from build folders of its own, made anew: the test and run commands' folders keep
# their build types, and nothing built at another commit (and stamped with its time) is reused.
fresh() { # fresh PRESET TARGET...: a clean build of the preset in build/package-PRESET
  rm -rf "build/package-$1"
  cmake --preset "$1" -B "build/package-$1" >/dev/null
  cmake --build "build/package-$1" "${@:2}"
}
fresh linux-release
(cd build/package-linux-release && cpack -B "$(pwd)/../../out" >/dev/null)
rm -rf out/_CPack_Packages
fresh win32 --target moondial
fresh win64 --target moondial
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/moondial-$version-windows
mkdir -p "$folder/32-bit" "$folder/64-bit"
cp build/package-win32/moondial.scr "$folder/32-bit/"
cp build/package-win64/moondial.scr "$folder/64-bit/"
scripts/sign.sh "$folder/32-bit/moondial.scr" "$folder/64-bit/moondial.scr"
sed "1s/[0-9][0-9.]*/$version/; s/\$/\r/" resources/linux/README-windows.txt > "$folder/README.txt"
scripts/zip-windows.sh "$stage" "moondial-$version-windows" "out/moondial-$version-windows.zip"
scripts/make-installer.sh "$folder/32-bit" "$folder/64-bit" "out/moondial-$version-setup.exe"
(cd out && sha256sum "moondial_${version}_"*.deb "moondial-$version-windows.zip" \
  "moondial-$version-setup.exe" > SHA256SUMS)
ls -l out/*.deb out/*.zip out/*.exe out/SHA256SUMS
