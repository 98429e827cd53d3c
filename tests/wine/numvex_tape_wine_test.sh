#!/usr/bin/env bash
# numvex-tape.exe under Wine against the Linux numvex-tape: the golden tapes give their
# .expected bytes, and every other input the same bytes, warnings and exit status as the
# Linux program; --in-place, --check and standard input; the stored settings come from
# HKEY_CURRENT_USER.
#
#   numvex_tape_wine_test.sh TOOL.exe TAPES-DIR LINUX-TOOL RUNNER [RUNNER-ARGUMENTS...]
#
# RUNNER runs a Windows program (tests/wine/wine_run.sh WINE PREFIX).
set -u
if [[ $# -lt 4 ]]; then
  echo "usage: $0 TOOL.exe TAPES-DIR LINUX-TOOL RUNNER [RUNNER-ARGUMENTS...]" >&2
  exit 2
fi
EXE=$1 TAPES=$2 LINUX=$3
shift 3
RUNNER=("$@")
export LC_ALL=C  # "." decimals on both sides; Wine takes its user locale from it too

source "$(dirname "$0")/../e2e/lib.sh"
make_work numvex-wine
export NUMVEX_REGISTRY=$WORK/none.reg  # the Linux program reads no settings

# win ARGS... / lin ARGS...: standard output, error and status into $WORK/{win,lin}.*
win() { "${RUNNER[@]}" "$EXE" "$@" >"$WORK/win.out" 2>"$WORK/win.err" </dev/null; echo $? >"$WORK/win.rc"; }
lin() { "$LINUX" "$@" >"$WORK/lin.out" 2>"$WORK/lin.err" </dev/null; echo $? >"$WORK/lin.rc"; }
same() { cmp -s "$WORK/win.$1" "$WORK/lin.$1"; }
# compare LABEL ARGS...: both programs on the same arguments give the same bytes.
compare() {
  local label=$1
  shift
  win "$@"
  lin "$@"
  if same out && same err && same rc; then
    pass "$label"
  else
    fail "$label" "status $(cat "$WORK/win.rc") (Linux $(cat "$WORK/lin.rc")), first difference:
$(cmp "$WORK/win.out" "$WORK/lin.out"; cmp "$WORK/win.err" "$WORK/lin.err"; head -c 300 "$WORK/win.err")"
  fi
}

# Wine takes half a second or more to start a program: files go together where they can.
shopt -s nullglob
plain=()
for input in "$TAPES"/*.nvx; do
  name=$(basename "$input" .nvx)
  args=()
  [[ -f $TAPES/$name.args ]] && read -r -a args <"$TAPES/$name.args"
  cp "$input" "$WORK/$name.nvx"
  compare "$name: same as Linux" "${args[@]}" "$WORK/$name.nvx"
  expect "$name: golden bytes" 'cmp -s "$WORK/win.out" "$TAPES/$name.expected"'
  if [[ ${#args[@]} -eq 0 ]]; then
    plain+=("$name.nvx")
    continue
  fi
  win "${args[@]}" --in-place "$WORK/$name.nvx"
  expect "$name: --in-place" 'cmp -s "$WORK/$name.nvx" "$TAPES/$name.expected"'
done
win --in-place "${plain[@]/#/$WORK/}"
for name in "${plain[@]}"; do
  expect "$name: --in-place" 'cmp -s "$WORK/$name" "$TAPES/${name%.nvx}.expected"'
done

# Inputs the fixtures do not cover: line breaks, every byte, NUL, megabyte lines.
printf '1\r\n+2\r\n===\r\n' >"$WORK/crlf.nvx"
printf '1\n+2\r\n===\n' >"$WORK/mixed.nvx"
printf '1\n+2\n===' >"$WORK/no_final_break.nvx"
: >"$WORK/empty.nvx"
all=""
runs=""
for ((b = 0; b < 256; b++)); do
  printf -v o '\\%03o' "$b"
  all+=$o
  runs+="1${o}2\n+${o}3\n*4${o}x\n${o}5%%\n=${o}==\n7${o}\n---${o}\n"
done
printf "$all" >"$WORK/all_bytes.nvx"
printf "$runs" >"$WORK/bytes_in_runs.nvx"
printf '\0\n1\0\n+2\0apples\n\0===\n\0\0\0\n' >"$WORK/nul.nvx"
{ printf '1\n+'; head -c 1048576 /dev/zero | tr '\0' 9; printf '\n===\n'; } >"$WORK/mega.nvx"
generated=()
for file in crlf mixed no_final_break empty all_bytes bytes_in_runs nul mega; do
  generated+=("$WORK/$file.nvx")
done
compare "line breaks, every byte, NUL, megabyte lines: same as Linux" "${generated[@]}"
compare "division by zero warnings" "$TAPES/division_by_zero.nvx" "$TAPES/division_sign.nvx"
compare "--check names the files to change" --check "$TAPES/precedence.nvx" \
  "$TAPES/precedence.expected" "$WORK/crlf.nvx"
win "$WORK/missing.nvx"
expect "a missing file: status 2, named" \
  '[[ $(cat "$WORK/win.rc") == 2 ]] && grep -q "cannot read .*missing.nvx" "$WORK/win.err"'
compare "bad usage" --decimals 12 "$TAPES/precedence.nvx"
compare "tokens" tokens --syntax nvx "$TAPES/../tokens/tape.nvx"
"${RUNNER[@]}" "$EXE" - <"$TAPES/precedence.nvx" >"$WORK/win.out" 2>&1
expect "standard input" 'cmp -s "$WORK/win.out" "$TAPES/precedence.expected"'
cp "$TAPES/precedence.nvx" "$WORK/read_only.nvx"
chmod a-w "$WORK/read_only.nvx"
win --in-place "$WORK/crlf.nvx" "$WORK/read_only.nvx"
expect "--in-place refuses a read-only file, writes the others" \
  '[[ $(cat "$WORK/win.rc") == 2 ]] && grep -q read_only.nvx "$WORK/win.err" &&
   cmp -s "$WORK/read_only.nvx" "$TAPES/precedence.nvx" && [[ $(wc -l <"$WORK/crlf.nvx") == 4 ]]' \
  "$(cat "$WORK/win.rc") $(cat "$WORK/win.err")"

# The desktop program's stored decimals and rounding, from the registry itself.
hive() {  # hive LINE...: imports the lines of a .reg file into HKEY_CURRENT_USER
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; printf '%s\r\n' "$@"; } >"$WORK/hive.reg"
  "${RUNNER[@]}" regedit /S "$WORK/hive.reg" >/dev/null 2>&1
}
hive '[HKEY_CURRENT_USER\Software\zel\Numvex 3.0]' '"First start"=dword:00000000' \
  '"Preferred Language"="1"' '"Decimal Places"="3"' '"Round Results"=dword:00000001'
printf '10\n/3\n===\n' >"$WORK/stored.nvx"
win "$WORK/stored.nvx"
expect "stored settings: 3 places, rounded" 'grep -q " 3.333\$" "$WORK/win.out"' "$(cat "$WORK/win.out")"
hive '[-HKEY_CURRENT_USER\Software\zel\Numvex 3.0]'
win "$WORK/stored.nvx"
expect "no stored settings: 2 places" 'grep -q " 3.33\$" "$WORK/win.out"' "$(cat "$WORK/win.out")"

summary
