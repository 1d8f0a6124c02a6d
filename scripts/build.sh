#!/usr/bin/env bash
# Sets up the machine, builds the installer's pieces and packs a ready
# installer from component folders (default: examples/components/*).
#   scripts/build.sh [--output FILE] [COMPONENT...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$root/build/setup.exe
if [ "${1:-}" = "--output" ]; then output=$2; shift 2; fi
components=("$@")
if ((${#components[@]} == 0)); then components=("$root"/examples/components/*); fi

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" --target zqsetup UnzLib -j "$(nproc)"
cmake -S "$root" -B "$root/build/tools" -DZQ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/tools" --target zqpack -j "$(nproc)"

"$root/build/tools/zqpack/zqpack" --image "$root/build/win/src/zqsetup.exe" \
  --library "$root/build/win/unzlib/UnzLib.dll" --output "$output" "${components[@]}"
"$root/build/tools/zqpack/zqpack" --list "$output"
