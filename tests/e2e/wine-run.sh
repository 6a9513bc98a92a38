#!/usr/bin/env bash
# Runs a Windows program under Wine in a fresh prefix with an X display of its own, and
# exits with the program's exit code.
# Usage: tests/e2e/wine-run.sh PROGRAM [ARGS...]
# With WINE_KEEP_PREFIX=DIR the prefix is made (once) in DIR and kept, for scripts that look at
# the registry afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

wine_env_start "$(wine_arch_of "$1")"
rc=0
wine "$@" || rc=$?
# Saves the registry as waiting for the server does, without the seconds it lingers.
wineserver -k
exit $rc
