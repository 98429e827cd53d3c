#!/usr/bin/env bash
# Between Wine processes: the instance mutex, and the regional settings of Wine's locale.
#   platform_processes_test.sh RUNNER [RUNNER-ARGUMENTS...] PROBE.exe
# RUNNER runs a Windows program (cmake/wine_run.sh WINE PREFIX); PROBE is
# tests/platform/platform_probe.cpp built for Windows.
set -u
PROBE=${*: -1}
RUNNER=("${@:1:$#-1}")
source "$(dirname "$0")/../e2e/lib.sh"
make_work numvex-wine-platform

# start NAME: a probe holding the mutex in the background until `stop NAME` closes the pipe
# that is its stdin (no other probe inherits it); what it says goes to $WORK/NAME.
declare -A held=() pid=()
start() {
  mkfifo "$WORK/$1.in"
  (
    for fd in "${held[@]}"; do exec {fd}>&-; done
    exec "${RUNNER[@]}" "$PROBE" lock <"$WORK/$1.in" >"$WORK/$1" 2>&1
  ) &
  pid[$1]=$!
  local fd
  exec {fd}>"$WORK/$1.in"
  held[$1]=$fd
  wait_for 300 grep -q holding "$WORK/$1"
}
stop() {
  local fd=${held[$1]}
  exec {fd}>&-
  unset "held[$1]"
  wait "${pid[$1]}"
}
verdict() {  # verdict LABEL NAME WANT
  local want=$3 said=$WORK/$2
  expect "mutex: $1" 'grep -q "^$want" "$said"' "$(cat "$said")"
}

start a
verdict "the first instance" a "first holding"
start b
verdict "a second while the first runs" b "second holding"
stop a
stop b
start c
verdict "first again once every instance ended" c "first holding"
stop c

# The Swiss thousands separator is the right single quote, byte 0x92 of the code page.
for entry in "de_DE.UTF-8|,. 0407" "en_US.UTF-8|., 0409" $'de_CH.UTF-8|.\x92 0807'; do
  got=$(env LC_ALL="${entry%%|*}" "${RUNNER[@]}" "$PROBE" locale 2>/dev/null | tr -d '\r')
  expect "locale ${entry%%|*}" '[[ $got == "${entry#*|}" ]]' "got '$got'"
done
summary
