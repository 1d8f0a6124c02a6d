#!/usr/bin/env bash
# Sets up the machine and builds the Windows installer (build/win/src/zqsetup.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" --target zqsetup -j "$(nproc)"
echo "built: $root/build/win/src/zqsetup.exe"
