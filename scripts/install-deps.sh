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
  libjpeg-turbo-progs time python3-dbus python3-gi
  kwin-wayland mutter
  sway xwayland grim wtype qt6-wayland
  pkg-config libwayland-dev wayland-protocols plasma-wayland-protocols libxcb-screensaver0-dev dbus-daemon
  at-spi2-core python3-pyatspi)
[ $want_windows -eq 1 ] && packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix fonts-liberation2
  wine wine32:i386 wine64 xvfb xauth)

# Packages and what checks them, and the X11 screen-saver daemon the hack runs under.
[ $want_package -eq 1 ] && packages+=(dpkg-dev lintian desktop-file-utils libxml2-utils
  appstream xscreensaver zip nsis)

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
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
