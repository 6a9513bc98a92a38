# Sourced: the end-to-end scripts' checks. check NAME COMMAND... runs a check and counts it; what
# the command prints shows only when it fails. why LINES... says why, indented, and fails.
# checks_done prints the count and fails when any check did. until_true SECONDS COMMAND...
# succeeds once the command does, within the deadline.

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
