#!/usr/bin/env bash
# Sets up a fresh machine, builds Numvex and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/bin/numvex-tape data/sample.nvx
