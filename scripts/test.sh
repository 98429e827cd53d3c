#!/usr/bin/env bash
# Sets up a fresh machine and runs every test: the release build with warnings as errors
# and its whole suite, the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a minute (FUZZ_SECONDS to change it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

stage() { printf '\n=== %s (%s)\n' "$1" "$(date +%T)"; }

stage "release build and suite"
scripts/build.sh -DNUMVEX_WERROR=ON
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600)

stage "sanitizer build and suite"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMVEX_SANITIZE=ON \
  -DNUMVEX_WERROR=ON -DNUMVEX_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 900)

stage "fuzz targets"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
stage "all passed"
