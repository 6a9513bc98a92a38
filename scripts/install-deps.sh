#!/usr/bin/env bash
# Installs the Debian 12 packages the builds and tests need; quick when they are present.
# Usage: scripts/install-deps.sh [linux] [windows] [bench] [package]
#        (linux and windows when none is named)
set -euo pipefail

want_linux=0 want_windows=0 want_bench=0 want_package=0
[ $# -eq 0 ] && set -- linux windows
for arg in "$@"; do
  case "$arg" in
    linux) want_linux=1 ;;
    windows) want_windows=1 ;;
    bench) want_bench=1 ;;
    package) want_package=1 ;;
    *) echo "install-deps: unknown part '$arg'" >&2; exit 2 ;;
  esac
done

packages=()
[ $want_linux -eq 1 ] && packages+=(cmake ninja-build g++ qt6-base-dev libxcb1-dev libgtest-dev fonts-liberation2
  clang libclang-rt-14-dev python3
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick clang-format i3lock
  libjpeg-turbo-progs time faketime tzdata python3-dbus python3-gi
  kwin-wayland mutter
  sway xwayland grim wtype qt6-wayland
  pkg-config libwayland-dev wayland-protocols plasma-wayland-protocols libxcb-screensaver0-dev libxcb-dpms0-dev dbus-daemon
  at-spi2-core python3-pyatspi orca speech-dispatcher)
[ $want_windows -eq 1 ] && packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix fonts-liberation2
  wine wine32:i386 wine64 xvfb xauth)

# Packages and what checks them, and the X11 screen-saver daemon the hack runs under.
[ $want_package -eq 1 ] && packages+=(dpkg-dev lintian desktop-file-utils libxml2-utils
  appstream xscreensaver zip nsis osslsigncode openssl)

# The benchmark measures a comparable program beside ours.
[ $want_bench -eq 1 ] && packages+=(x11-apps xvfb xauth xdotool x11-utils imagemagick procps)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

if [ $want_windows -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "install-deps: installing ${missing[*]}"

# A mirror caught mid-sync fails one index now and then: one more try, then the lists there are.
updated=0
for pause in 5 0; do
  if said=$($sudo apt-get update -qq 2>&1); then updated=1; break; fi
  [ "$pause" -gt 0 ] && sleep "$pause"
done
if [ $updated -eq 0 ]; then
  echo "install-deps: apt-get update failed, going on with the package lists there are:" \
    "$(grep -m1 '^E:' <<<"$said" || tail -n1 <<<"$said")"
fi

install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"; }
# Without the 32-bit Wine the 32-bit build's Wine tests skip, saying why; everything else is needed.
optional=(wine32:i386)
needed=() wanted=()
for p in "${missing[@]}"; do
  if [[ " ${optional[*]} " == *" $p "* ]]; then wanted+=("$p"); else needed+=("$p"); fi
done
if [ ${#needed[@]} -gt 0 ] && ! errors=$(install "${needed[@]}" 2>&1 >/dev/null); then
  # Which of them cannot be had: each is asked alone, so the message names it.
  failed=()
  for p in "${needed[@]}"; do
    install --simulate "$p" >/dev/null 2>&1 || failed+=("$p")
  done
  echo "install-deps: cannot install ${failed[*]:-${needed[*]}}" >&2
  grep '^E:' <<<"$errors" >&2 || true
  exit 1
fi
if [ ${#wanted[@]} -gt 0 ] && ! install "${wanted[@]}" >/dev/null 2>&1; then
  echo "install-deps: cannot install ${wanted[*]}: the tests that need it will say they skip"
fi
exit 0
