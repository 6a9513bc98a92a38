# Sourced: a fresh Wine prefix with a virtual desktop on an Xvfb display of its own.
# wine_env_start [ARCH] sets WINEPREFIX and DISPLAY and cleans both up when the shell exits.
# ARCH is win32 (the default) or win64; wine_arch_of PROGRAM tells which one a program needs.
# WINE_DESKTOP=WIDTHxHEIGHT sizes the desktop (1024x768 unless set); WINE_PREFIX_TEMPLATES, below.

wine_arch_of() {
  # The machine field of the PE header, whose offset sits at 0x3c.
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
  case $machine in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) echo "wine_arch_of: $1 is no 32-bit or 64-bit x86 program" >&2; return 1 ;;
  esac
}

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

# Some machines' kernels run no 32-bit program (a virtual machine without IA-32 emulation), and
# so not Wine's 32-bit loader, which Debian's wine command picks first; on others the 32-bit
# Wine could not be installed (a package mirror caught mid-sync). There a 64-bit prefix runs on
# the 64-bit loader, and whatever needs 32 bits is skipped (exit 77), saying why.
wine_skipped=77
wine_no_32_bit_reason() { # nothing where 32-bit programs run under Wine
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "the 32-bit Wine (wine32:i386) is not installed"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine's kernel runs no 32-bit program"
  fi
}
wine_runs_32_bit() { [ -z "$(wine_no_32_bit_reason)" ]; }
wine_need_32_bit() { # ends the script as skipped where no 32-bit program runs
  wine_runs_32_bit && return 0
  echo "SKIPPED: $(wine_no_32_bit_reason), so Wine cannot run $1"
  exit $wine_skipped
}
wine_use_64_bit_loader() { # DIR: wine, and what Wine's own commands start, on the 64-bit loader
  mkdir -p "$1"
  for name in wine wine-stable; do
    printf '#!/bin/sh
exec /usr/lib/wine/wine64 "$@"
' > "$1/$name"
    chmod +x "$1/$name"
  done
  export PATH="$1:$PATH" WINELOADER=/usr/lib/wine/wine64
}

# A new prefix: booted, then given the virtual desktop of the size asked for.
wine_boot_prefix() { # DESKTOP
  wineboot -i >/dev/null 2>&1
  # Without a virtual desktop, hiding a top-level window stalls on a bare X server.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
  # The desktop applies from the next wineserver. Stopping this one saves the registry as
  # waiting for it does, without the 5 s it lingers.
  wineserver -k
}

# With WINE_PREFIX_TEMPLATES=DIR a prefix is booted once per kind (architecture and desktop)
# into DIR, and each script gets a fresh copy of it: the same prefix as a boot gives, in a
# second instead of many. The programs Wine put there are linked, not copied (nothing writes
# to them); every other file is the copy's own.
wine_copy_template() { # ARCH DESKTOP
  local template=$WINE_PREFIX_TEMPLATES/$1-$2
  if [ ! -f "$template/system.reg" ]; then
    mkdir -p "$WINE_PREFIX_TEMPLATES"
    local making; making=$(mktemp -d "$WINE_PREFIX_TEMPLATES/making.XXXXXX")
    WINEPREFIX=$making/prefix wine_boot_prefix "$2"
    # Another script may have made it meanwhile: the first one made is kept.
    mv -T "$making/prefix" "$template" 2>/dev/null || true
    rm -rf "$making"
  fi
  if cp -a --link "$template" "$WINEPREFIX" 2>/dev/null; then
    find "$WINEPREFIX" -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.sys' ! -iname '*.drv' \
      ! -iname '*.ocx' ! -iname '*.cpl' ! -iname '*.acm' ! -iname '*.tlb' ! -iname '*.nls' \
      -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done' sh {} +
  else # on another file system
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
  fi
}

wine_env_start() {
  local keep=${WINE_KEEP_PREFIX:-}
  [ "${1:-win32}" = win64 ] || wine_need_32_bit "the 32-bit build"
  wine_tmp=$(mktemp -d)
  wine_runs_32_bit || wine_use_64_bit_loader "$wine_tmp/bin"
  export WINEPREFIX=${keep:-$wine_tmp/prefix}
  export WINEARCH=${1:-win32} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  local desktop=${WINE_DESKTOP:-1024x768}
  xvfb_start "${desktop}x24"
  trap wine_env_stop EXIT
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    if [ -n "${WINE_PREFIX_TEMPLATES:-}" ]; then
      wine_copy_template "$WINEARCH" "$desktop"
    else
      wine_boot_prefix "$desktop"
    fi
  fi
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  xvfb_stop
  rm -rf "$wine_tmp"
}
