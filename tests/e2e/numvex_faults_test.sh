#!/usr/bin/env bash
# Faults from outside while the programs write: numvex-tape --in-place and a save in the window
# killed at random moments, a full disk under the tape and the settings, a settings file turned
# to garbage or out of reach. A killed write leaves the old file or the new one, never a mix,
# and its leftover is removed by the next save of the file; a refused write is reported and
# leaves the original as it was, and the program goes on.
#
#   numvex_faults_test.sh PATH-TO-NUMVEX PATH-TO-NUMVEX-TAPE
#
# Runs in a private mount namespace (unshare -m, or -rm when not root) for the small tmpfs that
# plays the full disk. Exits 77 (skipped) when Xvfb, xdotool, xclip or unshare is missing.
# NUMVEX_FAULTS_SEED repeats a run's random moments.

set -u
NUMVEX=$(realpath "$1")
TAPE_TOOL=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
need_tools xdotool xclip unshare
on_xvfb "$0" "$@"
if [[ -z ${NUMVEX_OWN_MOUNTS:-} ]]; then
  own=(-m)
  [[ $(id -u) == 0 ]] || own=(-rm)
  NUMVEX_OWN_MOUNTS=1 exec unshare "${own[@]}" bash "$0" "$@"
fi
make_work numvex-faults
cleanup() { [[ -z $APP_PID ]] || kill -KILL "$APP_PID" 2>/dev/null; }
make_home
export LC_ALL=C
SEED=${NUMVEX_FAULTS_SEED:-$$}
RANDOM=$SEED
echo "note  random moments from NUMVEX_FAULTS_SEED=$SEED"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# pause_ms N: sleeps N milliseconds.
pause_ms() { sleep "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))"; }
# leftovers DIR: the temporaries of saves in DIR.
leftovers() { find "$1" -maxdepth 1 -name '.*.numvex-save-*' | wc -l; }
# outcome FILE: "old" or "new" when FILE holds $WORK/old or $WORK/new, else "partial".
outcome() {
  if cmp -s "$1" "$WORK/old"; then echo old; elif cmp -s "$1" "$WORK/new"; then echo new; else
    echo partial; fi
}
# box_text TITLE: the text of the program's open message box titled TITLE (copied with Ctrl+C).
box_text() {
  local box
  box=$(wait_for 50 eval 'xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$1\$" | head -n 1 | grep .') &&
    timeout 5 xdotool windowfocus --sync "$box" && keys ctrl+c && xclip -selection clipboard -o
}
# close_box: Enter on the focused box; the focus goes back to the main window.
close_box() { keys Return && timeout 5 xdotool windowfocus --sync "$WIN"; }

# A tape of some megabytes that recalculation changes on every line.
awk 'BEGIN { for (i = 0; i < 40000; i++) printf "%d\n+%d.5  item %d\n===\n", i, i % 97, i }' \
  >"$WORK/old"

# numvex-tape --in-place killed at random moments from its start to beyond its end.
case_tape_killed() {
  local name='numvex-tape --in-place killed: old or new file, leftovers removed' dir=$WORK/tape
  local file=$dir/t.nvx start took i delay seen=' ' left=0 result
  mkdir "$dir"
  cp "$WORK/old" "$file"
  start=$(now_ms)
  "$TAPE_TOOL" --in-place "$file" || { fail "$name" "an undisturbed run failed"; return; }
  took=$(($(now_ms) - start))
  cp "$file" "$WORK/new"
  for i in $(seq 40); do
    cp "$WORK/old" "$file"
    delay=$((RANDOM % (took * 6 / 5 + 1)))
    "$TAPE_TOOL" --in-place "$file" &
    pause_ms "$delay"
    kill -KILL $! 2>/dev/null
    wait $! 2>/dev/null
    result=$(outcome "$file")
    [[ $result == partial ]] && { fail "$name" "killed after ${delay} ms: a partial file"; return; }
    [[ $seen == *" $result "* ]] || seen+="$result "
    (($(leftovers "$dir") > 0)) && left=$((left + 1))
  done
  "$TAPE_TOOL" --in-place "$file"
  echo "note  runs of ${took} ms killed 40 times: outcomes$seen, $left while writing"
  expect "$name" '[[ $seen == *old* && $seen == *new* && $left -gt 0 && $(outcome "$file") == new &&
    $(leftovers "$dir") == 0 ]]' "one run takes ${took} ms; outcomes:$seen; kills while writing: $left"
}

# A save in the window killed at random moments: Ctrl+S on a large edited tape.
case_save_killed() {
  local name='save in the window killed: old or new file, leftovers removed' dir=$WORK/save
  local file=$dir/t.nvx start took=0 i delay seen=' ' left=0 result before
  mkdir "$dir"
  # Tapes as numvex-tape wrote them open unchanged; the edit is an "x" on the first line.
  cat "$WORK/new" "$WORK/new" "$WORK/new" "$WORK/new" >"$WORK/old"
  for i in $(seq 0 8); do
    cp "$WORK/old" "$file"
    before=$(stat -c %i "$file")
    start_app "$file" || { fail "$name" "the window did not appear"; stop_app; return; }
    keys ctrl+Home x
    start=$(now_ms)
    xdotool key ctrl+s &
    if ((i == 0)); then
      # Undisturbed: how long a save takes from the key on, and what it writes.
      while [[ $(stat -c %i "$file") == "$before" ]] && (($(now_ms) - start < 10000)); do :; done
      took=$(($(now_ms) - start))
    else
      delay=$((RANDOM % (took * 6 / 5 + 1)))
      pause_ms "$delay"
    fi
    kill -KILL "$APP_PID"
    wait_app_end 5
    wait
    APP_PID=
    ((i == 0)) && cp "$file" "$WORK/new"
    result=$(outcome "$file")
    [[ $result == partial ]] && { fail "$name" "killed ${delay} ms after Ctrl+S: a partial file"; return; }
    [[ $seen == *" $result "* ]] || seen+="$result "
    (($(leftovers "$dir") > 0)) && left=$((left + 1))
  done
  start_app "$file" && keys ctrl+Home x && xdotool key ctrl+s &&
    wait_for 300 eval '[[ $(caption) != *"*]" ]]'
  stop_app
  echo "note  saves of ${took} ms killed 8 times: outcomes$seen, $left while writing"
  expect "$name" '[[ $seen == *old* && $seen == *new* && $left -gt 0 && $(leftovers "$dir") == 0 &&
    $(head -c 1 "$WORK/new") == x ]]' "a save takes ${took} ms; outcomes:$seen; kills while writing: $left"
}

case_tape_killed
case_save_killed
summary
