#!/usr/bin/env bash
# Fuzzes the central-directory reader and the unzip library's write-time
# reader with libFuzzer (clang), starting from the test archives. Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$root/scripts/setup.sh"
out=$root/build/fuzz
mkdir -p "$out/corpus"
python3 "$root/tests/archive/make_test_archives.py" "$out/seeds"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root/src" -I"$root/unzlib" \
  "$root/tests/fuzz/zip_directory_fuzz.cpp" "$root/src/archive/zip_directory.cpp" "$root/unzlib/member_time.cpp" \
  -o "$out/zip_directory_fuzz"
"$out/zip_directory_fuzz" -max_total_time="$seconds" -max_len=70000 "$out/corpus" "$out/seeds"
