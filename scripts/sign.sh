#!/usr/bin/env bash
# Signs Windows programs in place (Authenticode, SHA-256) with the certificate the environment
# names:
#   MOONDIAL_SIGN_PKCS12         the PKCS#12 file holding the code-signing certificate and its key
#   MOONDIAL_SIGN_PASSWORD_FILE  a file holding that file's password: never an argument, which
#                                any user of the machine could read from the process list
#   MOONDIAL_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamp server, so that the signature
#                                stays good after the certificate expires
# Without MOONDIAL_SIGN_PKCS12 it does nothing. Where no server stamps the signature, its signing
# time is the last commit's (SOURCE_DATE_EPOCH): the holder of the certificate signing two builds
# of one commit gets the same bytes twice.
# Usage: scripts/sign.sh FILE...
set -euo pipefail
[ -n "${MOONDIAL_SIGN_PKCS12:-}" ] || exit 0
if [ ! -r "${MOONDIAL_SIGN_PASSWORD_FILE:-}" ]; then
  echo "sign.sh: MOONDIAL_SIGN_PASSWORD_FILE must name a readable file holding the password of" \
    "$MOONDIAL_SIGN_PKCS12" >&2
  exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
stamp=(-time "$epoch")
[ -z "${MOONDIAL_SIGN_TIMESTAMP_URL:-}" ] || stamp=(-ts "$MOONDIAL_SIGN_TIMESTAMP_URL")

for file; do
  if ! said=$(osslsigncode sign -pkcs12 "$MOONDIAL_SIGN_PKCS12" \
      -readpass "$MOONDIAL_SIGN_PASSWORD_FILE" -h sha256 -n Moondial \
      -i "https://www.quillon.example/moondial.html" "${stamp[@]}" \
      -in "$file" -out "$file.signing" 2>&1); then
    rm -f "$file.signing"
    echo "sign.sh: $file could not be signed: $(tail -n1 <<<"$said")" >&2
    exit 1
  fi
  mv "$file.signing" "$file"
done
