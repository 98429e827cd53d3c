#!/usr/bin/env bash
# Cross-builds the Windows programs and libraries without Qt (the tape, highlighting and
# settings core, the Win32 platform layer, numvex-tape.exe and their tests) with Debian's
# MinGW-w64 into build-win/, and runs the tests under Wine (ctest label "wine") in a private
# prefix, build-win/wineprefix, created on first use.
#
#   scripts/cross_windows.sh           everything
#   scripts/cross_windows.sh --quick   the settings tests on the registry, and numvex-tape.exe
#                                      on the golden tapes (with the mutex between processes)
#
# Warnings are errors, as in CI. Exits non-zero when the build or any test fails. Extra
# arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
if [[ ${1:-} == --quick ]]; then
  quick=true
  shift
fi
jobs=${JOBS:-2}
stage() { printf '\n=== %s (%s)\n' "$1" "$(date +%T)"; }
start=$(date +%s)

# The Linux numvex-tape of the same sources, for the byte-for-byte comparison: --quick takes
# the one of the Linux build in build/ when there is one (CI has just built it).
linux_tape=$PWD/build/bin/numvex-tape
if ! $quick || [[ ! -x $linux_tape ]]; then
  stage "Linux numvex-tape"
  cmake -S . -B build-win/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMVEX_GUI=OFF \
    -DNUMVEX_BENCH=OFF -DBUILD_TESTING=OFF -DNUMVEX_WERROR=ON "$@" >/dev/null
  cmake --build build-win/linux -j"$jobs" --target numvex-tape
  linux_tape=$PWD/build-win/linux/bin/numvex-tape
fi

stage "cross build"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMVEX_GUI=OFF -DNUMVEX_BENCH=OFF -DNUMVEX_WERROR=ON \
  -DNUMVEX_LINUX_TAPE="$linux_tape" "$@" >/dev/null
if $quick; then
  cmake --build build-win -j"$jobs" --target numvex-tape platform_probe config_tests
  tests='wine\.(programs|config_tests)$'
else
  cmake --build build-win -j"$jobs"
  tests='.'
fi

stage "tests under Wine"
(cd build-win && ctest -L wine -R "$tests" --output-on-failure -j"$jobs" --timeout 600)
stage "passed in $(($(date +%s) - start)) s"
