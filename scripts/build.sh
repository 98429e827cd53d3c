#!/usr/bin/env bash
# Configures and builds Numvex into build/ (programs land in build/bin/).
# Extra arguments go to cmake's configure step, e.g. -DNUMVEX_WERROR=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"$(nproc)"
