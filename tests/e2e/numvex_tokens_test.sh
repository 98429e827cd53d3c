#!/usr/bin/env bash
# numvex-tape tokens: how a small tape is coloured by both highlighters, and the
# command's errors.
#   numvex_tokens_test.sh NUMVEX-TAPE FIXTURE-DIR
set -u
tool=$1
dir=$2
source "$(dirname "$0")/lib.sh"
make_work numvex-tokens
work=$WORK

same_output() {  # expected-file, tool arguments...
  local expected=$1
  shift
  "$tool" "$@" >"$work/out" 2>"$work/err" && cmp -s "$work/out" "$expected"
}

exits_with() {  # status, tool arguments...
  local want=$1
  shift
  "$tool" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -ge 1 ]
}

# Every token list must tile its line: starts follow on from the previous token's end.
tiles_lines() {
  "$tool" tokens --syntax "$1" "$dir/tape.nvx" | awk -v file="$dir/tape.nvx" '
    BEGIN { while ((getline line < file) > 0) len[++n] = length(line) }
    { pos = 0
      for (i = 3; i <= NF; i++) {
        split($i, t, ":")
        if (t[1] != pos || t[2] < 1) exit 1
        pos += t[2]
      }
      if (pos != len[$1]) exit 1 }'
}

check "tape highlighter on a small tape" same_output "$dir/tape.nvx.expected" tokens --syntax nvx "$dir/tape.nvx"
check "plain-text highlighter on the same tape" same_output "$dir/tape.report.expected" tokens --syntax=report "$dir/tape.nvx"
check "standard input" same_output "$dir/tape.nvx.expected" tokens --syntax nvx - <"$dir/tape.nvx"
check "tokens tile every line (nvx)" tiles_lines nvx
check "tokens tile every line (report)" tiles_lines report
check "an empty file has no lines" bash -c "'$tool' tokens --syntax nvx /dev/null | cmp -s - /dev/null"
check "missing --syntax" exits_with 2 tokens "$dir/tape.nvx"
check "unknown syntax" exits_with 2 tokens --syntax cobol "$dir/tape.nvx"
check "unknown option" exits_with 2 tokens --syntax nvx --fast "$dir/tape.nvx"
check "two files" exits_with 2 tokens --syntax nvx "$dir/tape.nvx" "$dir/tape.nvx"
check "missing file" exits_with 2 tokens --syntax nvx "$work/missing.nvx"
check "a folder" exits_with 2 tokens --syntax nvx "$dir"
check "the message names the file" bash -c "'$tool' tokens --syntax nvx '$work/missing.nvx' 2>&1 | grep -q 'missing.nvx'"

summary
