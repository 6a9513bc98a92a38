#!/usr/bin/env bash
# scripts/install-deps.sh against stand-ins for apt-get and dpkg-query (nothing installed): a
# mirror caught mid-sync, whose update fails one index twice, is tried again and then passed
# over; a package that cannot be installed fails the script, named.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/checks.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/bin"

# The stand-ins log every call (dpkg's too: no architecture is added to this machine);
# APT_UPDATE_FAILS and APT_UNINSTALLABLE say what goes wrong.
cat >"$tmp/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$LOG"
case "$1" in
  update)
    [ "${APT_UPDATE_FAILS:-0}" = 1 ] || exit 0
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install)
    for p in "$@"; do
      if [ "$p" = "${APT_UNINSTALLABLE:-}" ]; then
        echo "E: Package '$p' has no installation candidate" >&2; exit 100
      fi
    done ;;
esac
STANDIN
printf '#!/bin/sh\nexit 1\n' >"$tmp/bin/dpkg-query"
printf '#!/bin/sh\necho "dpkg $*" >>"$LOG"\n' >"$tmp/bin/dpkg"
printf '#!/bin/sh\necho "sleep $*" >>"$LOG"\n' >"$tmp/bin/sleep"
printf '#!/bin/sh\nexec "$@"\n' >"$tmp/bin/sudo"
chmod +x "$tmp/bin/"*

install_deps() { # LOG FILE, then what the script is told
  local log=$1; shift
  LOG=$log PATH="$tmp/bin:$PATH" "$here/../../scripts/install-deps.sh" "$@" >"$log.out" 2>&1
}

goes_on_past_a_failed_update() {
  local log=$tmp/mid-sync status=0
  APT_UPDATE_FAILS=1 install_deps "$log" linux || status=$?
  [ $status = 0 ] || why "exit $status" "$(cat "$log.out")" || return
  [ "$(grep -c '^apt-get update' "$log")" = 2 ] || why "updates: $(grep -c update "$log")" || return
  [ "$(sed -n 2p "$log")" = "sleep 5" ] || why "no pause before the second try: $(cat "$log")" || return
  grep -q '^apt-get install .* qt6-base-dev' "$log" || why "nothing installed: $(cat "$log")" || return
  # One line says what failed.
  grep -q '^install-deps: apt-get update failed, .*Mirror sync in progress' "$log.out" ||
    why "$(cat "$log.out")"
}
check "a failed update is tried again after a pause, then passed over; the packages install" \
  goes_on_past_a_failed_update

names_what_cannot_be_installed() {
  local log=$tmp/missing status=0
  APT_UNINSTALLABLE=xauth install_deps "$log" linux || status=$?
  [ $status != 0 ] || why "exit 0" "$(cat "$log.out")" || return
  grep -q '^install-deps: cannot install xauth$' "$log.out" || why "$(cat "$log.out")"
}
check "a package that cannot be installed fails the script, which names it" \
  names_what_cannot_be_installed

tolerates_no_32_bit_wine() {
  local log=$tmp/no-wine32 status=0
  APT_UNINSTALLABLE=wine32:i386 install_deps "$log" windows || status=$?
  [ $status = 0 ] || why "exit $status" "$(cat "$log.out")" || return
  grep -q '^apt-get install .* wine64' "$log" || why "$(cat "$log")" || return
  grep -q 'cannot install wine32:i386: the tests that need it will say they skip' "$log.out" ||
    why "$(cat "$log.out")"
}
check "without the 32-bit Wine the rest installs, and the script says the tests will skip" \
  tolerates_no_32_bit_wine

checks_done
