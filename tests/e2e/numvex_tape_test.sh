#!/usr/bin/env bash
# End-to-end checks of numvex-tape: it runs on tape files the way a user runs it, and
# its tokens command shows how the editor colours them (fixtures in TAPES-DIR/../tokens).
#
#   numvex_tape_test.sh PATH-TO-NUMVEX-TAPE TAPES-DIR
#
# TAPES-DIR holds the fixtures: NAME.nvx is the input, NAME.expected the recalculated
# tape (checked by hand against the tape layout), NAME.args the options (one line,
# optional) and NAME.stderr the expected warnings with @FILE@ for the file name
# (optional; without it nothing may be written to standard error).
#
# Prints one line per case and closes with "N passed, M failed".

set -u

if [[ $# -ne 2 ]]; then
  echo "usage: $0 PATH-TO-NUMVEX-TAPE TAPES-DIR" >&2
  exit 2
fi
TOOL=$1
TAPES=$2
# The C locale gives "." and no thousands separator; the tool then uses ",".
export LC_ALL=C

source "$(dirname "$0")/lib.sh"
make_work numvex-e2e
# No desktop settings unless a case stores some.
export NUMVEX_REGISTRY=$WORK/hkcu.reg

OUT=$WORK/stdout
ERR=$WORK/stderr
# run ARGS... : runs the tool, stdout to $OUT, stderr to $ERR, status in $rc.
run() {
  "$TOOL" "$@" >"$OUT" 2>"$ERR"
  rc=$?
}
# run_in FILE ARGS... : as run, with FILE as standard input.
run_in() {
  local input=$1
  shift
  "$TOOL" "$@" <"$input" >"$OUT" 2>"$ERR"
  rc=$?
}
line_count() { wc -l <"$1" | tr -d ' '; }
# File identity that a rewrite would change: inode and modification time.
identity() { stat -c '%i %y' "$1"; }
# Expected standard error of a fixture, for file name $2.
expected_stderr() {
  local name=$1 file=$2
  if [[ -f $TAPES/$name.stderr ]]; then
    local line
    while IFS= read -r line; do printf '%s\n' "${line//@FILE@/$file}"; done <"$TAPES/$name.stderr"
  fi
}

# ---------------------------------------------------------------------------
# Fixtures: output, warnings, stability, --check and --in-place for each tape.
# ---------------------------------------------------------------------------
shopt -s nullglob
fixtures=("$TAPES"/*.nvx)
if [[ ${#fixtures[@]} -eq 0 ]]; then
  fail "fixtures" "no NAME.nvx files in $TAPES"
fi
for input in "${fixtures[@]}"; do
  name=$(basename "$input" .nvx)
  expected=$TAPES/$name.expected
  args=()
  [[ -f $TAPES/$name.args ]] && read -r -a args <"$TAPES/$name.args"
  label="$name${args[*]:+ (${args[*]})}"
  if [[ ! -f $expected ]]; then
    fail "$label" "missing $name.expected"
    continue
  fi
  copy=$WORK/$name.nvx
  cp "$input" "$copy"

  run "${args[@]}" "$copy"
  if [[ $rc -ne 0 ]]; then
    fail "$label: output" "exit status $rc: $(head -c 300 "$ERR")"
  elif ! cmp -s "$OUT" "$expected"; then
    fail "$label: output" "differs from $name.expected:
$(diff "$OUT" "$expected" | head -20)"
  elif ! cmp -s "$ERR" <(expected_stderr "$name" "$copy"); then
    fail "$label: output" "unexpected standard error: $(head -c 300 "$ERR")"
  elif ! cmp -s "$copy" "$input"; then
    fail "$label: output" "the input file was changed"
  else
    pass "$label: output"
  fi

  # A second pass over the tool's own output changes nothing.
  cp "$OUT" "$WORK/second.nvx"
  run "${args[@]}" --check "$WORK/second.nvx"
  expect "$label: second run changes nothing" '[[ $rc -eq 0 && ! -s $OUT ]]' \
    "--check exit $rc, output '$(head -c 200 "$OUT")'"

  # --check names the file exactly when the output differs from the input.
  run "${args[@]}" --check "$copy"
  if cmp -s "$input" "$expected"; then
    want_rc=0 want_out=""
  else
    want_rc=1 want_out=$copy
  fi
  expect "$label: --check" \
    '[[ $rc -eq $want_rc && "$(cat "$OUT")" == "$want_out" ]] && cmp -s "$copy" "$input"' \
    "exit $rc (want $want_rc), output '$(head -c 200 "$OUT")'"

  run "${args[@]}" --in-place "$copy"
  expect "$label: --in-place" '[[ $rc -eq 0 && ! -s $OUT ]] && cmp -s "$copy" "$expected"' \
    "exit $rc, file $(cmp -s "$copy" "$expected" && echo ok || echo differs)"
done
shopt -u nullglob

# ---------------------------------------------------------------------------
# Line breaks: the document keeps its style; every line is followed by a break.
# Columns: name, input, expected output (printf %b escapes).
# ---------------------------------------------------------------------------
T1='      +           1.00'
T2='      +           2.00'
SEP='      ----------------'
T3='      +           3.00'
# The cuts into lines and the joins are the tape library's tables; here the whole path once
# for each style and for the final line break.
line_break_cases=(
  "CR LF stays CR LF|1\r\n+2\r\n===\r\n|$T1\r\n$T2\r\n$SEP\r\n$T3\r\n"
  "one CR line makes the document CR LF|1\n+2\r\n===\n|$T1\r\n$T2\r\n$SEP\r\n$T3\r\n"
  "no final line break gets one|1\n+2\n===|$T1\n$T2\n$SEP\n$T3\n"
  "empty file stays empty||"
)
for entry in "${line_break_cases[@]}"; do
  IFS='|' read -r label input want <<<"$entry"
  file=$WORK/breaks.nvx
  printf '%b' "$input" >"$file"
  printf '%b' "$want" >"$WORK/want"
  run "$file"
  if [[ $rc -ne 0 ]] || ! cmp -s "$OUT" "$WORK/want"; then
    fail "line breaks: $label" "exit $rc, output $(od -c "$OUT" | head -5)"
    continue
  fi
  run --check "$file"
  if cmp -s "$file" "$WORK/want"; then want_rc=0; else want_rc=1; fi
  if [[ $rc -ne $want_rc ]]; then
    fail "line breaks: $label" "--check exit $rc, want $want_rc"
    continue
  fi
  run --in-place "$file"
  expect "line breaks: $label" '[[ $rc -eq 0 ]] && cmp -s "$file" "$WORK/want"' \
    "--in-place exit $rc, file $(od -c "$file" | head -3)"
done

# ---------------------------------------------------------------------------
# Standard input, "-", several files, "--", inline option values.
# ---------------------------------------------------------------------------
P=$TAPES/precedence
A=$TAPES/percent_add
D=$TAPES/division_by_zero

run_in "$P.nvx"
expect "standard input without FILE" '[[ $rc -eq 0 && ! -s $ERR ]] && cmp -s "$OUT" "$P.expected"' \
  "exit $rc"

run_in "$P.nvx" -
expect "standard input as \"-\"" '[[ $rc -eq 0 ]] && cmp -s "$OUT" "$P.expected"' "exit $rc"

run_in "$D.nvx" -
expect "standard input: division by zero names \"-\"" \
  '[[ $rc -eq 0 && "$(cat "$ERR")" == "-:2: Division by zero!" ]] && cmp -s "$OUT" "$D.expected"' \
  "exit $rc, stderr '$(cat "$ERR")'"

run_in "$A.nvx" "$P.nvx" - "$D.nvx"
expect "several files and \"-\" in order" \
  '[[ $rc -eq 0 ]] && cmp -s "$OUT" <(cat "$P.expected" "$A.expected" "$D.expected") &&
   [[ "$(cat "$ERR")" == "$D.nvx:2: Division by zero!" ]]' \
  "exit $rc, stderr '$(cat "$ERR")'"

run "$D.nvx" "$TAPES/division_sign.nvx" "$D.nvx"
want_err="$D.nvx:2: Division by zero!
$TAPES/division_sign.nvx:3: Division by zero!
$D.nvx:2: Division by zero!"
expect "division by zero: one line per file and line, exit 0" \
  '[[ $rc -eq 0 && "$(cat "$ERR")" == "$want_err" ]]' \
  "exit $rc, stderr '$(cat "$ERR")'"

cp "$P.nvx" "$WORK/--odd.nvx"
run -- "$WORK/--odd.nvx"
expect "\"--\" ends the options" '[[ $rc -eq 0 ]] && cmp -s "$OUT" "$P.expected"' \
  "exit $rc: $(head -c 200 "$ERR")"

run --decimals=0 "$TAPES/decimals_0.nvx"
expect "--decimals=0 inline value" '[[ $rc -eq 0 ]] && cmp -s "$OUT" "$TAPES/decimals_0.expected"' \
  "exit $rc"

# The desktop program's stored decimals and rounding are the defaults; options win.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\zel\\Numvex 3.0]\r\n%s\r\n' \
  '"First start"=dword:00000000' '"Preferred Language"="1"' '"Decimal Places"="3"' \
  '"Round Results"=dword:00000001' >"$NUMVEX_REGISTRY"
printf '10\n/3\n===\n' >"$WORK/stored.nvx"
run "$WORK/stored.nvx"
expect "stored settings: 3 places, rounded" '[[ $rc -eq 0 ]] && grep -q "3.333\$" "$OUT"' "$(cat "$OUT")"
run --decimals 1 --no-round-results "$WORK/stored.nvx"
expect "options override the stored settings" \
  '[[ $rc -eq 0 ]] && grep -q " 10.0\$" "$OUT" && grep -q "3.333333333\$" "$OUT"' "$(cat "$OUT")"
rm "$NUMVEX_REGISTRY"

run --help
if [[ $rc -eq 0 ]] && grep -q -- '--in-place' "$OUT" && grep -q -- '--check' "$OUT"; then
  pass "--help"
else
  fail "--help" "exit $rc"
fi
run --version
if [[ $rc -eq 0 ]] && grep -q '^numvex-tape [0-9]' "$OUT"; then
  pass "--version"
else
  fail "--version" "exit $rc, output '$(head -c 100 "$OUT")'"
fi

# ---------------------------------------------------------------------------
# --check: names only the files that would change and writes nothing.
# ---------------------------------------------------------------------------
dir=$WORK/check
mkdir "$dir"
cp "$P.expected" "$dir/canonical.nvx"
cp "$P.nvx" "$dir/typed.nvx"
cp "$A.nvx" "$dir/percent.nvx"
printf 'plain text\nno break at the end' >"$dir/nobreak.nvx"
touch -d '2001-02-03 04:05:06' "$dir"/*.nvx
before=$(for f in "$dir"/*.nvx; do identity "$f"; md5sum <"$f"; done)

run --check "$dir/canonical.nvx"
expect "--check: canonical file, exit 0 and silent" '[[ $rc -eq 0 && ! -s $OUT && ! -s $ERR ]]' \
  "exit $rc, output '$(head -c 200 "$OUT")'"

run --check "$dir/typed.nvx" "$dir/canonical.nvx" "$dir/nobreak.nvx" "$dir/percent.nvx"
want="$dir/typed.nvx
$dir/nobreak.nvx
$dir/percent.nvx"
expect "--check: exit 1 naming only the files that change" \
  '[[ $rc -eq 1 && "$(cat "$OUT")" == "$want" ]]' \
  "exit $rc, output '$(cat "$OUT")'"

run_in "$P.nvx" --check
expect "--check: standard input" '[[ $rc -eq 1 && "$(cat "$OUT")" == "-" ]]' \
  "exit $rc, output '$(cat "$OUT")'"

after=$(for f in "$dir"/*.nvx; do identity "$f"; md5sum <"$f"; done)
expect "--check: writes nothing" '[[ "$before" == "$after" && $(ls -A "$dir" | wc -l) -eq 4 ]]' \
  "files or folder changed: $(ls -A "$dir")"

# ---------------------------------------------------------------------------
# --in-place: atomic rewrite, permissions kept, canonical files untouched, links kept.
# ---------------------------------------------------------------------------
dir=$WORK/inplace
mkdir "$dir"

cp "$P.nvx" "$dir/perm.nvx"
chmod 0640 "$dir/perm.nvx"
run --in-place "$dir/perm.nvx"
mode=$(stat -c '%a' "$dir/perm.nvx")
expect "--in-place: rewrites and keeps permissions 0640" \
  '[[ $rc -eq 0 && $mode == 640 ]] && cmp -s "$dir/perm.nvx" "$P.expected"' \
  "exit $rc, mode $mode"
expect "--in-place: leaves no temporary file" '[[ "$(ls -A "$dir")" == "perm.nvx" ]]' \
  "folder holds: $(ls -A "$dir" | tr '\n' ' ')"

cp "$P.expected" "$dir/canonical.nvx"
touch -d '2001-02-03 04:05:06' "$dir/canonical.nvx"
before=$(identity "$dir/canonical.nvx")
run --in-place "$dir/canonical.nvx"
expect "--in-place: canonical file untouched (same inode and mtime)" \
  '[[ $rc -eq 0 && "$(identity "$dir/canonical.nvx")" == "$before" ]]' \
  "exit $rc, $before -> $(identity "$dir/canonical.nvx")"

mkdir "$dir/real"
cp "$A.nvx" "$dir/real/target.nvx"
ln -s real/target.nvx "$dir/link.nvx"
run --in-place "$dir/link.nvx"
expect "--in-place: follows a symbolic link and keeps it" \
  '[[ $rc -eq 0 && -L $dir/link.nvx && "$(readlink "$dir/link.nvx")" == real/target.nvx ]] &&
   cmp -s "$dir/real/target.nvx" "$A.expected" && [[ $(ls -A "$dir/real" | wc -l) -eq 1 ]]' \
  "exit $rc, link $(ls -l "$dir/link.nvx" | cut -c1-10), target $(head -c 40 "$dir/real/target.nvx")"

cp "$D.nvx" "$dir/div.nvx"
cp "$A.nvx" "$dir/second.nvx"
run --in-place "$dir/div.nvx" "$dir/second.nvx"
expect "--in-place: several files, division warning names the file" \
  '[[ $rc -eq 0 && ! -s $OUT && "$(cat "$ERR")" == "$dir/div.nvx:2: Division by zero!" ]] &&
   cmp -s "$dir/div.nvx" "$D.expected" && cmp -s "$dir/second.nvx" "$A.expected"' \
  "exit $rc, stderr '$(cat "$ERR")'"

# ---------------------------------------------------------------------------
# Bad usage: exit 2, nothing on standard output, one line naming the option.
# Columns: arguments | text the message must contain.
# ---------------------------------------------------------------------------
cp "$P.nvx" "$WORK/usage.nvx"
usage_cases=(
  "--bogus|--bogus"
  "--decimals 10|--decimals"
  "--decimals -1|--decimals"
  "--decimals x|--decimals"
  "--decimals|--decimals"
  "--decimal-separator|--decimal-separator"
  "--thousands-separator ab|--thousands-separator"
  "--in-place --check $WORK/usage.nvx|--in-place"
  "--in-place|--in-place"
  "--in-place -|--in-place"
  "--decimal-separator , --thousands-separator ,|-separator"
  "--decimal-separator 5|--decimal-separator"
  "--thousands-separator 0|--thousands-separator"
  "--round-results=yes|--round-results"
  "--in-place --decimals 12 $WORK/usage.nvx|--decimals"
)
for entry in "${usage_cases[@]}"; do
  IFS='|' read -r argline want <<<"$entry"
  read -r -a argv <<<"$argline"
  run "${argv[@]}" </dev/null
  label="bad usage: ${argline//$WORK\//}"
  if [[ $rc -ne 2 ]]; then
    fail "$label" "exit $rc, want 2"
  elif [[ -s $OUT ]]; then
    fail "$label" "wrote to standard output"
  elif [[ $(line_count "$ERR") -ne 1 ]] || ! grep -q -- "$want" "$ERR"; then
    fail "$label" "want one line naming '$want', got '$(cat "$ERR")'"
  elif ! cmp -s "$WORK/usage.nvx" "$P.nvx"; then
    fail "$label" "the file was written"
  else
    pass "$label"
  fi
done

# ---------------------------------------------------------------------------
# Unreadable and unwritable files: exit 2 with one line naming the file.
# ---------------------------------------------------------------------------
expect_file_error() {  # label, file name the message must contain
  local want=$2
  expect "$1" '[[ $rc -eq 2 && $(line_count "$ERR") -eq 1 ]] && grep -qF -- "$want" "$ERR"' \
    "exit $rc, stderr '$(cat "$ERR")'"
}
run "$WORK/missing.nvx"
expect_file_error "unreadable: missing file" "missing.nvx"
mkdir "$WORK/folder.nvx"
run "$WORK/folder.nvx"
expect_file_error "unreadable: a directory" "folder.nvx"
cp "$P.nvx" "$WORK/changes.nvx"
run --check "$WORK/changes.nvx" "$WORK/missing.nvx"
expect "unreadable: a file error outranks --check's exit 1" \
  '[[ $rc -eq 2 ]] && grep -qF missing.nvx "$ERR"' \
  "exit $rc"

# ---------------------------------------------------------------------------
# Bad bytes: any byte anywhere, long lines. Exit 0 and a stable result.
# ---------------------------------------------------------------------------
bytes=$WORK/bytes
mkdir "$bytes"
# Every byte 0..255 in one stream, and every byte inside amount, operator and
# separator lines of small runs. The formats are built first: one printf each.
all_format=""
runs_format=""
for ((b = 0; b < 256; b++)); do
  printf -v o '\\%03o' "$b"
  all_format+=$o
  runs_format+="1${o}2\n+${o}3\n*4${o}x\n${o}5%%\n=${o}==\n7${o}\n---${o}\n"
done
printf "$all_format" >"$bytes/all_bytes.nvx"
printf "$runs_format" >"$bytes/bytes_in_runs.nvx"
# NUL bytes at the ends and in the middle of lines.
printf '\0\n1\0\n+2\0apples\n\0===\n\0\0\0\n' >"$bytes/nul.nvx"
# Lines of a megabyte: digits, a comment, separator characters, thousands separators.
mega() { head -c 1048576 /dev/zero | tr '\0' "$1"; }
{ printf '1\n+'; mega 9; printf '\n===\n'; } >"$bytes/mega_amount.nvx"
{ printf '1\n+2 '; mega x; printf '\n===\n'; } >"$bytes/mega_comment.nvx"
{ printf '1\n+2\n'; mega =; printf '\n'; } >"$bytes/mega_separator.nvx"
for file in "$bytes"/*.nvx; do
  label="bad bytes: $(basename "$file" .nvx)"
  run "$file"
  if [[ $rc -ne 0 ]]; then
    fail "$label" "exit $rc: $(head -c 200 "$ERR")"
    continue
  fi
  cp "$OUT" "$bytes/first.out"
  run "$bytes/first.out"
  if [[ $rc -ne 0 ]] || ! cmp -s "$OUT" "$bytes/first.out"; then
    fail "$label" "second run exit $rc or output changed"
  else
    pass "$label"
  fi
  rm -f "$bytes/first.out"
done

# The long lines are amount and separator lines of real runs: each was rewritten.
run "$bytes/mega_separator.nvx"
want=$(printf '      +           1.00\n      +           2.00\n      ----------------\n      +           3.00')
expect "bad bytes: a megabyte separator line is normalised" '[[ "$(cat "$OUT")" == "$want" ]]' \
  "output starts '$(head -c 200 "$OUT")'"

# The introduction documents open at the first start: already recalculated, and every line
# within the 36 columns the first-start window shows without scrolling.
data=$(dirname "$0")/../../data
check "introduction (English) is a finished tape" "$TOOL" --check "$data/1Numvex.txt"
check "introduction (German) is a finished tape" \
  "$TOOL" --decimal-separator , --thousands-separator . --check "$data/0Numvex.txt"
for doc in "$data"/[01]Numvex.txt; do
  check "$(basename "$doc") fits 36 columns" \
    awk '{ sub(/\r$/, "") } length($0) > 36 { exit 1 }' "$doc"
done

# ---------------------------------------------------------------------------
# tokens: how the editor colours a document, and the command's errors.
# ---------------------------------------------------------------------------
K=$TAPES/../tokens
for syntax in nvx report; do
  run tokens --syntax "$syntax" "$K/tape.nvx"
  expect "tokens --syntax $syntax" '[[ $rc -eq 0 ]] && cmp -s "$OUT" "$K/tape.$syntax.expected"'
done
run_in "$K/tape.nvx" tokens --syntax=nvx -
expect "tokens: standard input" 'cmp -s "$OUT" "$K/tape.nvx.expected"'
run tokens --syntax nvx /dev/null
expect "tokens: an empty file has no lines" '[[ $rc -eq 0 && ! -s $OUT ]]'
for argline in "$K/tape.nvx" "--syntax cobol $K/tape.nvx" "--syntax nvx --fast $K/tape.nvx" \
  "--syntax nvx $K/tape.nvx $K/tape.nvx" "--syntax nvx $WORK/missing.nvx" "--syntax nvx $K"; do
  read -r -a argv <<<"$argline"
  run tokens "${argv[@]}"
  expect "tokens: bad usage ${argline//$K\//}" '[[ $rc -eq 2 && ! -s $OUT && -s $ERR ]]' "exit $rc"
done
expect "tokens: the message names the file" 'grep -q "$K" "$ERR"'

summary
