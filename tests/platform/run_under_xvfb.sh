#!/usr/bin/env bash
# Runs a test program on a private X server with the xcb platform. Exit 77 (skipped) when
# this machine has no Xvfb or no xdotool to type with.
set -euo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
need_tools xdotool
on_xvfb "$0" "$@"
export QT_QPA_PLATFORM=xcb
exec "$@"
