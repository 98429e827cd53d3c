#!/usr/bin/env bash
# Runs a test program on a private X server with the xcb platform. Exit 77 (skipped) when
# this machine has no Xvfb or no xdotool to type with.
set -euo pipefail
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run or xdotool missing: skipped"
  exit 77
fi
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 640x480x24" "$@"
