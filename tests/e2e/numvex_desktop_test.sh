#!/usr/bin/env bash
# End-to-end checks of the desktop program under a real X server: numvex runs in Xvfb
# with a US keyboard layout and is driven by real key presses and mouse clicks sent
# through xdotool, the way a user works a tape. Every case saves with Ctrl+S, checks the
# saved bytes and that numvex-tape finds the tape fully recalculated, and closes the
# program through File > Quit, which must end it normally.
#
#   numvex_desktop_test.sh PATH-TO-NUMVEX [PATH-TO-NUMVEX-TAPE]
#
# numvex-tape defaults to the one beside numvex. Exits 77 (skipped) when Xvfb, xauth,
# xdotool, ImageMagick's import or pdftotext is missing. Prints one line per case and closes with
# "N passed, M failed".

set -u

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 PATH-TO-NUMVEX [PATH-TO-NUMVEX-TAPE]" >&2
  exit 2
fi
NUMVEX=$(realpath "$1")
TAPE_TOOL=$(realpath "${2:-$(dirname "$1")/numvex-tape}")

source "$(dirname "$0")/lib.sh"
need_tools xdotool import pdftotext
on_xvfb "$0" "$@"

make_work numvex-desktop
cleanup() {
  if [[ -n $APP_PID ]]; then kill "$APP_PID" 2>/dev/null; fi
}

if command -v setxkbmap >/dev/null 2>&1; then
  setxkbmap us || echo "note: setxkbmap us failed, keeping the server's default layout"
fi

make_home

# chord MODIFIER KEY: KEY struck while MODIFIER is held down, let go in the order a hand
# does it (xdotool's "key shift+KEY" releases Shift before KEY, and the program reads the
# shift state of Enter at its release).
chord() { xdotool keydown "$1" keydown "$2" keyup "$2" keyup "$1" && sleep 0.15; }

# Keypad geometry. The keypad column is the window's right-most 178 pixels below the menu
# bar; its panel of keys sits at 4,3 in it, the keys are 38 pixels square on a 40-pixel
# grid starting at 4,6 in the panel. The top of the column (the menu bar's height) is
# read from the window itself: the navy shadow behind the panel starts 12 pixels below
# it and is the only thing in the column 5 pixels from the window's right edge.
KEYPAD_X=
KEYPAD_Y=
locate_keypad() {
  local x y width height top
  eval "$(xdotool getwindowgeometry --shell "$WIN" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  x=$X y=$Y width=$WIDTH height=$HEIGHT
  top=$(import -window "$WIN" -depth 8 -crop "1x${height}+$((width - 5))+0" txt:- 2>/dev/null |
    awk -F'[,:]' '/#000080/ { print $2; exit }')
  [[ -n $top ]] || return 1
  top=$((top - 12))
  KEYPAD_X=$((x + width - 178 + 4))
  KEYPAD_Y=$((y + top + 3))
}

# click_key NAME: a left click in the middle of a keypad key.
click_key() {
  local row col rows=1 cols=1
  case $1 in
    C) row=1 col=1 ;;
    /) row=1 col=2 ;;
    x) row=1 col=3 ;;
    -) row=1 col=4 ;;
    7 | 8 | 9) row=2 col=$(($1 - 6)) ;;
    4 | 5 | 6) row=3 col=$(($1 - 3)) ;;
    1 | 2 | 3) row=4 col=$1 ;;
    +) row=2 col=4 rows=2 ;;
    =) row=4 col=4 rows=2 ;;
    0) row=5 col=1 cols=2 ;;
    .) row=5 col=3 ;;
  esac
  local px=$((KEYPAD_X + 4 + (col - 1) * 40 + (38 + (cols - 1) * 40) / 2))
  local py=$((KEYPAD_Y + 6 + (row - 1) * 40 + (38 + (rows - 1) * 40) / 2))
  xdotool mousemove --sync "$px" "$py" click 1
  sleep 0.15
}

# ---------------------------------------------------------------------------------------
# Checks. Each returns non-zero with a reason in $why.

why=
identity() { stat -c '%i %y %s' "$1" 2>/dev/null; }

# save FILE: Ctrl+S, then waits until the file was written and the caption shows the
# document unchanged.
save() {
  local file=$1 before
  before=$(identity "$file")
  xdotool key ctrl+s
  # Saved: the file changed and the caption shows the document unchanged.
  if ! wait_for 100 eval '[[ $(identity "$file") != "$before" && $(caption) != *"*]"* ]] || app_ended' ||
    app_ended; then
    why="Ctrl+S did not save (caption: '$(caption)')"
    return 1
  fi
}

# check_bytes FILE EXPECTED: the file holds exactly EXPECTED.
check_bytes() {
  printf '%s' "$2" >"$WORK/expected"
  if ! cmp -s "$1" "$WORK/expected"; then
    why=$'saved file differs from the expected tape\n--- expected\n'$(cat -A "$WORK/expected")
    why+=$'\n--- saved\n'$(cat -A "$1")
    return 1
  fi
}

# check_tape FILE: numvex-tape finds nothing left to recalculate.
check_tape() {
  local out
  if ! out=$(LC_ALL=C "$TAPE_TOOL" --check "$1" 2>&1); then
    why="numvex-tape --check: $out"
    return 1
  fi
}

# check_alive: the program runs and answers (its window still has a name).
check_alive() {
  if app_ended; then
    why="the program ended (status $(cat "$WORK/app.rc"))"
    return 1
  fi
  if [[ -z $(caption) ]]; then
    why="the main window is gone"
    return 1
  fi
}

# open_quit: File > Quit from the keyboard (Alt+F opens the menu on its first item, Up
# wraps to the last one, Quit).
open_quit() {
  xdotool key alt+f
  sleep 0.3
  keys Up Return
}

# quit_clean: quits a saved document; the program must end at once with status 0.
quit_clean() {
  open_quit
  if ! wait_app_end 10; then
    if [[ -n $(question_box) ]]; then
      why="File > Quit asked to save a document that was just saved"
    else
      why="File > Quit did not end the program"
    fi
    return 1
  fi
  local rc
  rc=$(cat "$WORK/app.rc")
  if [[ $rc != 0 ]]; then
    why="the program exited with status $rc"
    ((rc > 128)) && why+=" (signal $((rc - 128)))"
    return 1
  fi
  APP_PID=
}

# question_box: the window id of the open "Save changes?" box, if any.
question_box() {
  xdotool search --all --onlyvisible --pid "$APP_PID" --name '^Numvex' 2>/dev/null | head -n 1
}

# wait_question: waits up to five seconds for the question box and prints its window id.
wait_question() { wait_for 50 eval 'question_box | grep . || app_ended'; }

# finish NAME FILE EXPECTED: save, check bytes and tape, check the program, quit.
finish() {
  if save "$2" && check_bytes "$2" "$3" && check_tape "$2" && check_alive && quit_clean; then
    pass "$1"
  else
    fail "$1" "$why"
  fi
  stop_app
}

# begin NAME FILE: starts the program on FILE; false (and a failed case) when it does not
# come up.
begin() {
  start_app "$2" && return
  fail "$1" "the main window did not appear: $(tail -n 5 "$WORK/app.log" 2>/dev/null)"
  stop_app
  return 1
}

# ---------------------------------------------------------------------------------------
# Cases.

SEP='      ----------------'
TAB=$'\t'

# The numeric keypad: 45 + 12 Enter gives the canonical tape; the caret ends on the empty
# line under the result (the "x" typed afterwards lands there).
case_numeric_keypad() {
  local name="numeric keypad: 45 + 12 Enter" file=$WORK/keypad.nvx
  : >"$file"
  begin "$name" "$file" || return
  keys KP_4 KP_5 KP_Add KP_1 KP_2 KP_Enter
  type_text x
  finish "$name" "$file" \
    "      +          45.00
      +          12.00
$SEP
      +          57.00
x
"
}

# The main keyboard on a US layout: "-" and "/" need no Shift and open the next entry
# line; "+" is Shift+"=" and stays in its line as text after the amount (a comment).
case_main_keyboard() {
  local name='main keyboard: 45 - 12 Enter, 5 Shift+= 2 Enter, 90 / 4 Enter' file=$WORK/main.nvx
  : >"$file"
  begin "$name" "$file" || return
  keys 4 5 minus 1 2 Return
  keys 5
  chord shift equal
  keys 2 Return 9 0 slash 4 Return
  type_text x
  finish "$name" "$file" \
    "      +          45.00
      -          12.00
$SEP
      +          33.00
      +           5.00  +2
$SEP
      +          38.00
      +          90.00
      /           4.00
$SEP
      +          60.50
x
"
}

# Shift+Enter only breaks the line: no separator, no result. The key release after the
# line break (Shift's) finds the caret off the edited line and reformats the run. Auto
# indent (on by default, tab width 4, tabs kept) starts the new line with the indentation
# of the one above, six columns as a tab and two blanks, so the "x" typed there stands
# behind it.
case_shift_return() {
  local name='Shift+Enter breaks the line only' file=$WORK/shift.nvx
  : >"$file"
  begin "$name" "$file" || return
  keys KP_4 KP_5 KP_Add KP_1 KP_2
  chord shift Return
  type_text x
  finish "$name" "$file" \
    "      +          45.00
      +          12.00
${TAB}  x
"
}

# Mouse clicks on the on-screen keypad: 7 + 8 = gives 15. A text copied before the clicks
# is still on the clipboard afterwards.
case_keypad_clicks() {
  local name='keypad clicks: 7 + 8 = and the clipboard kept' file=$WORK/clicks.nvx
  printf 'note 42\n' >"$file"
  begin "$name" "$file" || return
  if ! locate_keypad; then
    fail "$name" "the keypad's navy shadow was not found in the window"
    stop_app
    return
  fi
  chord shift End
  keys ctrl+c End Return
  click_key 7
  click_key +
  click_key 8
  click_key =
  keys ctrl+v
  finish "$name" "$file" \
    "note 42
      +           7.00
      +           8.00
$SEP
      +          15.00
note 42
"
}

# A correction: an amount changed in a saved tape; leaving its line with Down
# recalculates the result.
case_correction() {
  local name='correction: 12 changed to 30, Down recalculates' file=$WORK/correct.nvx
  printf '%s\n' '      +          45.00' '      +          12.00' "$SEP" \
    '      +          57.00' >"$file"
  begin "$name" "$file" || return
  keys Down End BackSpace BackSpace BackSpace BackSpace BackSpace
  type_text 30
  keys Down
  finish "$name" "$file" \
    "      +          45.00
      +          30.00
$SEP
      +          75.00
"
}

# Closing with unsaved changes asks "Save changes?": Escape (Cancel) keeps the program
# and the document; the second time Enter (Yes, the default) saves and the program ends.
case_close_question() {
  local name='closing with changes: Cancel keeps, Yes saves and ends' file=$WORK/close.nvx box
  : >"$file"
  begin "$name" "$file" || return
  keys KP_1 KP_Add KP_2 KP_Enter
  open_quit
  box=$(wait_question)
  why="File > Quit with unsaved changes showed no question"
  if [[ -n $box ]] && timeout 5 xdotool windowfocus --sync "$box" && keys Escape; then
    why="Escape did not close the question, or the program or its change went away"
    if wait_for 50 eval '[[ -z $(question_box) ]]' && check_alive && [[ $(caption) == *'*]'* &&
      ! -s $file ]]; then
      # Without a window manager nobody hands the focus back when the box closes.
      timeout 5 xdotool windowfocus --sync "$WIN"
      open_quit
      box=$(wait_question)
      why="Yes to the second question did not save and end the program normally"
      [[ -n $box ]] && timeout 5 xdotool windowfocus --sync "$box" && keys Return &&
        wait_app_end 10 && [[ $(cat "$WORK/app.rc") == 0 ]] && why=
    fi
  fi
  if [[ -z $why ]] && check_bytes "$file" "      +           1.00
      +           2.00
$SEP
      +           3.00

" && check_tape "$file"; then
    pass "$name"
  else
    fail "$name" "$why"
  fi
  stop_app
}

# File > Open from the keyboard: Ctrl+O, the path typed into the dialog, Enter; the tape
# typed into the opened file is saved there.
case_open_dialog() {
  local name='Ctrl+O opens the file typed into the dialog' file=$WORK/opened.nvx dialog
  : >"$WORK/first.nvx"
  : >"$file"
  begin "$name" "$WORK/first.nvx" || return
  keys ctrl+o
  dialog=$(wait_for 50 eval 'xdotool search --all --onlyvisible --pid "$APP_PID" --name "^Open Numvex" | head -n 1 | grep .')
  [[ -n $dialog ]] && timeout 5 xdotool windowfocus --sync "$dialog" && type_text "$file" &&
    keys Return && wait_for 50 eval '[[ $(caption) == *opened.nvx* ]]' ||
    { fail "$name" "no dialog, or it did not open the file: '$(caption)'"; stop_app; return; }
  timeout 5 xdotool windowfocus --sync "$WIN"
  keys KP_9 KP_Add KP_1 KP_Enter
  finish "$name" "$file" "      +           9.00
      +           1.00
$SEP
      +          10.00

"
}

# File > Print from the keyboard into Qt's print dialog, whose first printer here is
# "Print to File (PDF)" with the output file in the home folder: Enter prints.
case_print_pdf() {
  local name='File > Print to a PDF through the print dialog' file=$WORK/print.nvx dialog text
  printf '%s\n' '      +          45.00' >"$file"
  begin "$name" "$file" || return
  keys alt+f Down Down Down Down Return  # New, Open, Save, Save as, Print
  dialog=$(wait_for 50 eval 'xdotool search --all --onlyvisible --pid "$APP_PID" --name "^Print$" | head -n 1 | grep .')
  [[ -n $dialog ]] && timeout 5 xdotool windowfocus --sync "$dialog" && keys Return &&
    wait_for 100 test -s "$HOME_DIR/print.pdf" && sleep 0.5
  text=$(pdftotext -layout "$HOME_DIR/print.pdf" - 2>&1 | tr '\n' ' ')
  if [[ $text != *"Printed by"*45.00*print.nvx* ]]; then
    fail "$name" "no PDF with the header, the tape and the path: ${text:0:300}"
  elif timeout 5 xdotool windowfocus --sync "$WIN" && check_alive && quit_clean; then
    pass "$name"
  else
    fail "$name" "$why"
  fi
  stop_app
}

# Settings last: the hive holds the settings, the window's place and the document given up
# at closing; the desktop knows ".nvx"; the next start comes up where the window was left.
case_settings_last() {
  local name='settings: place and recent file kept, .nvx registered' file=$WORK/last.nvx
  local hive=$HOME_DIR/hkcu.reg X Y
  : >"$file"
  begin "$name" "$file" || return
  xdotool windowmove --sync "$WIN" 150 120 && sleep 0.3
  quit_clean || { fail "$name" "$why"; stop_app; return; }
  why=
  grep -q '^"LRU1"=".*last.nvx"' "$hive" || why="LRU1 is not the document given up"
  grep -q '^"Left"="150"' "$hive" || why+=" the stored left edge is not 150"
  grep -q 'MimeType=application/x-numvex-tape;' "$HOME_DIR/data/applications/numvex.desktop" ||
    why+=" no desktop entry for .nvx"
  if [[ -n $why ]]; then
    fail "$name" "$why: $(tr -d '\r' <"$hive" | head -c 1500)"
    return
  fi
  begin "$name" "$file" || return
  eval "$(xdotool getwindowgeometry --shell "$WIN" | grep -E '^(X|Y)=')"
  if [[ $X == 150 && $Y == 120 ]] && quit_clean; then
    pass "$name"
  else
    fail "$name" "${why:-the window came back at $X,$Y}"
  fi
  stop_app
}

case_numeric_keypad
case_print_pdf
case_open_dialog
case_settings_last
case_main_keyboard
case_shift_return
case_keypad_clicks
case_correction
case_close_question

summary
