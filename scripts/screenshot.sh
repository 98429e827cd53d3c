#!/usr/bin/env bash
# Takes the README's screenshots: numvex runs in Xvfb (1024x768x24) on a short tape, more
# entries are typed with real key presses, and the window is captured; then the same program
# shows a C source file in the text editor, highlighted (OUTPUT's folder, text-editor.png).
#
#   scripts/screenshot.sh [PATH-TO-NUMVEX [OUTPUT.png]]
#
# Defaults: build/bin/numvex and docs/screenshot.png. Needs Xvfb, xauth, xdotool and
# ImageMagick (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

NUMVEX=$(realpath "${1:-build/bin/numvex}")
OUT=$(realpath -m "${2:-docs/screenshot.png}")
TAPE_TOOL=$(dirname "$NUMVEX")/numvex-tape

source tests/e2e/lib.sh
need_tools xdotool import
on_xvfb "$(realpath "$0")" "$NUMVEX" "$OUT"
make_work numvex-shot
APP_PID=
cleanup() {
  if [[ -n $APP_PID ]]; then kill "$APP_PID" 2>/dev/null || true; fi
}
setxkbmap us 2>/dev/null || true

# The tape on disk: an invoice with a percentage, then a heading for the entries typed
# below. numvex-tape writes it in the layout the program itself would.
TAPE=$WORK/Household.nvx
cat >"$WORK/raw.nvx" <<'EOF'
Invoice 2026-117
3 hours
* 85.50 per hour
+ 120 travel
---

+ 19% VAT
---


Household, May
EOF
LC_ALL=C "$TAPE_TOOL" "$WORK/raw.nvx" >"$TAPE"

make_home
# start DOCUMENT: numvex on the document (the shared launcher), WIN its focused window.
start() {
  start_app "$1" || { echo "numvex did not show its window" >&2; cat "$WORK/app.log" >&2; exit 1; }
}
start "$TAPE"

# Three entries with comments, typed at the end of the tape; the numeric keypad's "+"
# closes each line, its Enter writes the separator and the total.
xdotool key --delay 30 ctrl+End Return
xdotool type --delay 30 '850 rent'
xdotool key --delay 30 KP_Add
xdotool type --delay 30 '62.40 power'
xdotool key --delay 30 KP_Add
xdotool type --delay 30 '35.99 phone'
xdotool key --delay 30 KP_Enter
sleep 0.5

mkdir -p "$(dirname "$OUT")"
# Without metadata (no time stamps), so that an unchanged window gives the same file.
import -window "$WIN" -strip "png:$OUT"
echo "wrote $OUT ($(stat -c %s "$OUT") bytes)"
kill "$APP_PID"
wait_for 50 eval '! kill -0 "$APP_PID" 2>/dev/null' || true

# The text editor on a C file.
cat >"$WORK/total.c" <<'EOF'
/* Adds the amounts of a tape read from standard input. */
#include <stdio.h>
#include <stdlib.h>

#define MAX_LINE 256

int main(void) {
  char line[MAX_LINE];
  double total = 0.0;
  while (fgets(line, sizeof line, stdin) != NULL) {
    char *end;
    double amount = strtod(line, &end);
    if (end != line) total += amount;  /* else a note */
  }
  printf("Total: %.2f\n", total);
  return EXIT_SUCCESS;
}
EOF
start "$WORK/total.c"
TEXT_OUT=$(dirname "$OUT")/text-editor.png
import -window "$WIN" -strip "png:$TEXT_OUT"
echo "wrote $TEXT_OUT ($(stat -c %s "$TEXT_OUT") bytes)"
