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

# ---------------------------------------------------------------------------------------
# The desktop program, $NUMVEX, one at a time: its process id in APP_PID, its main window in
# WIN, what it prints in $WORK/app.log.

APP_PID=
WIN=
# make_home: a private home in $WORK for the program; nothing of the user's settings is read
# or written. The settings file is $HIVE, in that home unless set before.
make_home() {
  HOME_DIR=$WORK/home
  HIVE=${HIVE:-$HOME_DIR/hkcu.reg}
  mkdir -p "$HOME_DIR/config" "$HOME_DIR/data" "$HOME_DIR/runtime"
  chmod 0700 "$HOME_DIR/runtime"
}

# launch_app FILE: starts numvex on FILE and waits until it shows a window. A program that could
# not reach the X server (it happens now and then on a busy machine) says nothing about itself:
# it is started once more.
launch_app() {
  local try
  for try in 1 2; do
    rm -f "$WORK/app.pid" "$WORK/app.rc"
    (
      env -u QT_QPA_PLATFORM -u NUMVEX_REGISTRY \
        HOME="$HOME_DIR" XDG_CONFIG_HOME="$HOME_DIR/config" XDG_DATA_HOME="$HOME_DIR/data" \
        XDG_RUNTIME_DIR="$HOME_DIR/runtime" NUMVEX_REGISTRY="$HIVE" LC_ALL=C \
        QT_QPA_PLATFORM=xcb "$NUMVEX" "$1" >>"$WORK/app.log" 2>&1 &
      echo $! >"$WORK/app.pid"
      wait $!
      echo $? >"$WORK/app.rc"
    ) 2>/dev/null &
    wait_for 50 test -s "$WORK/app.pid"
    APP_PID=$(cat "$WORK/app.pid")
    WIN=
    wait_for 100 eval 'app_ended || xdotool search --onlyvisible --pid "$APP_PID" --name . &>/dev/null'
    ((try == 1)) && app_ended && grep -q 'platform plugin "xcb"' "$WORK/app.log" || return 0
    echo "note  no connection to the X server, starting once more"
    : >"$WORK/app.log"
    sleep 1
  done
}

# start_app FILE: starts numvex on FILE and waits for its main window to take the focus.
start_app() {
  launch_app "$1"
  focus_main
}

# focus_main: waits for the main window and gives it the focus.
focus_main() {
  wait_for 100 window_or_end
  [[ -n $WIN ]] || return 1
  timeout 5 xdotool windowfocus --sync "$WIN" || return 1
  sleep 0.2
}

# window_or_end: true once the main window shows (its id then in $WIN) or the program ended.
window_or_end() {
  WIN=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^ZEL: Numvex \[' 2>/dev/null |
    head -n 1)
  [[ -n $WIN ]] || app_ended
}

# app_ended: true once the program has exited; its status is then in $WORK/app.rc.
app_ended() { [[ -e $WORK/app.rc ]]; }

# wait_app_end SECONDS: waits for the program to exit.
wait_app_end() { wait_for $(($1 * 10)) app_ended; }

# stop_app: ends a program that is still running (after a failure).
stop_app() {
  if [[ -n $APP_PID ]] && ! app_ended; then
    kill "$APP_PID" 2>/dev/null
    wait_app_end 5 || kill -KILL "$APP_PID" 2>/dev/null
    wait_app_end 5
  fi
  APP_PID=
}

caption() { xdotool getwindowname "$WIN" 2>/dev/null; }

# keys KEY...: real key strokes, then a short pause.
keys() { xdotool key --delay 40 "$@" && sleep 0.15; }

# type_text TEXT: types TEXT character by character.
type_text() { xdotool type --delay 40 "$1" && sleep 0.15; }
