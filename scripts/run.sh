#!/usr/bin/env bash
# Sets up a fresh machine, builds Numvex and starts the desktop program. Arguments are
# passed on (a document to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/bin/numvex "$@"
