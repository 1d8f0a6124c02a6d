#!/usr/bin/env bash
# Prints UnzLib.dll's extraction throughput under Wine on an archive of about
# 100 MB, zlib's own inflate of the same data natively, and their ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/native" >/dev/null
cmake --build "$root/build/native" -j "$(nproc)" --target inflate_bench >/dev/null
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" -j "$(nproc)" --target unzlib_bench UnzLib >/dev/null

work=$root/build/bench
# The files go to memory (tmpfs) where there is one, so that the figure shows
# the library and not the disk.
out=$work/out
[ -d /dev/shm ] && [ -w /dev/shm ] && out=/dev/shm/zq_bench_out
rm -rf "$work" "$out" && mkdir -p "$work" "$out"
trap 'rm -rf "$out"' EXIT
python3 "$root/benchmarks/make_bench_archive.py" "$work/bench.zip"
export ZQ_WINE_DIR=$root/build/win/wine
bash "$root/tests/support/wine.sh" start
trap 'bash "$root/tests/support/wine.sh" stop; rm -rf "$out"' EXIT
# Each side runs five times; the best time counts, as the others only add
# the noise of a shared machine.
best() { sort -k2 -g | head -n1; }
read -r native_files native_s < <(for _ in 1 2 3 4 5; do
  "$root/build/native/benchmarks/inflate_bench" "$work/bench.zip"; done | best)
read -r dll_files dll_s < <(for _ in 1 2 3 4 5; do
  bash "$root/tests/support/wine.sh" run "$root/build/win/benchmarks/unzlib_bench.exe" \
    "Z:$root/build/win/unzlib/UnzLib.dll" "Z:$work/bench.zip" "Z:$out" | tr -d '\r'; done | best)
mb=$(du -sm "$out" | cut -f1)
echo "files written to: $out"
python3 - "$mb" "$native_files" "$native_s" "$dll_files" "$dll_s" <<'PY'
import sys
mb, nf, ns, df, ds = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4], float(sys.argv[5])
mb = float(mb)
print(f"data: {mb:.0f} MB in {df} files (native inflate checked {nf}); best of 5 runs each")
print(f"UnzLib.dll under Wine: {ds:.2f} s, {mb / ds:.1f} MB/s (inflate, CRC and writing files)")
print(f"zlib inflate natively: {ns:.2f} s, {mb / ns:.1f} MB/s (inflate and CRC in memory)")
print(f"ratio: {ns / ds:.2f} of raw inflate (target at least 0.80)")
PY
