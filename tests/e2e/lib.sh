# Sourced by the end-to-end scripts: one line per case, a closing count, a private work
# folder and a private X server.

passed=0
failed=0
pass() {
  printf 'ok    %s\n' "$1"
  passed=$((passed + 1))
}
fail() {
  printf 'FAIL  %s: %s\n' "$1" "${2:-}"
  failed=$((failed + 1))
}
skip() { printf 'skip  %s: %s\n' "$1" "$2"; }
# check NAME COMMAND...: the case holds when the command succeeds.
check() {
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name" "failed: $*"; fi
}
# expect NAME CONDITION [DETAIL]: the case holds when the shell condition (a string, run
# with eval) succeeds; DETAIL says what was seen when it does not.
expect() {
  if eval "$2"; then pass "$1"; else fail "$1" "${3:-}"; fi
}
# summary: prints the count; the script's status tells whether every case passed.
summary() {
  echo "$passed passed, $failed failed"
  [[ $failed -eq 0 ]]
}

# wait_for TENTHS COMMAND...: runs the command every tenth of a second until it succeeds,
# at most TENTHS times; fails when it never did.
wait_for() {
  local tries=$1 _
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# make_work NAME: WORK becomes a new folder, removed at exit after the script's own
# clean-up function `cleanup` (when it defines one).
make_work() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  trap 'declare -F cleanup >/dev/null && cleanup; chmod -R u+rwx "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
}

# need_tools TOOL...: exits 77 (skipped) when one is missing.
need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skip: $tool is not installed"
      exit 77
    fi
  done
}

# on_xvfb SCRIPT ARGS...: runs the calling script again on a private X server (xvfb-run
# with the first free display) unless it runs on one already. Call it with "$0" "$@".
on_xvfb() {
  need_tools xvfb-run xauth
  if [[ -z ${NUMVEX_ON_XVFB:-} ]]; then
    NUMVEX_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$@"
  fi
}
