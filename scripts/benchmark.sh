#!/usr/bin/env bash
# Measures Moondial (not a test): for each face, the preview and the idle setup dialog, the CPU
# seconds per minute of the program and of the X server, its wakeups per second (voluntary
# context switches of all its threads), its peak memory and the time from launch to its first
# frame; beside xclock, a minimal plain-Qt program doing the saver's work, the floor (one
# window moved every 30 ms and redrawn once a second by a plain Xlib program) and the same in
# plain xcb, below what any program using Xlib can reach (all three in bench/), and the Windows
# build under Wine; then the saver and both floors again at a scale of 2 on a 3840 x 2160
# screen (Xft.dpi 192), and the saver on one screen and on two.
# Runs in rounds, the programs alternating, and prints every round, the medians, Moondial's
# figures as ratios to the minimal Qt program's and to the floor, and each case beside its
# budget, saying plainly which is over: the median over the rounds of its ratio to its base (the
# floor; one screen for two), both measured side by side in alternating slices.
# Usage: scripts/benchmark.sh [SECONDS] [ROUNDS]   (default 60 s each, 3 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
rounds=${2:-3}

scripts/install-deps.sh linux windows bench
for preset in linux win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
cmake -S bench -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/bench >/dev/null
xtool=build/linux/tests/e2e/xtool

source tests/e2e/xvfb.sh
work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
# CPU time in nanoseconds, of every thread (the scheduler's own count: the clock ticks of
# /proc/PID/stat would be a tenth of a 20 s figure at the floor's rate).
cpu() {
  local t=0 p
  for p in "$@"; do
    t=$((t + $(cat /proc/"$p"/task/*/schedstat 2>/dev/null | awk '{s += $1} END{printf "%.0f", s}')))
  done
  echo $t
}
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/{s+=$2} END{print s+0}'; }
peak_mb() { awk '/VmHWM/{printf "%.1f", $2 / 1024}' "/proc/$1/status" 2>/dev/null || echo 0; }
per_minute() { awk -v t="$1" -v s="$seconds" 'BEGIN{printf "%.3f", t / 1e9 * 60 / s}'; }

results=$work/results # NAME ROUND CPU XCPU WAKEUPS PEAK FRAME
# measure NAME ROUND PROGRAM_PID_FINDER SERVER_PIDS... -- COMMAND...: launch, first frame, then a
# window of SECONDS after 5 s of settling.
measure() {
  local name=$1 round=$2; shift 2
  local servers=()
  while [ "$1" != -- ]; do servers+=("$1"); shift; done
  shift
  local start frame pid c0 c1 x0 x1 w0 w1
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  frame=n/a # no frame to wait for where nothing is drawn on the X server
  [ "${QT_QPA_PLATFORM%%:*}" = offscreen ] || frame=$(timeout 60 "$xtool" first-frame "$start" || echo n/a)
  sleep 5
  [ -z "${FIND_PID:-}" ] || pid=$($FIND_PID)
  c0=$(cpu "$pid"); x0=$(cpu "${servers[@]}"); w0=$(wakeups "$pid")
  sleep "$seconds"
  c1=$(cpu "$pid"); x1=$(cpu "${servers[@]}"); w1=$(wakeups "$pid")
  echo "$name $round $(per_minute $((c1 - c0))) $(per_minute $((x1 - x0))) $(((w1 - w0) / seconds)) $(peak_mb "$pid") $frame" >> "$results"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 1
}

export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Quillon" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
store() { printf '[General]\nScreen%%20Saver%%20Type=%s\n' "$1" > "$XDG_CONFIG_HOME/Quillon/Moondial.conf"; }

xvfb_start 1920x1080x24
# A first run of the floor, not counted: the X server's own start-up would go to whatever ran
# first.
measure warm-up 0 "$xvfb_pid" -- build/bench/minimal-xlib
for round in $(seq "$rounds"); do
  # The floor just before the faces and again just after: this machine's own pace drifts
  # within a run, and each face is judged against the floor of its own round.
  measure minimal-xlib "$round" "$xvfb_pid" -- build/bench/minimal-xlib
  for type in 1 2 3; do
    store "$type"
    measure "moondial-/s-type-$type" "$round" "$xvfb_pid" -- build/linux/moondial /s
  done
  measure minimal-xlib "$round" "$xvfb_pid" -- build/bench/minimal-xlib
  measure minimal-xcb "$round" "$xvfb_pid" -- build/bench/minimal-xcb
  measure minimal-qt "$round" "$xvfb_pid" -- build/bench/minimal-qt resources/clock.png
  measure xclock "$round" "$xvfb_pid" -- xclock -analog -update 1 -geometry 164x164+100+100
  coproc PANE { "$xtool" pane 152 112; }
  read -r pane <&"${PANE[0]}"
  store 1
  measure moondial-/p "$round" "$xvfb_pid" -- build/linux/moondial /p "$pane"
  echo quit >&"${PANE[1]}"; wait "$PANE_PID" 2>/dev/null || true
  measure moondial-/c-idle "$round" "$xvfb_pid" -- build/linux/moondial /c
done
xvfb_stop

# At 200%: the dial's 2x drawing on a 4K screen, beside the floors moving a window of its size.
xvfb_start 3840x2160x24
echo "Xft.dpi: 192" | xrdb -nocpp -merge
store 1
for round in $(seq "$rounds"); do
  measure "moondial-/s-type-1-at-2x" "$round" "$xvfb_pid" -- build/linux/moondial /s
  measure "minimal-xlib-at-2x" "$round" "$xvfb_pid" -- build/bench/minimal-xlib 2
  measure "minimal-xcb-at-2x" "$round" "$xvfb_pid" -- build/bench/minimal-xcb 2
done
xvfb_stop

# On one screen and on two (Qt's offscreen platform, no X server): the program's own CPU and
# wakeups, its windows' ticks sharing one wakeup.
for round in $(seq "$rounds"); do
  QT_QPA_PLATFORM=offscreen measure "moondial-/s-one-screen" "$round" -- build/linux/moondial /s
  QT_QPA_PLATFORM=offscreen:configfile=$(pwd)/tests/forms/two-screens.json \
    measure "moondial-/s-two-screens" "$round" -- build/linux/moondial /s
done

# Side by side, for the budgets: a case and its base run at once, each on an X server of its
# own (or none), and only one of them runs at a time, SIGSTOP holding the other, in slices of 2 s
# in the order case, base, base, case. This machine's pace drifts within a run by more than a
# budget's margin; here the drift falls on both alike, and neither runs beside the other.
paired=$work/paired # CASE BASE ROUND RATIO
# One slice: PID (and its SERVERS) let run for 2 s; the CPU they took.
slice() { # slice PID [SERVER]
  local c0 c1
  kill -CONT "$1"; c0=$(cpu "$@")
  sleep 2
  c1=$(cpu "$@"); kill -STOP "$1"
  echo $((c1 - c0))
}
side_by_side() { # side_by_side CASE BASE ROUND "CASE COMMAND" "BASE COMMAND" [SERVER] [SERVER]
  local name=$1 base=$2 round=$3 case_server=${6:-} base_server=${7:-}
  local case_pid base_pid cycle case_cpu=0 base_cpu=0
  $4 >/dev/null 2>&1 &
  case_pid=$!
  $5 >/dev/null 2>&1 &
  base_pid=$!
  sleep 5
  kill -STOP "$base_pid"
  for cycle in $(seq $((seconds / 4))); do
    case_cpu=$((case_cpu + $(slice "$case_pid" $case_server)))
    base_cpu=$((base_cpu + $(slice "$base_pid" $base_server)))
    base_cpu=$((base_cpu + $(slice "$base_pid" $base_server)))
    case_cpu=$((case_cpu + $(slice "$case_pid" $case_server)))
  done
  kill -CONT "$case_pid" "$base_pid"
  kill "$case_pid" "$base_pid" 2>/dev/null || true
  wait "$case_pid" "$base_pid" 2>/dev/null || true
  echo "$name $base $round $(awk -v c="$case_cpu" -v b="$base_cpu" 'BEGIN{print c / b}')" >> "$paired"
  sleep 1
}
# Two X servers of SIZE, side by side; other_pid and other_display name the first.
two_servers() {
  xvfb_start "$1"; other_pid=$xvfb_pid other_display=$DISPLAY
  [ -z "${2:-}" ] || echo "Xft.dpi: $2" | xrdb -nocpp -merge
  xvfb_start "$1"
  [ -z "${2:-}" ] || echo "Xft.dpi: $2" | xrdb -nocpp -merge
}
trap 'xvfb_stop; [ -z "${other_pid:-}" ] || kill "$other_pid" 2>/dev/null; rm -rf "$work"' EXIT
two_servers 1920x1080x24
for round in $(seq "$rounds"); do
  # Each round the other way round, so neither server is always the case's.
  if [ $((round % 2)) = 1 ]; then a=$DISPLAY ax=$xvfb_pid b=$other_display bx=$other_pid
  else a=$other_display ax=$other_pid b=$DISPLAY bx=$xvfb_pid; fi
  for type in 1 2; do
    store "$type"
    side_by_side "moondial-/s-type-$type" minimal-xlib "$round" "env DISPLAY=$a build/linux/moondial /s" \
      "env DISPLAY=$b build/bench/minimal-xlib" "$ax" "$bx"
  done
done
xvfb_stop; kill "$other_pid"; other_pid=
two_servers 3840x2160x24 192
store 1
for round in $(seq "$rounds"); do
  if [ $((round % 2)) = 1 ]; then a=$DISPLAY ax=$xvfb_pid b=$other_display bx=$other_pid
  else a=$other_display ax=$other_pid b=$DISPLAY bx=$xvfb_pid; fi
  side_by_side moondial-/s-type-1-at-2x minimal-xlib-at-2x "$round" \
    "env DISPLAY=$a build/linux/moondial /s" "env DISPLAY=$b build/bench/minimal-xlib 2" "$ax" "$bx"
done
xvfb_stop; kill "$other_pid"; other_pid=
# Two savers at once: each keeps its own single-instance mark.
mkdir -p "$work/runtime-2" && chmod 700 "$work/runtime-2"
for round in $(seq "$rounds"); do
  side_by_side moondial-/s-two-screens moondial-/s-one-screen "$round" \
    "env XDG_RUNTIME_DIR=$work/runtime-2 QT_QPA_PLATFORM=offscreen:configfile=tests/forms/two-screens.json build/linux/moondial /s" \
    "env QT_QPA_PLATFORM=offscreen build/linux/moondial /s"
done

# The Windows build under Wine, in its virtual desktop; the X server and wineserver count.
# The 32-bit build, or the 64-bit one on a machine that runs no 32-bit program.
source tests/e2e/wine-env.sh
windows=win32
wine_runs_32_bit || windows=win64
wine_env_start $windows
wine reg add 'HKCU\Software\Quillon\Moondial' /v 'Screen Saver Type' /d 1 /f >/dev/null 2>&1
wineserver -w
wine "$(pwd)/build/$windows/tests/e2e/probe.exe" pane 10 10 "Z:$work/desktop-up" >/dev/null 2>&1 &
sleep 3; touch "$work/desktop-up"; sleep 1
for round in $(seq "$rounds"); do
  FIND_PID='pgrep -f -n moondial.scr' \
    measure "moondial.scr-/s-type-1" "$round" "$xvfb_pid" $(pgrep -x wineserver || pgrep wineserver) \
    -- wine build/$windows/moondial.scr /s
done
wine_env_stop

printf '\nEvery round (CPU s/min of the program, of the X server or wineserver and X; wakeups/s; peak MB; first frame ms):\n'
sort "$results" | column -t
printf '\nMedians:\n'
printf '%-24s %10s %10s %10s %9s %9s %9s\n' program "CPU" "+server" "total" wakeups "peak MB" "frame ms"
median() { sort -n | awk '{v[NR]=$1} END{print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
sed -i '/^warm-up /d' "$results"
names=$(awk '{print $1}' "$results" | sort -u)
for name in $names; do
  c=$(awk -v n="$name" '$1 == n {print $3}' "$results" | median)
  x=$(awk -v n="$name" '$1 == n {print $4}' "$results" | median)
  t=$(awk -v n="$name" '$1 == n {print $3 + $4}' "$results" | median)
  w=$(awk -v n="$name" '$1 == n {print $5}' "$results" | median)
  m=$(awk -v n="$name" '$1 == n {print $6}' "$results" | median)
  f=$(awk -v n="$name" '$1 == n {print $7}' "$results" | median)
  printf '%-24s %10s %10s %10s %9s %9s %9s\n' "$name" "$c" "$x" "$t" "$w" "$m" "$f"
  echo "$name $c $x $t $w $m $f" >> "$work/medians"
done
printf '\nAs ratios to the minimal Qt program (CPU with the X server, wakeups, peak memory), and\n'
printf 'CPU with the X server as a ratio to the floor (plain Xlib) and to plain xcb:\n'
read -r _ _ _ qt_total qt_wakeups qt_peak _ < <(grep '^minimal-qt ' "$work/medians")
read -r _ _ _ floor_total _ < <(grep '^minimal-xlib ' "$work/medians")
read -r _ _ _ xcb_total _ < <(grep '^minimal-xcb ' "$work/medians")
printf '%-24s %6s %6s %6s %8s %8s\n' program CPU wakeup memory "CPU/Xlib" "CPU/xcb"
grep '^moondial' "$work/medians" | grep -v -- '-at-2x ' | while read -r name _ _ total wake peak _; do
  awk -v n="$name" -v t="$total" -v w="$wake" -v m="$peak" -v qt="$qt_total" -v qw="$qt_wakeups" \
      -v qm="$qt_peak" -v f="$floor_total" -v x="$xcb_total" \
      'BEGIN{printf "%-24s %6.2f %6.2f %6.2f %8.2f %8.2f\n", n, t / qt, w / qw, m / qm, t / f, t / x}'
done
read -r _ _ _ scaled_total _ < <(grep '^moondial-/s-type-1-at-2x ' "$work/medians")
read -r _ _ _ scaled_floor _ < <(grep '^minimal-xlib-at-2x ' "$work/medians")
awk -v t="$scaled_total" -v f="$scaled_floor" \
  'BEGIN{printf "\nAt a scale of 2 on 3840 x 2160, CPU with the X server as a ratio to the floor: %.2f\n", t / f}'
read -r _ one _ _ one_wakeups _ < <(grep '^moondial-/s-one-screen ' "$work/medians")
read -r _ two _ _ two_wakeups _ < <(grep '^moondial-/s-two-screens ' "$work/medians")
awk -v c1="$one" -v c2="$two" -v w1="$one_wakeups" -v w2="$two_wakeups" \
  'BEGIN{printf "Two screens against one: CPU %.2f, wakeups %.2f\n", c2 / c1, w2 / w1}'

# Each case beside its budget, against its base measured side by side in this same run: a change
# that adds cost to a tick shows here, in the run that made it.
printf '\nBudgets:\n'
over=0
budget() { # budget CASE VALUE LIMIT UNIT
  local verdict
  verdict=$(awk -v v="$2" -v l="$3" 'BEGIN{print (v <= l) ? "within" : "OVER BUDGET"}')
  printf '%-50s %6.2f %-2s (budget %s)  %s\n' "$1" "$2" "$4" "$3" "$verdict"
  [ "$verdict" = within ] || over=$((over + 1))
}
# Each round's CPU (with the X server) of CASE against the mean of BASE's in the same round, in
# the order of the rounds, one measured after the other.
per_round() { # per_round CASE BASE
  awk -v c="$1" -v b="$2" '$1 == c {t[$2] = $3 + $4} $1 == b {s[$2] += $3 + $4; n[$2]++}
    END {for (r = 1; r in t; r++) if (n[r]) print t[r] / (s[r] / n[r])}' "$results"
}
# The same measured side by side, in alternating slices.
side_round() { awk -v c="$1" -v b="$2" '$1 == c && $2 == b {print $4}' "$paired"; }
rounds_line() { # rounds_line CASE BASE HOW: each round, then their median
  printf '  %-26s against %-24s' "$1" "$2"
  "$3" "$1" "$2" | awk '{printf " %.2f", $1} END {printf "   median "}'
  "$3" "$1" "$2" | median | awk '{printf "%.2f\n", $1}'
}
read -r _ _ _ _ _ analog_peak _ < <(grep '^moondial-/s-type-1 ' "$work/medians")
printf 'CPU with the X server against its base, each round, one after the other:\n'
cases=(moondial-/s-type-1:minimal-xlib moondial-/s-type-2:minimal-xlib
  moondial-/s-type-1-at-2x:minimal-xlib-at-2x moondial-/s-two-screens:moondial-/s-one-screen
  moondial-/s-type-1:minimal-xcb moondial-/s-type-2:minimal-xcb
  moondial-/s-type-1-at-2x:minimal-xcb-at-2x)
for pair in "${cases[@]}"; do rounds_line "${pair%%:*}" "${pair#*:}" per_round; done
printf 'The same side by side, in alternating slices (what the budgets judge):\n'
for pair in "${cases[@]:0:4}"; do rounds_line "${pair%%:*}" "${pair#*:}" side_round; done
judged() { side_round "$@" | median; }
budget "analog clock, CPU with X as a ratio to the floor" "$(judged moondial-/s-type-1 minimal-xlib)" 1.15 x
budget "lips clock, CPU with X as a ratio to the floor" "$(judged moondial-/s-type-2 minimal-xlib)" 1.30 x
budget "analog clock at 2x on 3840 x 2160, to its floor" \
  "$(judged moondial-/s-type-1-at-2x minimal-xlib-at-2x)" 1.15 x
budget "two screens against one, CPU" \
  "$(judged moondial-/s-two-screens moondial-/s-one-screen)" 1.30 x
budget "analog clock, peak memory" "$analog_peak" 26 MB
[ $over = 0 ] && echo "Every case within its budget." || echo "$over case(s) over budget."
