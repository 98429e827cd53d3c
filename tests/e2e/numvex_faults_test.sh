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
# plays the full disk. Exits 77 (skipped) when Xvfb, xdotool or unshare is missing.
# NUMVEX_FAULTS_SEED repeats a run's random moments.

set -u
NUMVEX=$(realpath "$1")
TAPE_TOOL=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
need_tools xdotool unshare
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

# The clock, the pauses and the looks that time a write start no process: they keep up with it.
tick() { NOW=$((${EPOCHREALTIME/[.,]/} / 1000)); }  # NOW: milliseconds
exec {NAP}<> <(:)
pause_ms() { local s; printf -v s '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); read -rt "$s" -u "$NAP"; }
leftover_in() { compgen -G "$1/.*.numvex-save-*" >/dev/null; }  # DIR: a temporary is there
# outcome FILE: "old" or "new" when FILE holds $WORK/old or $WORK/new, else "partial".
outcome() { cmp -s "$1" "$WORK/old" && echo old || { cmp -s "$1" "$WORK/new" && echo new || echo partial; }; }
# box_text TITLE: once the program shows a message box titled TITLE (given the focus), what the
# program wrote since the last call (an error message also goes to standard error).
box_text() {
  local title=$1 box
  box=$(wait_for 50 eval 'xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$title\$" | head -n 1 | grep .') &&
    timeout 5 xdotool windowfocus --sync "$box" && cat "$WORK/app.log" && : >"$WORK/app.log"
}
# close_box: Enter on the focused box; the focus goes back to the main window.
close_box() { keys Return && timeout 5 xdotool windowfocus --sync "$WIN"; }

# A tape of some megabytes that recalculation changes on every line.
awk 'BEGIN { for (i = 0; i < 40000; i++) printf "%d\n+%d.5  item %d\n===\n", i, i % 97, i }' \
  >"$WORK/old"

# Writers killed: the first write of a series runs undisturbed and is timed from its start, to
# WRITING ms when its temporary was first seen and DONE ms when the file was replaced. The others
# are killed at random moments: odd ones anywhere from the start to a fifth beyond the end, even
# ones at a random time into the writing of their temporary, once it is seen. A series of N goes
# on up to 2N kills while one before, after or while writing is still missing.
# time_write DIR FILE WAS START: waits until FILE is no longer the file WAS; sets the two.
time_write() {
  WRITING=
  while tick && ((NOW - $4 < 20000)); do
    [[ -z $WRITING ]] && leftover_in "$1" && WRITING=$((NOW - $4))
    [[ $2 -ef $3 ]] || { DONE=$((NOW - $4)) WRITING=${WRITING:-0}; return; }
    pause_ms 2
  done
  return 1
}
# kill_writer I PID DIR FILE WAS: the I-th kill of PID, writing FILE over WAS in DIR; the delay
# after the start (odd I) or after the temporary was seen (even I) is in $delay.
kill_writer() {
  local n
  if (($1 % 2)); then delay=$((RANDOM % (DONE * 6 / 5 + 1))); else
    delay=$((RANDOM % (DONE - WRITING + 1)))
    for ((n = 0; n < 5000; n++)); do
      leftover_in "$3" || [[ ! $4 -ef $5 ]] || ! kill -0 "$2" 2>/dev/null && break
      pause_ms 2
    done
  fi
  pause_ms "$delay"
  kill -KILL "$2" 2>/dev/null
}
more() {  # I N: whether the I-th kill belongs to the series
  (($1 <= $2)) || { [[ $left == 0 || $seen != *old* || $seen != *new* ]] && (($1 <= 2 * $2)); }
}
# tally DIR FILE DELAY: counts the outcome of a kill in $seen and $left; false for a mix.
tally() {
  local result
  result=$(outcome "$2")
  [[ $result != partial ]] || { why="killed after $3 ms: a partial file"; return 1; }
  [[ $seen == *" $result "* ]] || seen+="$result "
  if leftover_in "$1"; then left=$((left + 1)); fi
}

# numvex-tape --in-place on a tape of some megabytes, killed 40 times.
case_tape_killed() {
  local name='numvex-tape --in-place killed: old or new file, leftovers removed' dir=$WORK/tape
  local file=$dir/t.nvx start i delay seen=' ' left=0 why=
  mkdir "$dir"
  cp "$WORK/old" "$file" && ln -f "$file" "$WORK/was" && tick && start=$NOW
  "$TAPE_TOOL" --in-place "$file" &
  time_write "$dir" "$file" "$WORK/was" "$start" && wait $! ||
    { fail "$name" "an undisturbed run failed"; return; }
  cp "$file" "$WORK/new"
  for ((i = 1; ; i++)); do
    more $i 40 || break
    cp "$WORK/old" "$file" && ln -f "$file" "$WORK/was"
    "$TAPE_TOOL" --in-place "$file" &
    kill_writer $i $! "$dir" "$file" "$WORK/was"
    wait $! 2>/dev/null
    tally "$dir" "$file" "$delay" || break
  done
  "$TAPE_TOOL" --in-place "$file"
  echo "note  runs of $DONE ms (writing from $WRITING) killed $((i - 1)) times: outcomes$seen, $left while writing"
  expect "$name" '[[ -z $why && $seen == *old* && $seen == *new* && $left -gt 0 &&
    $(outcome "$file") == new ]] && ! leftover_in "$dir"' "$why"
}

# A save in the window, Ctrl+S on a large edited tape, killed 8 times.
case_save_killed() {
  local name='save in the window killed: old or new file, leftovers removed' dir=$WORK/save
  local file=$dir/t.nvx start i delay=0 seen=' ' left=0 why=
  mkdir "$dir"
  # Tapes as numvex-tape wrote them open unchanged; the edit is an "x" on the first line.
  cat "$WORK/new" "$WORK/new" >"$WORK/old"
  for ((i = 0; ; i++)); do
    ((i == 0)) || more $i 8 || break
    cp "$WORK/old" "$file" && ln -f "$file" "$WORK/was"
    start_app "$file" ||
      { fail "$name" "the window did not appear: $(tail -n 3 "$WORK/app.log")"; stop_app; return; }
    keys ctrl+Home x && tick && start=$NOW
    xdotool key ctrl+s 2>/dev/null &
    if ((i == 0)); then
      time_write "$dir" "$file" "$WORK/was" "$start" || { fail "$name" "no save"; return; }
    else
      kill_writer $i "$APP_PID" "$dir" "$file" "$WORK/was"
    fi
    kill -KILL "$APP_PID" && wait_app_end 5 && wait
    APP_PID=
    ((i == 0)) && cp "$file" "$WORK/new"
    tally "$dir" "$file" "$delay" || break
  done
  start_app "$file" && keys ctrl+Home x && xdotool key ctrl+s &&
    wait_for 300 eval '[[ $(caption) != *"*]" ]]'
  stop_app
  echo "note  saves of $DONE ms (writing from $WRITING) killed $((i - 1)) times: outcomes$seen, $left while writing"
  expect "$name" '[[ -z $why && $seen == *old* && $seen == *new* && $left -gt 0 &&
    $(head -c 1 "$WORK/new") == x ]] && ! leftover_in "$dir"' "$why"
}

# A full disk (a small tmpfs) under a tape and the settings: numvex-tape and a save in the window
# fail with the system's reason and leave the file; the settings write a Save as elsewhere makes
# fails the same way and is reported; the program goes on and saves where there is room.
case_full_disk() {
  local name='full disk: refused writes reported, originals kept, the program goes on'
  local dir=$WORK/full text why=
  mkdir "$dir"
  mount -t tmpfs -o size=256k tmpfs "$dir" 2>/dev/null || { skip "$name" "no tmpfs mounted"; return; }
  printf '1\n+2\n' >"$dir/t.nvx" && : >"$dir/d.nvx"
  local HIVE=$dir/hkcu.reg
  start_app "$dir/d.nvx" || { fail "$name" "no window"; stop_app; umount "$dir"; return; }
  cp "$HIVE" "$WORK/hive-before"
  head -c 1M /dev/zero >"$dir/filler" 2>/dev/null
  text=$("$TAPE_TOOL" --in-place "$dir/t.nvx" 2>&1) && why+=" numvex-tape succeeded;"
  [[ $text == "numvex-tape: cannot write '$dir/t.nvx': No space left on device" ]] ||
    why+=" numvex-tape said '$text';"
  keys KP_1 KP_Add KP_2 KP_Enter ctrl+s
  text=$(box_text 'Fatal Error')
  [[ $text == *"No space left on device"* ]] || why+=" the save showed '$text';"
  close_box
  [[ $(caption) == *"d.nvx*]" ]] || why+=" after the failed save the caption is '$(caption)';"
  # Save as into a folder with room: the settings (the folder chosen) cannot be written.
  keys alt+f Down Down Down Return
  text=$(wait_for 50 eval 'xdotool search --all --onlyvisible --pid "$APP_PID" --name "^Save Numvex file$" | head -n 1 | grep .') &&
    timeout 5 xdotool windowfocus --sync "$text" && keys ctrl+a && type_text "$WORK/saved.nvx" &&
    keys Return
  text=$(box_text Numvex)
  [[ $text == *"Cannot save the setting"*"No space left on device"* ]] ||
    why+=" the settings write showed '$text';"
  close_box
  keys KP_7 ctrl+s
  wait_for 50 eval '[[ $(tail -n 1 "$WORK/saved.nvx" 2>/dev/null) == 7* ]]' ||
    why+=" typing and saving after the errors did not reach $WORK/saved.nvx;"
  stop_app
  [[ ! -s $dir/d.nvx && $(cat "$dir/t.nvx") == $'1\n+2' ]] && cmp -s "$HIVE" "$WORK/hive-before" &&
    ! leftover_in "$dir" || why+=" the originals changed or temporaries stayed: $(ls -a "$dir");"
  umount "$dir"
  expect "$name" '[[ -z $why ]]' "$why"
}

# A settings file of garbage is put aside as hkcu.reg.damaged-..., reported once, and the
# program comes up; a pipe in its place (root reads any file, not a pipe) is reported and the
# program runs on first-start values without writing a settings file.
case_damaged_and_unreadable_hive() {
  local name='settings file damaged, then a pipe: reported, the program runs' why= text
  local dir=$WORK/settings HIVE=$WORK/settings/hkcu.reg
  mkdir "$dir" && : >"$WORK/empty.nvx"
  { cat "$HOME_DIR/hkcu.reg"; printf 'garbage\r\n'; } >"$WORK/garbage" && cp "$WORK/garbage" "$HIVE"
  launch_app "$WORK/empty.nvx"
  text=$(box_text Numvex)
  [[ $text == *"damaged and has been kept as $HIVE.damaged-"* ]] || why+=" the report was '$text';"
  keys Return
  focus_main || why+=" no window;"
  cmp -s "$WORK/garbage" "$HIVE".damaged-* || why+=" the damaged file was not kept as it was;"
  grep -q 'First start' "$HIVE" || why+=" nothing was read from the damaged file;"
  stop_app
  grep -q garbage "$HIVE" && why+=" the garbage is still read;"
  rm -rf "$dir" && mkdir "$dir" && mkfifo "$HIVE"
  launch_app "$WORK/empty.nvx"
  text=$(box_text Numvex)
  [[ $text == *"could not be read"*"not a regular file"* ]] || why+=" the pipe gave '$text';"
  keys Return
  focus_main && keys KP_4 KP_5 KP_Add && [[ $(caption) == *"*]" ]] ||
    why+=" no window beside a pipe, or typing there changed nothing;"
  stop_app
  [[ -p $HIVE && $(ls "$dir") == hkcu.reg$'\n'hkcu.reg.lock ]] || why+=" written: $(ls "$dir");"
  expect "$name" '[[ -z $why ]]' "$why"
}

case_tape_killed
case_save_killed
case_full_disk
case_damaged_and_unreadable_hive
summary
