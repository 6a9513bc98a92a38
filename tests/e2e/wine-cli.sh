#!/usr/bin/env bash
# The real Windows program under Wine, 32 or 64 bits as built: what each command line leaves
# in the registry, the report for a bad stored type, the refusal beside a running instance,
# the preview bookkeeping, and the file's resources and imports. A probe in the same prefix
# starts the program as the display settings do, watches its windows and presses OK.
# Usage: tests/e2e/wine-cli.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scr=$build/moondial.scr
probe_exe=$build/tests/e2e/probe.exe
source "$here/wine-env.sh"

for file in "$scr" "$probe_exe"; do
  [ -f "$file" ] || { echo "wine-cli: $file is missing; build first" >&2; exit 2; }
done
arch=$(wine_arch_of "$scr")
[ "$(wine_arch_of "$probe_exe")" = "$arch" ] ||
  { echo "wine-cli: the probe and the program differ in bits" >&2; exit 2; }
case $arch in
  win32) objdump=i686-w64-mingw32-objdump ;;
  win64) objdump=x86_64-w64-mingw32-objdump ;;
esac

wine_env_start "$arch"
# A folder with a blank, so the program must honour the quotes around its own path.
install_dir="$WINEPREFIX/drive_c/Program Files/Quillon"
mkdir -p "$install_dir"
cp "$scr" "$install_dir/moondial.scr"
program='C:\Program Files\Quillon\moondial.scr'

passed=0 failed=0
check() { # check NAME COMMAND...   what the command prints shows only when it fails
  local name=$1 said; shift
  if said=$("$@"); then
    passed=$((passed + 1)); echo "ok   $name"
  else
    failed=$((failed + 1)); echo "FAIL $name"; [ -z "$said" ] || echo "$said"
  fi
}
# Says why a check failed, below its line, and fails: "condition || why TEXT... || return".
why() { printf '%s\n' "$@" | sed 's/^/       /'; return 1; }

# Wine's own start of the probe fails now and then on a fresh prefix ("Application could not be
# started ... ShellExecuteEx failed: Internal error"): nothing ran then, so it is started again.
probe() {
  local said status=0
  said=$(timeout 90 wine "$probe_exe" "$@") || status=$?
  if grep -q '^Application could not be started' <<<"$said"; then
    wineserver -w
    status=0
    said=$(timeout 90 wine "$probe_exe" "$@") || status=$?
  fi
  [ -z "$said" ] || printf '%s\n' "$said"
  return $status
}
# The settings key holds exactly the given "name=value" texts afterwards; none deletes it.
put() { probe store "$@" || echo "wine-cli: could not store $*" >&2; }
# Every stored value, one '"name"="value"' line each, sorted; "no key" when there is none.
values() { probe settings; }
# Starts the program with the probe's options and one argument text, and keeps what the
# probe saw in $seen. A program still running after the probe's time limit is ended by it.
start() { seen=$(probe run "$@") || true; }
seen_line() { grep -qx -- "$1" <<<"$seen"; }
no_seen_line() { ! grep -q -- "$1" <<<"$seen"; }

# The program ended by itself with exit code 0 and showed no window of any kind.
ended_without_window() {
  seen_line 'exit 0 after [0-9]* ms' || why "$seen" || return
  no_seen_line '^window\|^box' || why "$seen" || return
  # Every window made counts, shown or not, however briefly.
  seen_line 'created 0' || why "$seen"
}
# The key holds exactly these two values and nothing else.
stored() { # stored PREVIEW TYPE
  local expected actual
  expected=$(printf '"Preview"="%s"\n"Screen Saver Type"="%s"' "$1" "$2")
  actual=$(values)
  [ "$actual" = "$expected" ] || why "expected:" "$expected" "found:" "$actual"
}

stored_with_path() { # stored_with_path PREVIEW TYPE PATH
  local expected actual
  expected=$(printf '"Custom Graphic Path"="%s"\n"Preview"="%s"\n"Screen Saver Type"="%s"' "$3" "$1" "$2")
  actual=$(values)
  [ "$actual" = "$expected" ] || why "expected:" "$expected" "found:" "$actual"
}

# The report for "abc" as the stored type, escaped as the probe prints it.
report='  Program Name : \r\n\r\n   Routine Name : Public Sub CheckSettings\r\n\r\n'
report+='     Error Number : 13\r\n      Error Source : Moondial\r\n'
report+='Error Description : Type mismatch\r\n\r\n'
# Exactly one box with the report, pressed OK, then the program ended by itself.
reported_once() {
  grep -qxF -- "box \"$report\"" <<<"$seen" || why "$seen" || return
  seen_line 'answered 1' || why "$seen" || return
  no_seen_line '^window' || why "$seen" || return
  seen_line 'exit 0 after [0-9]* ms' || why "$seen" || return
  # The box's windows were counted, so "created 0" elsewhere is no blind spot of the probe.
  no_seen_line '^created 0$' || why "$seen"
}

# Unknown switches store the defaults they read, and nothing else.
for args in /a /x; do
  put
  start 30000 "$program" "$args"
  check "$args ends at once with no window" ended_without_window
  check "$args leaves only the two defaults" stored False 1
done

# A stored type that is no number stops every mode with one report; the preview mark stays.
for args in /s /c "/p 4711" "" /a; do
  put "Preview=True" "Screen Saver Type=abc"
  start --answer "CRITICAL ERROR" 30000 "$program" "$args"
  check "'$args' with type abc shows one CRITICAL ERROR and ends after OK" reported_once
  check "'$args' with type abc keeps the stored values" stored True abc
done

# Beside a running instance, after a start that was no preview: nothing happens at all.
put "Preview=False" "Screen Saver Type=abc"
start --hold-instance 30000 "$program" /s
check "/s beside a running instance ends at once with no window" ended_without_window
check "/s beside a running instance writes nothing" stored False abc
# After a preview start the running instance is that preview, which a real start replaces.
put "Preview=True" "Screen Saver Type=abc"
start --hold-instance --answer "CRITICAL ERROR" 30000 "$program" /s
check "/s beside a running preview goes on to read the type" reported_once

# Preview starts with a pane are recorded; the saver and setup modes record the opposite.
# 4711 names no window: the preview, loaded but never shown, ends rather than wait for a pane.
ended_showing_nothing() {
  seen_line 'exit 0 after [0-9]* ms' || why "$seen" || return
  no_seen_line '^window\|^box' || why "$seen"
}
for args in "/p 4711" "/p:4711"; do
  put "Preview=False" "Screen Saver Type=1"
  start 30000 "$program" "$args"
  check "'$args' (no such window) ends at once showing nothing" ended_showing_nothing
  check "'$args' records a preview start" stored True 1
done
put "Preview=False" "Screen Saver Type=1"
start 30000 "$program" /p
check "'/p' without a pane records nothing" stored False 1
# The saver runs until the user comes; the probe ends it after its time limit.
saver_window_stays() {
  seen_line 'window MoondialForm ""' || why "$seen" || return
  seen_line 'still running after [0-9]* ms' || why "$seen"
}
for args in /s /S; do
  put "Preview=True" "Screen Saver Type=1"
  start --stay 2000 30000 "$program" "$args"
  check "'$args' opens the saver window and stays" saver_window_stays
  check "'$args' records a start that is no preview" stored False 1
done
# The system's close request ends the saver, rather than leave it hidden and holding the mark
# that keeps every later start from showing; so does another program taking the activation.
ended_after() { # ended_after FACT: the probe did FACT and the program then ended by itself
  seen_line "$1" || why "$seen" || return
  seen_line 'exit 0 after [0-9]* ms' || why "$seen"
}
put "Preview=False" "Screen Saver Type=1"
start --close-after 1500 30000 "$program" /s
check "/s ends on the system's close request" ended_after closed
start --stay 2000 30000 "$program" /s
check "/s starts again after a close request" saver_window_stays
start --activate-after 1500 30000 "$program" /s
check "/s ends when another program's window takes the activation" ended_after activated
# Some launchers pass the path unquoted, blanks and all.
start --unquoted --stay 2000 30000 "$program" /s
check "/s with its path unquoted opens the saver" saver_window_stays

# The setup dialog stays until it is closed; the probe ends it after its time limit.
put "Preview=True" "Screen Saver Type=1"
start --stay 2000 30000 "$program" /c:4711
setup_window_stays() {
  seen_line 'window MoondialForm "Moondial - Setup"' || why "$seen" || return
  seen_line 'still running after [0-9]* ms' || why "$seen"
}
check "'/c:4711' opens the setup dialog and stays" setup_window_stays
check "'/c:4711' records a start that is no preview" stored_with_path False 1 N/A

# A custom picture that is missing or unreadable gets its own warning, then the saver ends.
warned_once() { # warned_once ESCAPED_TEXT
  grep -qxF -- "box \"$1\"" <<<"$seen" || why "$seen" || return
  seen_line 'answered 1' || why "$seen" || return
  seen_line 'exit 0 after [0-9]* ms' || why "$seen"
}
fix_it='\r\n\r\nGo into the screen saver settings to fix this.'
put "Preview=False" "Screen Saver Type=4" 'Custom Graphic Path=C:\nowhere\gone.bmp'
start --answer "Moondial - Custom Image Not Found" 30000 "$program" /s
check "a custom picture in a missing folder is reported as missing" \
  warned_once "Custom graphic image is missing.\\r\\n\\r\\nC:\\\\nowhere\\\\gone.bmp$fix_it"
printf 'no picture here' > "$WINEPREFIX/drive_c/broken.jpg"
put "Preview=False" "Screen Saver Type=4" 'Custom Graphic Path=C:\broken.jpg'
start --answer "Moondial - Custom Image Corrupt" 30000 "$program" /s
check "an unreadable custom picture is reported as corrupt" \
  warned_once "Custom graphic image is corrupt.\\r\\n\\r\\nC:\\\\broken.jpg$fix_it"

# A JPEG whose header claims 60000 x 60000 pixels: the codec would allocate them all when the
# frame is opened (out of memory; the 64-bit build crashed). Its own header tells it first.
python3 - "$WINEPREFIX/drive_c/huge.jpg" "$here/../data/lips.jpg" <<'PY'
import sys
sys.path.insert(0, __import__("os").path.join(__import__("os").path.dirname(sys.argv[2]), "..", "hostile"))
import make_corpus
data = open(sys.argv[2], "rb").read()
open(sys.argv[1], "wb").write(make_corpus.with_size(data, "jpg", 60000, 60000))
PY
put "Preview=False" "Screen Saver Type=4" 'Custom Graphic Path=C:\huge.jpg'
start --answer "Moondial - Custom Image Corrupt" 30000 "$program" /s
check "a custom picture claiming 60000 x 60000 pixels is reported as corrupt" \
  warned_once "Custom graphic image is corrupt.\\r\\n\\r\\nC:\\\\huge.jpg$fix_it"

# A JPEG with stray bytes between its segments, which every decoder skips, is a picture like
# any other: the saver shows it and stays, with no warning.
seeds=$here/../fuzz/seeds/picture_header
cp "$seeds/stray-bytes.jpg" "$WINEPREFIX/drive_c/stray.jpg"
put "Preview=False" "Screen Saver Type=4" 'Custom Graphic Path=C:\stray.jpg'
start --answer "Moondial - Custom Image Corrupt" --stay 2000 30000 "$program" /s
shows_without_warning() {
  saver_window_stays || return
  seen_line 'answered 0' || why "$seen"
}
check "a custom JPEG with stray bytes before its frame header shows" shows_without_warning

# The peak resident memory of this prefix's copy of the program, sampled while it runs, in MB;
# 0 if it ended before a sample. Started before the program; looks no longer than until FILE
# exists.
sample_peak() { # sample_peak FILE
  local pid="" first peak=0 key value _
  while [ -z "$pid" ] && [ ! -e "$1" ]; do
    for process in /proc/[0-9]*; do
      first=""
      { read -r -d '' first < "$process/cmdline"; } 2>/dev/null || true
      [[ $first == *moondial.scr ]] || continue
      grep -qaF "WINEPREFIX=$WINEPREFIX" "$process/environ" 2>/dev/null && pid=${process#/proc/}
    done
    [ -n "$pid" ] || sleep 0.02
  done
  while [ -n "$pid" ] && [ -r "/proc/$pid/status" ]; do
    { while read -r key value _; do
        [ "$key" = VmHWM: ] && [ "$value" -gt "$peak" ] && peak=$value
      done < "/proc/$pid/status"; } 2>/dev/null || true
  done
  echo $((peak / 1024))
}
# A frame header claiming 60000 x 60000 pixels behind FF 00, which is no segment, with a 1 x 1
# one in a comment where a scan that took FF 00 for a segment would land: the codec reads the
# large one (and the 64-bit build stalled trying to make room for it). Refused at once.
cp "$seeds/hidden-frame.jpg" "$WINEPREFIX/drive_c/hidden.jpg"
put "Preview=False" "Screen Saver Type=4" 'Custom Graphic Path=C:\hidden.jpg'
sample_peak "$wine_tmp/ended" > "$wine_tmp/peak" &
sampler=$!
start --answer "Moondial - Custom Image Corrupt" 30000 "$program" /s
touch "$wine_tmp/ended"
wait $sampler || true
refused_at_once() {
  warned_once "Custom graphic image is corrupt.\\r\\n\\r\\nC:\\\\hidden.jpg$fix_it" || return
  local took peak
  took=$(sed -n 's/^exit 0 after \([0-9]*\) ms$/\1/p' <<<"$seen")
  peak=$(cat "$wine_tmp/peak")
  echo "       ended after $took ms; peak memory ${peak} MB (sampled)" >&2
  [ "$took" -lt 8000 ] || why "too slow" || return
  [ "$peak" -lt 320 ] || why "too much memory"
}
check "a custom JPEG hiding a 60000 x 60000 frame behind FF 00 is refused at once" refused_at_once

# What the display settings and the file's properties show, read as the system reads them.
resources_are_right() {
  local actual expected
  actual=$(probe resources "$program") || why "$actual" || return
  expected=$(printf '%s\n' 'file-version 2.0.0.1' 'file-version-text "2.00.0001"' \
    'file-description (none)' 'company "Quillon" product "Moondial"' 'string-1 "Moondial"')
  [ "$(grep -v '^icon-1' <<<"$actual")" = "$expected" ] ||
    why "expected:" "$expected" "found:" "$actual" || return
  # Every image must be one the system can make an icon of.
  local icons
  icons=$(grep '^icon-1 ' <<<"$actual") || why "no icon group 1" || return
  { grep -qw 32x32 <<<"$icons" && grep -qw 16x16 <<<"$icons"; } ||
    why "icon group 1 lacks 32x32 or 16x16: $icons" || return
  ! grep -q unusable <<<"$icons" || why "$icons"
}
check "version block, name string and icon" resources_are_right

# Linked statically: nothing beyond DLLs that every Windows has.
system_dlls='kernel32|user32|gdi32|advapi32|version|msvcrt|comctl32|comdlg32|ole32|oleaut32'
system_dlls+='|shell32|shlwapi|uxtheme|windowscodecs|winmm|msimg32|imm32'
system_dlls_only() {
  local dlls others
  dlls=$("$objdump" -p "$scr" | awk '/DLL Name:/ { print $3 }')
  [ -n "$dlls" ] || why "no imports found" || return
  others=$(grep -viE "^($system_dlls)\.dll$" <<<"$dlls") || true
  [ -z "$others" ] || why "imports beyond the system:" $others
}
check "imports only system DLLs" system_dlls_only

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
