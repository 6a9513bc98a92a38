# Sourced: a session bus of the test's own, with the accessibility bus on it, for a program that
# a screen reader reads. atspi_bus_start WORK starts them (their files in WORK) and waits for the
# registry, which starts with the first call: a program started before it never shows in the
# tree. atspi_bus_stop ends them.

atspi_bus_pid= atspi_launcher=
atspi_bus_start() {
  dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$1/bus" 4>"$1/bus.pid"
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$1/bus")
  atspi_bus_pid=$(head -n 1 "$1/bus.pid")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  atspi_launcher=$!
  registry_up() { timeout 20 "$(dirname "${BASH_SOURCE[0]}")/atspi-tree.py" ping >/dev/null 2>&1; }
  until_true 60 registry_up || { echo "FAIL no AT-SPI registry"; exit 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
atspi_bus_stop() {
  for pid in $atspi_launcher $atspi_bus_pid; do kill "$pid" 2>/dev/null || true; done
}
