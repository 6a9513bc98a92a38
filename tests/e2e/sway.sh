# Sourced: a headless sway compositor with two outputs, run by an ordinary user (sway refuses
# root), and its Xwayland, whose RandR monitors are the outputs.
# sway_start sets sway_user, sway_runtime (the user's runtime folder), SWAYSOCK, sway_display
# (Xwayland's DISPLAY) and cleans everything up when the shell exits. as_user COMMAND... runs a
# command as that user in that session; session COMMAND... runs it as the Wayland session starts
# a program, with the settings folder sway_config (the analog clock chosen).
# Outputs: HEADLESS-1 1280 x 720 at (0, 0), HEADLESS-2 1024 x 768 at (1280, 0).

sway_user=moondial-e2e

as_user() {
  local session=()
  # Once sway runs: its IPC socket and its Wayland display (sway itself must be given neither).
  [ -z "${SWAYSOCK:-}" ] || session=(SWAYSOCK="$SWAYSOCK" WAYLAND_DISPLAY=wayland-1)
  runuser -u "$sway_user" -- env XDG_RUNTIME_DIR="$sway_runtime" HOME="/home/$sway_user" \
    "${session[@]}" "$@"
}

sway_start() {
  id -u "$sway_user" >/dev/null 2>&1 || useradd -m "$sway_user"
  unset SWAYSOCK
  sway_runtime=$(mktemp -d)
  chown "$sway_user" "$sway_runtime"
  chmod 700 "$sway_runtime"
  cat > "$sway_runtime/sway.conf" <<CONF
xwayland enable
output HEADLESS-1 resolution 1280x720 position 0,0
output HEADLESS-2 resolution 1024x768 position 1280,0
CONF
  as_user env WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$sway_runtime/sway.conf" >"$sway_runtime/sway.log" 2>&1 &
  sway_pid=$!
  trap sway_stop EXIT
  local socket=
  for _ in $(seq 300); do
    socket=$(ls "$sway_runtime"/sway-ipc.*.sock 2>/dev/null | head -1 || true)
    [ -n "$socket" ] && break
    sleep 0.1
  done
  [ -n "$socket" ] || { echo "sway did not start:"; cat "$sway_runtime/sway.log"; return 1; }
  export SWAYSOCK=$socket
  as_user swaymsg exec "echo \$DISPLAY > $sway_runtime/display" >/dev/null
  for _ in $(seq 300); do [ -s "$sway_runtime/display" ] && break; sleep 0.1; done
  sway_display=$(cat "$sway_runtime/display")
  [ -n "$sway_display" ] || { echo "no Xwayland display"; return 1; }
  sway_config=$sway_runtime/config
  mkdir -p "$sway_config/Quillon"
  printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$sway_config/Quillon/Moondial.conf"
  chown -R "$sway_user" "$sway_config"
}

# Both displays named and the session's kind told, as a Wayland session starts a program.
session() {
  as_user env DISPLAY="$sway_display" XDG_SESSION_TYPE=wayland XDG_CONFIG_HOME="$sway_config" "$@"
}

sway_stop() {
  [ -z "${sway_pid:-}" ] || kill "$sway_pid" 2>/dev/null || true
  pkill -u "$sway_user" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$sway_runtime"
}
