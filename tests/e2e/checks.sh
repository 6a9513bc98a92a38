# Sourced: the end-to-end scripts' checks. check NAME COMMAND... runs a check and counts it; what
# the command prints shows only when it fails. why LINES... says why, indented, and fails.
# checks_done prints the count and fails when any check did.

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
