#!/usr/bin/env bash
# Windows programs under Wine, as a user starts them:
# - numvex-tape.exe gives the Linux numvex-tape's bytes, warnings and exit status on the
#   golden tapes and on other line breaks; --in-place replaces files (not read-only ones); the
#   stored settings come from HKEY_CURRENT_USER;
# - the instance mutex between processes, and the regional settings of Wine's locale
#   (PROBE is tests/platform/platform_probe.cpp built for Windows).
#   wine_programs_test.sh TOOL.exe TAPES-DIR LINUX-TOOL PROBE.exe RUNNER [RUNNER-ARGUMENTS...]
# RUNNER runs a Windows program (cmake/wine_run.sh WINE PREFIX).
set -u
EXE=$1 TAPES=$2 LINUX=$3 PROBE=$4
shift 4
RUNNER=("$@")
export LC_ALL=C  # "." decimals on both sides; Wine takes its user locale from it too
source "$(dirname "$0")/../e2e/lib.sh"
make_work numvex-wine
export NUMVEX_REGISTRY=$WORK/none.reg

# win/lin ARGS...: standard output, error and status in $WORK/{win,lin}.{out,err,rc}
win() { "${RUNNER[@]}" "$EXE" "$@" >"$WORK/win.out" 2>"$WORK/win.err" </dev/null; echo $? >"$WORK/win.rc"; }
lin() { "$LINUX" "$@" >"$WORK/lin.out" 2>"$WORK/lin.err" </dev/null; echo $? >"$WORK/lin.rc"; }
compare() {  # compare LABEL ARGS...
  local label=$1 stream
  shift
  win "$@"
  lin "$@"
  for stream in out err rc; do
    cmp -s "$WORK/win.$stream" "$WORK/lin.$stream" || { fail "$label" "$stream differs"; return; }
  done
  pass "$label"
}

# Wine takes half a second or more to start a program: files go together where they can.
shopt -s nullglob
plain=()
for input in "$TAPES"/*.nvx; do
  name=$(basename "$input")
  cp "$input" "$WORK/$name"
  if [[ -f $TAPES/${name%.nvx}.args ]]; then
    read -r -a args <"$TAPES/${name%.nvx}.args"
    compare "$name ${args[*]}" "${args[@]}" "$WORK/$name"
  else
    plain+=("$WORK/$name")
  fi
done
compare "the golden tapes without options" "${plain[@]}"
printf '1\r\n+2\r\n===\r\n' >"$WORK/crlf.nvx"
printf '1\n+2\r\n===' >"$WORK/mixed.nvx"
compare "other line breaks" "$WORK/crlf.nvx" "$WORK/mixed.nvx"

cp "$WORK/crlf.nvx" "$WORK/read_only.nvx"
chmod a-w "$WORK/read_only.nvx"
win --in-place "${plain[@]}" "$WORK/read_only.nvx"
golden() {
  for f in "${plain[@]}"; do cmp -s "$f" "$TAPES/$(basename "$f" .nvx).expected" || return 1; done
}
expect "--in-place: the golden results, a read-only file refused" \
  '[[ $(cat "$WORK/win.rc") == 2 ]] && grep -q read_only.nvx "$WORK/win.err" &&
   cmp -s "$WORK/read_only.nvx" "$WORK/crlf.nvx" && golden' "$(cat "$WORK/win.err")"
"${RUNNER[@]}" "$EXE" - <"$TAPES/precedence.nvx" >"$WORK/win.out"
expect "standard input" 'cmp -s "$WORK/win.out" "$TAPES/precedence.expected"'

hive() {  # hive LINE...: imports the lines of a .reg file
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; printf '%s\r\n' "$@"; } >"$WORK/hive.reg"
  "${RUNNER[@]}" regedit /S "$WORK/hive.reg" >/dev/null 2>&1
}
hive '[HKEY_CURRENT_USER\Software\zel\Numvex 3.0]' '"First start"=dword:00000000' \
  '"Preferred Language"="1"' '"Decimal Places"="3"' '"Round Results"=dword:00000001'
printf '10\n/3\n===\n' >"$WORK/stored.nvx"
win "$WORK/stored.nvx"
expect "stored settings: 3 places, rounded" 'grep -q " 3.333$" "$WORK/win.out"' "$(cat "$WORK/win.out")"
hive '[-HKEY_CURRENT_USER\Software\zel\Numvex 3.0]'

# start NAME WANT: a probe taking the mutex in the background, which must say WANT; it holds
# the mutex until `stop NAME` closes the pipe that is its stdin (no other probe inherits it).
declare -A held=() pid=()
start() {
  mkfifo "$WORK/$1.in"
  (
    for fd in "${held[@]}"; do exec {fd}>&-; done
    exec "${RUNNER[@]}" "$PROBE" lock <"$WORK/$1.in" >"$WORK/$1" 2>&1
  ) &
  pid[$1]=$!
  local fd said=$WORK/$1 want=$2
  exec {fd}>"$WORK/$1.in"
  held[$1]=$fd
  wait_for 300 grep -q holding "$said"
  expect "mutex: $1 says $2" 'grep -q "^$want" "$said"' "$(cat "$said")"
}
stop() {
  local fd=${held[$1]}
  exec {fd}>&-
  unset "held[$1]"
  wait "${pid[$1]}"
}
start a "first holding"
start b "second holding"  # while a runs
stop a
stop b
start c "first holding"  # once every instance ended
stop c

# The Swiss thousands separator is the right single quote, byte 0x92 of the code page.
for entry in "de_DE.UTF-8|,. 0407" "en_US.UTF-8|., 0409" $'de_CH.UTF-8|.\x92 0807'; do
  got=$(env LC_ALL="${entry%%|*}" "${RUNNER[@]}" "$PROBE" locale 2>/dev/null | tr -d '\r')
  expect "locale ${entry%%|*}" '[[ $got == "${entry#*|}" ]]' "got '$got'"
done
summary
