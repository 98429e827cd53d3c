#!/usr/bin/env bash
# Pictures of the preferences (both pages), help and about windows, opened from the menus
# with real key presses in Xvfb, in English and in German.
#
#   scripts/dialog_shots.sh [PATH-TO-NUMVEX [FOLDER]]
#
# Defaults: build/bin/numvex and docs/. English pictures are named NAME.png, German ones
# NAME-de.png. Needs Xvfb, xauth, xdotool and ImageMagick (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

NUMVEX=$(realpath "${1:-build/bin/numvex}")
OUT=$(realpath -m "${2:-docs}")

source tests/e2e/lib.sh
need_tools xdotool import
on_xvfb "$(realpath "$0")" "$NUMVEX" "$OUT"
make_work numvex-dialogs
APP_PID=
cleanup() {
  if [[ -n $APP_PID ]]; then kill "$APP_PID" 2>/dev/null || true; fi
}
setxkbmap us 2>/dev/null || true
mkdir -p "$OUT"

# window NAME-PATTERN: the id of the program's visible window whose title matches.
window() {
  local id=
  for _ in $(seq 50); do
    id=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name "$1" 2>/dev/null |
      head -n 1) || true
    [[ -n $id ]] && break
    sleep 0.1
  done
  [[ -n $id ]] || { echo "no window '$1'" >&2; exit 1; }
  timeout 5 xdotool windowfocus --sync "$id"
  sleep 0.3
  echo "$id"
}
shoot() { import -window "$1" -strip "png:$OUT/$2.png" && echo "wrote $OUT/$2.png"; }
keys() { xdotool key --delay 60 "$@" && sleep 0.3; }

# language 0|1 SUFFIX: one run of the program with that interface language.
shots() {
  local home=$WORK/home-$1
  mkdir -p "$home/config" "$home/data" "$home/runtime"
  chmod 0700 "$home/runtime"
  # A first start stores every setting; the second run speaks the chosen language.
  local run main dialog
  for run in first second; do
    env -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
      XDG_RUNTIME_DIR="$home/runtime" NUMVEX_REGISTRY="$home/hkcu.reg" LC_ALL=C QT_QPA_PLATFORM=xcb \
      "$NUMVEX" "$WORK/empty.nvx" >"$WORK/numvex.log" 2>&1 &
    APP_PID=$!
    main=$(window '^ZEL: Numvex \[')
    [[ $run == second ]] && break
    kill "$APP_PID" && wait "$APP_PID" 2>/dev/null || true
    sed -i "s/^\"Preferred Language\"=.*/\"Preferred Language\"=\"$1\"\r/" "$home/hkcu.reg"
  done
  keys alt+o Up Return  # Options > Preferences, the menu's last item
  dialog=$(window '^Numvex: Opti')
  shoot "$dialog" "preferences-standard$2"
  keys ctrl+Tab
  shoot "$dialog" "preferences-editor$2"
  keys Escape
  timeout 5 xdotool windowfocus --sync "$main"
  keys alt+h Return  # Help > Help
  dialog=$(window '^Numvex: (Help|Hilfe)')
  shoot "$dialog" "help$2"
  keys Return
  sleep 0.5
  timeout 5 xdotool windowfocus --sync "$main"
  sleep 0.3
  keys alt+h Down Return  # Help > About
  dialog=$(window '(About|ber) Numvex$')
  shoot "$dialog" "about$2"
  keys Escape
  kill "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=
}

: >"$WORK/empty.nvx"
shots 1 ""
shots 0 "-de"
