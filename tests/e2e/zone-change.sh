#!/usr/bin/env bash
# Runs a test program where the machine's time zone is a file the test may rewrite while it
# runs, as a user's change of zone does: in a mount namespace of its own, /etc/localtime is a
# copy of UTC's zone, and nothing outside sees it change. MOONDIAL_TEST_ZONE names that file and
# MOONDIAL_TEST_NEXT_ZONE India's zone; with --windows both as a Windows program under Wine sees
# them (drive Z:). Where no namespace can be had, the program runs without them and the test
# of the change skips.
# Usage: tests/e2e/zone-change.sh [--windows] COMMAND...
set -euo pipefail
drive=""
[ "${1:-}" = --windows ] && { drive=Z:; shift; }
if [ -z "${MOONDIAL_ZONE_NAMESPACE:-}" ]; then
  if [ -e /etc/localtime ] && [ -f /usr/share/zoneinfo/Asia/Kolkata ] &&
     unshare --mount --propagation private true 2>/dev/null; then
    args=("$@")
    [ -z "$drive" ] || args=(--windows "${args[@]}")
    exec env MOONDIAL_ZONE_NAMESPACE=1 unshare --mount --propagation private "$0" "${args[@]}"
  fi
  echo "zone-change: no mount namespace or zone files here: the change of zone is not tested"
  exec "$@"
fi

zones=$(mktemp -d)
trap 'rm -rf "$zones"' EXIT
cp /usr/share/zoneinfo/Etc/UTC "$zones/localtime"
mount --bind "$zones/localtime" /etc/localtime
unset TZ # glibc, and Wine through it, read /etc/localtime only without TZ
status=0
MOONDIAL_TEST_ZONE=$drive$zones/localtime MOONDIAL_TEST_NEXT_ZONE=$drive/usr/share/zoneinfo/Asia/Kolkata \
  "$@" || status=$?
exit $status
