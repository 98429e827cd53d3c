#!/usr/bin/env bash
# Large documents in the real program, and numvex-tape against awk.
#
#   bench/large_documents.sh [BUILD_DIR]       (default: build)
#
# Generates into a temporary folder (fixed seed, the same bytes on every run):
#   typed-tape.nvx  a 1 M-line tape as people type it (headings, entries, comments, separators)
#   c-like.c        a ~117 MB, 2 M-line C-like text (text-editor mode, C++ highlighting);
#                   c-like.txt is the same file under the plain-text highlighter
#   digits.nvx      one line of 10 M digits
# then starts Xvfb and opens each with bench_open_document on the xcb platform (see
# bench/open_document.cpp for what is timed), under /usr/bin/time for the whole process's
# peak memory, RUNS (default 3) times; the figures are those of the run that opened fastest.
# Last, numvex-tape recalculates the typed tape against awk '{s+=$2}' on the same file: best of
# RUNS wall times, and peak memory.
# Targets: opening <= 1000 ms, scroll and keys <= 16 ms, peak memory <= 3x the file;
# numvex-tape <= 2x awk's time and <= 3x the file.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-3}
bench="$build/bin/bench_open_document"
tape_tool="$build/bin/numvex-tape"
for program in "$bench" "$tape_tool" Xvfb /usr/bin/time awk; do
  command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 2; }
done

work=$(mktemp -d /tmp/numvex-large-XXXXXX)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$bench" generate "$work"
ln -s c-like.c "$work/c-like.txt"
sync  # the new files' write-back would otherwise run beside the first measurements

# A private X server; Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=$(cat "$work/display")
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 2; }

# A private home: no settings of the user's are read or written.
run_env=(env -i PATH="$PATH" HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
         XDG_DATA_HOME="$work/home/data" XDG_RUNTIME_DIR="$work/home" LC_ALL=C
         NUMVEX_REGISTRY="$work/home/hkcu.reg" DISPLAY=":$display" QT_QPA_PLATFORM=xcb)
mkdir -p "$work/home"
chmod 700 "$work/home"

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

printf '%-15s %9s %8s %8s %8s %8s %9s %8s %9s %9s %6s\n' document size_mb open_ms main_ms \
  jump_ms page_ms keys_max keys_ms styled_ms peak_mb x_file
for name in typed-tape.nvx c-like.c c-like.txt digits.nvx; do
  file="$work/$name"
  size=$(stat -L -c %s "$file")
  get() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$out"; }
  # The run that opened fastest of $runs, with its own peak memory.
  best=
  for _ in $(seq "$runs"); do
    out=$("${run_env[@]}" /usr/bin/time -f 'peak_kb=%M' -o "$work/time.txt" "$bench" open "$file")
    if [ -z "$best" ] || [ "$(get open_ms)" -lt "$(sed -n 's/.*\bopen_ms=\([^ ]*\).*/\1/p' <<<"$best")" ]; then
      best=$out
      peak_kb=$(sed -n 's/^peak_kb=//p' "$work/time.txt")
    fi
  done
  out=$best
  printf '%-15s %9s %8s %8s %8s %8s %9s %8s %9s %9s %6s\n' "$name" "$(mb "$size")" "$(get open_ms)" \
    "$(get main_ms)" "$(get jump_ms)" "$(get page_ms)" "$(get keys_max_ms)" "$(get keys_ms)" \
    "$(get styled_ms)" \
    "$(mb $((peak_kb * 1024)))" "$(awk -v p="$peak_kb" -v s="$size" 'BEGIN { printf "%.2f", p * 1024 / s }')"
done

# numvex-tape against awk: best wall time of $runs, peak memory of the last run.
best_of() {  # prints "seconds peak_kb" of the fastest run of the command
  local best= peak= start end
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/time.txt" "$@" >/dev/null
    end=$(date +%s%N)
    if [ -z "$best" ] || [ $((end - start)) -lt "$best" ]; then best=$((end - start)); fi
    peak=$(cat "$work/time.txt")
  done
  echo "$(awk -v n="$best" 'BEGIN { printf "%.3f", n / 1e9 }') $peak"
}
tape="$work/typed-tape.nvx"
size=$(stat -c %s "$tape")
read -r tool_s tool_kb < <(best_of "${run_env[@]}" "$tape_tool" "$tape")
read -r awk_s awk_kb < <(best_of awk '{s+=$2} END {print s}' "$tape")
echo
echo "numvex-tape on typed-tape.nvx ($(mb "$size") MB): ${tool_s} s, peak $(mb $((tool_kb * 1024))) MB"
echo "awk '{s+=\$2}' on the same file: ${awk_s} s, peak $(mb $((awk_kb * 1024))) MB"
awk -v t="$tool_s" -v a="$awk_s" -v k="$tool_kb" -v s="$size" \
  'BEGIN { printf "time ratio to awk: %.2f   peak memory / file size: %.2f\n", t / a, k * 1024 / s }'
