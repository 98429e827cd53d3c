#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ (clang, NUMVEX_FUZZ) and runs them two at a
# time, each for the given number of seconds (default 60), from a copy of its seed corpus in
# fuzz/corpus/<target>/ kept under build-fuzz/fuzz-work/.
#   [FUZZ_JOBS=N] scripts/fuzz.sh [seconds-per-target] [target...]
# Prints each target's executions per second and total executions; exits non-zero when a
# target found a crash, a leak, a timeout or a failed property, and says where the input is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
if [ $# -gt 0 ]; then shift; fi
all=(fuzz_amount_line fuzz_recalc fuzz_keypad fuzz_highlight fuzz_hive)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=("${all[@]}"); fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DNUMVEX_FUZZ=ON -DNUMVEX_GUI=OFF \
  -DNUMVEX_BENCH=OFF -DBUILD_TESTING=OFF -DNUMVEX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! cmake --build build-fuzz -j2 --target "${targets[@]}" >build-fuzz/build.log 2>&1; then
  cat build-fuzz/build.log
  exit 1
fi

work=$root/build-fuzz/fuzz-work
run_one() {
  local target=$1 dir=$work/$1
  rm -rf "$dir"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp "$root/fuzz/corpus/$target/"* "$dir/corpus/"
  local max_len=4096 dict=()
  case $target in
    fuzz_amount_line) max_len=512 ;;
    fuzz_hive) max_len=2048 ;;
  esac
  case $target in
    fuzz_amount_line | fuzz_recalc | fuzz_keypad) dict=(-dict="$root/fuzz/tape.dict") ;;
    fuzz_hive) dict=(-dict="$root/fuzz/reg.dict") ;;
  esac
  local status=0
  "$root/build-fuzz/bin/$target" "$dir/corpus" "${dict[@]}" -max_total_time="$seconds" \
    -max_len=$max_len -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" >"$dir/log" 2>&1 || status=$?
  echo "$status" >"$dir/status"
}

# Two at a time by default, one a core; FUZZ_JOBS=5 runs every target at once, each for the
# whole time with a share of the cores (as CI does, to keep its run short).
parallel=${FUZZ_JOBS:-2}
running=0
for target in "${targets[@]}"; do
  if [ $running -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  echo "fuzzing $target for ${seconds}s"
  run_one "$target" &
  running=$((running + 1))
done
wait

failed=0
printf '%-18s %12s %16s %s\n' target exec/s executions result
for target in "${targets[@]}"; do
  dir=$work/$target
  status=$(cat "$dir/status")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  found=$(find "$dir/artifacts" -type f | sort)
  result=ok
  if [ "$status" != 0 ] || [ -n "$found" ]; then
    result="FAILED (exit $status)"
    failed=1
  fi
  printf '%-18s %12s %16s %s\n' "$target" "${rate:-?}" "${runs:-?}" "$result"
  if [ "$result" != ok ]; then
    grep -m 5 -E 'property failed|ERROR: |SUMMARY: ' "$dir/log" | sed 's/^/    /' || true
    for f in $found; do echo "    input saved as $f"; done
    echo "    log: $dir/log"
  fi
done
exit $failed
