#!/usr/bin/env bash
# Signed packages: a throwaway certificate authority and code-signing certificate (openssl), both
# savers signed with them (scripts/sign.sh) and an installer made with them
# (scripts/make-installer.sh, which has the uninstaller and itself signed). Every signature
# verifies against that authority, the uninstaller's too once the installer has written it under
# Wine; a saver without its signature is the build's own bytes again; the signed saver installed
# runs.
# Usage: tests/e2e/wine-signed.sh WIN32_BUILD_DIR WIN64_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build32=$(cd "$1" && pwd)
build64=$(cd "$2" && pwd)
source "$here/wine-env.sh"
source "$here/checks.sh"
work=$build64/tests/e2e/signed
rm -rf "$work" && mkdir -p "$work/32-bit" "$work/64-bit"

# For this run only; the password in a file, as a signer keeps it.
(
  cd "$work"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Moondial Test Authority" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" \
    -keyout authority.key -out authority.pem
  openssl req -newkey rsa:2048 -nodes -subj "/CN=Moondial Test Signer" \
    -keyout signer.key -out signer.csr
  printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature \
    extendedKeyUsage=codeSigning >signer.ext
  openssl x509 -req -days 2 -in signer.csr -CA authority.pem -CAkey authority.key \
    -CAcreateserial -extfile signer.ext -out signer.pem
  echo "a throwaway password" >password
  openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile authority.pem \
    -passout file:password -out signer.p12
) >"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; exit 1; }
export MOONDIAL_SIGN_PKCS12=$work/signer.p12 MOONDIAL_SIGN_PASSWORD_FILE=$work/password

cp "$build32/moondial.scr" "$work/32-bit/"
cp "$build64/moondial.scr" "$work/64-bit/"
"$top/scripts/sign.sh" "$work/32-bit/moondial.scr" "$work/64-bit/moondial.scr"
# Where no 32-bit program runs, the installer as a 64-bit build of itself.
wine_runs_32_bit || export MOONDIAL_INSTALLER_TARGET=amd64-unicode
"$top/scripts/make-installer.sh" "$work/32-bit" "$work/64-bit" "$work/setup.exe" >/dev/null

verified() { # verified FILE: a good signature, by the test's signer
  local said
  said=$(osslsigncode verify -CAfile "$work/authority.pem" -in "$1" 2>&1) || why "$said" || return
  grep -q "CN=Moondial Test Signer" <<<"$said" || why "not by the test's signer:" "$said"
}
unsigned_is() { # unsigned_is SIGNED BUILT
  rm -f "$work/unsigned"
  osslsigncode remove-signature -in "$1" -out "$work/unsigned" >/dev/null 2>&1 ||
    why "no signature to remove from $1" || return
  cmp "$work/unsigned" "$2" || why "$1 without its signature is not $2"
}
check "the 32-bit saver's signature verifies" verified "$work/32-bit/moondial.scr"
check "the 64-bit saver's signature verifies" verified "$work/64-bit/moondial.scr"
check "each saver without its signature is the build's own bytes" \
  eval 'unsigned_is "$work/32-bit/moondial.scr" "$build32/moondial.scr" &&
        unsigned_is "$work/64-bit/moondial.scr" "$build64/moondial.scr"'
check "the installer's signature verifies" verified "$work/setup.exe"

wine_env_start win64
wine "$work/setup.exe" /S >/dev/null 2>&1 || true
wineserver -w
check "the uninstaller it installs verifies" \
  verified "$WINEPREFIX/drive_c/Program Files/Moondial/uninstall.exe"
check "the saver it installs is the signed one" \
  cmp "$WINEPREFIX/drive_c/windows/system32/moondial.scr" "$work/64-bit/moondial.scr"
signed_saver_runs() {
  wine 'C:\windows\system32\moondial.scr' /s >/dev/null 2>&1 &
  local pid=$!
  timeout 90 wine "$build64/tests/e2e/probe.exe" find "" 60000 >/dev/null ||
    why "no saver window" || return
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
check "the signed saver runs" signed_saver_runs
checks_done
