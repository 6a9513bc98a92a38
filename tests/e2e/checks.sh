# Sourced: the end-to-end scripts' checks. check NAME COMMAND... runs a check and counts it; what
# the command prints shows only when it fails. why LINES... says why, indented, and fails.
# checks_done prints the count and fails when any check did. until_true SECONDS COMMAND...
# succeeds once the command does, within the deadline. report_of COMMAND... keeps what a report
# (moondial --check) says and its exit status; says STATUS PATTERN... checks the last one.

passed=0 failed=0
check() {
  local name=$1 said; shift
  if said=$("$@"); then passed=$((passed + 1)); echo "ok   $name"
  else failed=$((failed + 1)); echo "FAIL $name"; [ -z "$said" ] || echo "$said"; fi
}
why() { printf '%s\n' "$@" | sed 's/^/       /'; return 1; }
checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
}
until_true() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.2; done
}
report_of() {
  status=0
  reported=$(set -o pipefail; "$@" 2>&1 | tr -d '\r') || status=$?
}
says() { # says STATUS PATTERN...: that exit status, and a line matching each pattern (grep -E)
  [ "$status" = "$1" ] || why "exit status $status, not $1" "$reported" || return
  shift
  local pattern
  for pattern; do
    grep -qE -- "$pattern" <<<"$reported" || why "no line matching: $pattern" "$reported" || return
  done
}
