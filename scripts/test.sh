#!/usr/bin/env bash
# Sets up a fresh machine and runs every test: the release build with warnings as errors
# and its whole suite; the Windows core cross-built with MinGW-w64 and its settings and
# numvex-tape checks under Wine (the quick set; scripts/cross_windows.sh runs them all); the
# whole suite again built with AddressSanitizer and UndefinedBehaviorSanitizer; and every fuzz
# target for a minute, all at once (FUZZ_SECONDS to change it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

stage() { printf '\n=== %s (%s)\n' "$1" "$(date +%T)"; }

stage "release build and suite"
scripts/build.sh -DNUMVEX_WERROR=ON
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600)

stage "Windows core under Wine"
scripts/cross_windows.sh --quick

stage "sanitizer build and suite"
# Optimised less and with line tables only: it builds faster, and the reports still name
# files and lines.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DNUMVEX_SANITIZE=ON \
  -DNUMVEX_WERROR=ON -DNUMVEX_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 900)

stage "fuzz targets"
FUZZ_JOBS=5 scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
stage "all passed"
