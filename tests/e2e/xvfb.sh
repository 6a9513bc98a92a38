# Sourced: an Xvfb display of its own for this shell. xvfb_start sets DISPLAY; the display is
# stopped when the shell exits (xvfb_stop, also callable by an EXIT trap of the caller).

xvfb_start() {
  local size=${1:-1024x768x24}
  # Xvfb picks a free display number and writes it to the pipe.
  exec {xvfb_fd}<> <(:)
  # -noreset: what a test sets on the server (resources such as Xft.dpi) outlives its clients.
  Xvfb -displayfd "$xvfb_fd" -screen 0 "$size" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 20 number <&"$xvfb_fd"
  export DISPLAY=":$number"
}

xvfb_stop() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  return 0
}
