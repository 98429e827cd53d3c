#!/usr/bin/env bash
# Two instances under Xvfb with trayer as the tray host: "/TB" gives the first an icon and no
# window, the second a window and no icon; its preferences' OK (logon start off) ends the first.
NUMVEX=$(realpath "$1")
source "$(dirname "$0")/lib.sh"
need_tools xdotool trayer xwininfo
on_xvfb "$0" "$@"
make_work numvex-tray
cleanup() { kill $(cat "$WORK"/*.pid) %1 2>/dev/null; }
export HOME=$WORK XDG_CONFIG_HOME=$WORK XDG_DATA_HOME=$WORK XDG_RUNTIME_DIR=$WORK \
  NUMVEX_REGISTRY=$WORK/hkcu.reg QT_QPA_PLATFORM=xcb  # one runtime folder and hive for both
trayer --edge top --align right &>/dev/null &
PANEL=$(timeout 5 xdotool search --sync --classname '^panel$' | head -n 1) || exit 1
start() {  # NAME ARGS...: NAME.pid, and NAME.rc once it ended
  ("$NUMVEX" "${@:2}" &>/dev/null & echo $! >"$WORK/$1.pid"; wait $!; echo $? >"$WORK/$1.rc") &
  wait_for 50 test -s "$WORK/$1.pid"; }
window() { xdotool search --all --onlyvisible --pid "$(cat "$WORK/$1.pid")" --name '^ZEL: Numvex'; }
tray() { xwininfo -tree -id $PANEL | awk '/"numvex"/{print $1}' | xargs -rn1 xdotool getwindowpid; }
only_a_iconic() { [[ $(tray) == "$(cat "$WORK/a.pid")" && -z $(window a) ]]; }
ended() { [[ $(cat "$WORK/a.rc" 2>/dev/null) == 0 && -n $(window b) && ! -e $WORK/b.rc ]]; }

start a /TB
expect "first instance with /TB: icon, no window" 'wait_for 100 only_a_iconic'
start b
expect "second instance: window, no icon" 'wait_for 100 window b >/dev/null && only_a_iconic'
timeout 5 xdotool windowfocus --sync "$(window b)" && xdotool key --delay 100 alt+o Up Return
timeout 5 xdotool search --sync --onlyvisible --name ': Options$' &>/dev/null && xdotool key Return
expect "logon start off in the second ends the first, not itself" 'wait_for 50 ended'
summary
