#!/usr/bin/env bash
# The Linux package and the files it carries: the hack's description has the shape of those
# Debian's XScreenSaver ships, the desktop entries are valid, and lintian finds no error in the
# .deb, whose dependencies dpkg-shlibdeps gave.
# Usage: tests/e2e/linux-package.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0 failed=0
check() { # check NAME COMMAND...   what the command prints shows only when it fails
  local name=$1 said; shift
  if said=$("$@" 2>&1); then passed=$((passed + 1)); echo "ok   $name"
  else failed=$((failed + 1)); echo "FAIL $name"; [ -z "$said" ] || echo "$said" | sed 's/^/       /'; fi
}

xml=$top/resources/linux/moondial.xml
check "the hack's description is well-formed XML" xmllint --noout "$xml"
shape() { # a screensaver root with name and _label, a command, and options carrying arg
  [ "$(xmllint --xpath 'string(/screensaver/@name)' "$xml")" = moondial ] &&
    [ "$(xmllint --xpath 'string(/screensaver/@_label)' "$xml")" = Moondial ] &&
    [ "$(xmllint --xpath 'string(/screensaver/command/@arg)' "$xml")" = --root ] &&
    [ "$(xmllint --xpath 'count(/screensaver/select/option[@arg-set])' "$xml")" -ge 4 ] &&
    [ "$(xmllint --xpath 'string(/screensaver/file/@arg)' "$xml")" = "--picture %" ] &&
    [ -n "$(xmllint --xpath 'string(/screensaver/_description)' "$xml")" ]
}
check "it has the shape of XScreenSaver's own descriptions" shape
for entry in "$top"/resources/linux/*.desktop; do
  check "$(basename "$entry") passes desktop-file-validate" desktop-file-validate "$entry"
done

metainfo=$top/resources/linux/example.quillon.moondial.metainfo.xml
check "the software centres' description passes appstreamcli validate" \
  appstreamcli validate --no-net "$metainfo"
launches_settings() { # its launchable is the settings entry, under the name it is installed by
  [ "$(xmllint --xpath 'string(/component/launchable[@type="desktop-id"])' "$metainfo")" = moondial.desktop ] &&
    grep -qx 'Exec=moondial /c' "$top/resources/linux/moondial-settings.desktop" &&
    [ "$(xmllint --xpath 'string(/component/releases/release[1]/@version)' "$metainfo")" = 2.0.1 ]
}
check "it launches the settings entry, release 2.0.1" launches_settings

(cd "$build" && cpack -B "$work" >/dev/null)
deb=$(ls "$work"/moondial_*.deb)
no_lintian_error() {
  local said
  said=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
  ! grep -q '^E:' <<<"$said" || { echo "$said"; return 1; }
}
check "lintian finds no error in the .deb" no_lintian_error
depends_from_shlibdeps() {
  local depends; depends=$(dpkg-deb -f "$deb" Depends)
  grep -q 'libqt6widgets6' <<<"$depends" && grep -q 'libc6' <<<"$depends" &&
    grep -q 'libxcb-dpms0' <<<"$depends" && grep -q 'qt6-wayland' <<<"$depends" || { echo "Depends: $depends"; return 1; }
}
check "its dependencies are the libraries the program links and Qt's Wayland platform" \
  depends_from_shlibdeps
carries() {
  local contents; contents=$(dpkg-deb -c "$deb")
  for path in ./usr/bin/moondial ./usr/libexec/xscreensaver/moondial \
      ./usr/share/xscreensaver/config/moondial.xml \
      ./usr/share/applications/screensavers/moondial.desktop \
      ./usr/share/applications/moondial.desktop ./usr/share/man/man6/moondial.6.gz \
      ./usr/share/metainfo/example.quillon.moondial.metainfo.xml \
      ./usr/lib/systemd/user/moondial-idle.service \
      ./usr/share/icons/hicolor/16x16/apps/moondial.png \
      ./usr/share/icons/hicolor/256x256/apps/moondial.png; do
    grep -q " $path\( ->\|$\)" <<<"$contents" || { echo "no $path"; return 1; }
  done
}
check "the .deb carries the program, the hack, its files, icons, manual, metainfo and service" carries
# The watcher's service is the user's to enable: nothing in the package does it.
service_not_enabled() {
  dpkg-deb -c "$deb" | grep -q '\.wants/' && { echo "a .wants link"; return 1; }
  dpkg-deb -e "$deb" "$work/control" && ! grep -rqs systemctl "$work/control" ||
    { echo "a maintainer script enables it"; return 1; }
  grep -qx 'ExecStart=moondial --idle 10' "$top/resources/linux/moondial-idle.service"
}
check "the idle service runs the watcher and is not enabled by the package" service_not_enabled

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
