# Sourced: a headless desktop session run by an ordinary user of the test's own (sway refuses
# root, and a compositor's sockets live in its user's runtime folder).
# desktop_begin USER makes the user, desktop_runtime (its runtime folder, mode 700) and
# desktop_config (the settings folder, the analog clock chosen), and ends the session when the
# shell exits: desktop_pid (the compositor, once started) first, then every process of the user.
# desktop_bus gives the session a bus of its own. as_user COMMAND... runs a command as the user
# with the session's variables (desktop_env, filled in as the session comes up); session
# COMMAND... runs it as the session starts a program, with desktop_display (Xwayland's) too.
# Each script has a user of its own, so scripts run side by side never end each other's
# processes.

desktop_env=()

as_user() {
  runuser -u "$desktop_user" -- env XDG_RUNTIME_DIR="$desktop_runtime" \
    HOME="/home/$desktop_user" "${desktop_env[@]}" "$@"
}

desktop_begin() {
  desktop_user=$1
  id -u "$desktop_user" >/dev/null 2>&1 || useradd -m "$desktop_user"
  desktop_runtime=$(mktemp -d)
  chown "$desktop_user" "$desktop_runtime"
  chmod 700 "$desktop_runtime"
  trap desktop_end EXIT
  desktop_config=$desktop_runtime/config
  mkdir -p "$desktop_config/Quillon"
  printf '[General]\nScreen%%20Saver%%20Type=1\n' > "$desktop_config/Quillon/Moondial.conf"
  chown -R "$desktop_user" "$desktop_config"
  # Xwayland's sockets; a fresh machine may not have the folder yet.
  mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
}

desktop_bus() {
  as_user dbus-daemon --session --fork --address="unix:path=$desktop_runtime/bus"
  desktop_env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$desktop_runtime/bus")
}

# Both displays named and the session's kind told, as a Wayland session starts a program.
session() {
  local display=()
  [ -z "${desktop_display:-}" ] || display=(DISPLAY="$desktop_display")
  as_user env "${display[@]}" XDG_SESSION_TYPE=wayland XDG_CONFIG_HOME="$desktop_config" "$@"
}

desktop_end() {
  [ -z "${desktop_pid:-}" ] || kill "$desktop_pid" 2>/dev/null || true
  pkill -u "$desktop_user" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$desktop_runtime"
}
