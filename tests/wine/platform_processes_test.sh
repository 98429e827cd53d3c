#!/usr/bin/env bash
# The Win32 services between processes under Wine: the instance mutex decides the first
# instance while one runs, and the registered broadcast reaches every listening program.
#
#   platform_processes_test.sh RUNNER [RUNNER-ARGUMENTS...] PROBE.exe
#
# RUNNER runs a Windows program (tests/wine/wine_run.sh WINE PREFIX); PROBE is
# tests/platform/platform_probe.cpp built for Windows.
set -u
if [[ $# -lt 2 ]]; then
  echo "usage: $0 RUNNER [RUNNER-ARGUMENTS...] PROBE.exe" >&2
  exit 2
fi
PROBE=${*: -1}
RUNNER=("${@:1:$#-1}")
source "$(dirname "$0")/../e2e/lib.sh"
make_work numvex-wine-platform
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; }

# start NAME MODE: the probe in the background; its stdin is a pipe the script holds open
# until `stop NAME`, its output in $WORK/NAME. No probe inherits another one's pipe, or that
# one would never see its end.
declare -A held=()
start() {
  mkfifo "$WORK/$1.in"
  (
    for fd in "${held[@]}"; do exec {fd}>&-; done
    exec "${RUNNER[@]}" "$PROBE" "$2" <"$WORK/$1.in" >"$WORK/$1" 2>&1
  ) &
  pids+=($!)
  local fd
  exec {fd}>"$WORK/$1.in"
  held[$1]=$fd
}
stop() {
  local fd=${held[$1]}
  exec {fd}>&-
  unset "held[$1]"
}
said() { grep -q "$2" "$WORK/$1"; }

# The mutex: first while nobody holds it, then second for as long as the first runs.
start a lock
wait_for 300 said a holding
expect "mutex: the first instance" 'said a "^first holding"' "$(cat "$WORK/a")"
start b lock
wait_for 300 said b holding
expect "mutex: a second instance while the first runs" 'said b "^second holding"' "$(cat "$WORK/b")"
stop a
wait "${pids[0]}"
stop b
wait "${pids[1]}"
start c lock
wait_for 300 said c holding
expect "mutex: first again once every instance ended" 'said c "^first holding"' "$(cat "$WORK/c")"
stop c

# The broadcast reaches the top-level windows of every other program.
start d listen
start e listen
wait_for 300 said d listening && wait_for 300 said e listening
"${RUNNER[@]}" "$PROBE" post
post=$?
wait_for 100 said d received
wait_for 100 said e received
expect "broadcast: posted, and received by both listeners" \
  '[[ $post -eq 0 ]] && said d received && said e received' "post $post, $(cat "$WORK/d" "$WORK/e")"
stop d
stop e

# The regional settings and language of the locale Wine was started in.
# The Swiss thousands separator is the right single quote, byte 0x92 of the code page.
for entry in "de_DE.UTF-8|,. 0407" "en_US.UTF-8|., 0409" $'de_CH.UTF-8|.\x92 0807'; do
  locale=${entry%%|*} want=${entry#*|}
  got=$(env LC_ALL="$locale" "${RUNNER[@]}" "$PROBE" locale 2>/dev/null | tr -d '\r')
  expect "locale $locale" '[[ $got == "$want" ]]' "got '$got'"
done
summary
