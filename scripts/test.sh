#!/usr/bin/env bash
# Sets up the machine, builds both targets and runs every test: the native
# build (with sanitizers) directly, the Windows build under Wine, and then
# each fuzz target for 30 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$root/scripts/setup.sh"

cmake -S "$root" -B "$root/build/native" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" -j "$jobs"

status=0
# Each phase says when it starts, in seconds since the script did: CI has a budget.
echo "== native tests (at ${SECONDS} s)"
ctest --test-dir "$root/build/native" --output-on-failure -j "$jobs" || status=1
echo "== Windows tests under Wine (at ${SECONDS} s)"
ctest --test-dir "$root/build/win" --output-on-failure -j "$jobs" --timeout 300 || status=1
echo "== fuzzing each parser for 30 s (at ${SECONDS} s)"
bash "$root/scripts/fuzz.sh" 30 || status=1
echo "== done (at ${SECONDS} s)"
exit $status
