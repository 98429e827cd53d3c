#!/usr/bin/env bash
# Times `numvex-tape --check` on a canonical tape of a million lines next to a plain
# awk pass over the same file, in one run, and prints the best times and their ratio.
#
#   scripts/bench_check.sh [NUMVEX-TAPE] [LINES] [REPETITIONS]
#
# NUMVEX-TAPE defaults to build/bin/numvex-tape; LINES to 1000000; REPETITIONS to 5.
# The tape is generated in a temporary folder: blocks of typed entries with every
# operator, percentages and comments, separators, text and empty lines, recalculated
# once by numvex-tape so that it is canonical (a --check over it finds nothing).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tool=${1:-$here/../build/bin/numvex-tape}
lines=${2:-1000000}
reps=${3:-5}
target_ratio=3

if [[ ! -x $tool ]]; then
  echo "bench_check: no numvex-tape at '$tool' (build it first, or pass its path)" >&2
  exit 2
fi
export LC_ALL=C
options=(--decimals 2 --decimal-separator . --thousands-separator ,)

work=$(mktemp -d "${TMPDIR:-/tmp}/numvex-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A typed tape: the same mix of lines every run (awk's rand with a fixed seed).
awk -v lines="$lines" 'BEGIN {
  srand(4711)
  split("rent|coffee beans|tax|Invoice 4711|travel", comment, "|")
  split("Groceries, week 12|Office supplies|Carried over|Car: fuel and parking", text, "|")
  split("+ + + - - * /", ops, " ")
  n = 0
  while (n < lines) {
    if (rand() < 0.5) { print text[1 + int(rand() * 4)]; n++ }
    entries = 2 + int(rand() * 7)
    for (i = 0; i < entries && n < lines; i++) {
      line = ""
      if (i > 0) line = ops[1 + int(rand() * 7)]
      if (line == "*" || line == "/") amount = 2 + int(rand() * 4)
      else if (rand() < 0.5) amount = int(rand() * 500) + 1
      else amount = sprintf("%d.%02d", int(rand() * 10000), int(rand() * 100))
      line = line amount
      if (i > 0 && rand() < 0.125) line = line "%"
      if (rand() < 0.25) line = line " " comment[1 + int(rand() * 5)]
      print line; n++
    }
    if (n < lines) { print (rand() < 0.5 ? "===" : "---"); n++ }
    if (n < lines) { print ""; n++ }
  }
}' >"$work/typed.nvx"

"$tool" "${options[@]}" "$work/typed.nvx" >"$work/tape.nvx"
if ! "$tool" "${options[@]}" --check "$work/tape.nvx" >/dev/null; then
  echo "bench_check: the generated tape is not canonical" >&2
  exit 1
fi
count=$(wc -l <"$work/tape.nvx")
size=$(wc -c <"$work/tape.nvx")
awk_path=$(readlink -f "$(command -v awk)")

# Seconds of one run of the command, output discarded.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))  # microseconds
}

best_check=""
best_awk=""
cat "$work/tape.nvx" >/dev/null  # both commands start from a warm page cache
for ((i = 1; i <= reps; i++)); do
  t=$(seconds "$tool" "${options[@]}" --check "$work/tape.nvx")
  [[ -z $best_check || $t -lt $best_check ]] && best_check=$t
  t=$(seconds awk '{s+=$2} END{print s}' "$work/tape.nvx")
  [[ -z $best_awk || $t -lt $best_awk ]] && best_awk=$t
done

awk -v c="$best_check" -v a="$best_awk" -v n="$count" -v b="$size" -v r="$reps" \
  -v awkname="$awk_path" -v target="$target_ratio" 'BEGIN {
  printf "tape: %d lines, %.1f MB (canonical)\n", n, b / 1e6
  printf "numvex-tape --check   %8.3f s   %6.0f ns/line   (best of %d)\n", c / 1e6, c * 1000 / n, r
  printf "awk (%s) %8.3f s   %6.0f ns/line   (best of %d)\n", awkname, a / 1e6, a * 1000 / n, r
  ratio = c / a
  printf "ratio: %.2f (target: at most %d) -> %s\n", ratio, target, ratio <= target ? "met" : "missed"
}'
