# Sourced: a headless sway compositor with two outputs, run by an ordinary user (desktop.sh),
# and its Xwayland, whose RandR monitors are the outputs.
# sway_start starts it, and sets SWAYSOCK and desktop_display (Xwayland's DISPLAY); as_user and
# session then run commands in its session.
# Outputs: HEADLESS-1 1280 x 720 at (0, 0), HEADLESS-2 1024 x 768 at (1280, 0).

source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

sway_start() {
  desktop_begin moondial-e2e
  cat > "$desktop_runtime/sway.conf" <<CONF
xwayland enable
output HEADLESS-1 resolution 1280x720 position 0,0
output HEADLESS-2 resolution 1024x768 position 1280,0
CONF
  as_user env WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$desktop_runtime/sway.conf" >"$desktop_runtime/sway.log" 2>&1 &
  desktop_pid=$!
  local socket=
  for _ in $(seq 300); do
    socket=$(ls "$desktop_runtime"/sway-ipc.*.sock 2>/dev/null | head -1 || true)
    [ -n "$socket" ] && break
    sleep 0.1
  done
  [ -n "$socket" ] || { echo "sway did not start:"; cat "$desktop_runtime/sway.log"; return 1; }
  # Its IPC socket and its Wayland display, once it runs (sway itself must be given neither).
  export SWAYSOCK=$socket
  desktop_env=(SWAYSOCK="$SWAYSOCK" WAYLAND_DISPLAY=wayland-1)
  as_user swaymsg exec "echo \$DISPLAY > $desktop_runtime/display" >/dev/null
  for _ in $(seq 300); do [ -s "$desktop_runtime/display" ] && break; sleep 0.1; done
  desktop_display=$(cat "$desktop_runtime/display")
  [ -n "$desktop_display" ] || { echo "no Xwayland display"; return 1; }
}
