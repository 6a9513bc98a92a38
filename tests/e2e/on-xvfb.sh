#!/usr/bin/env bash
# Runs a command on an X server of its own, Qt on its xcb platform: forms whose pictures live
# on the X server as they do in a session.
#   on-xvfb.sh COMMAND [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
trap xvfb_stop EXIT
xvfb_start 1024x768x24
QT_QPA_PLATFORM=xcb "$@"
