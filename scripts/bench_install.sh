#!/usr/bin/env bash
# Times a whole silent installation by zqsetup.exe against an NSIS installer
# of the same files (makensis, default compressor), both under one Wine
# prefix onto one file system, alternating, and prints the medians of RUNS
# runs, our phases from our log, peak memory and the ratios.
#   scripts/bench_install.sh [MEGABYTES [RUNS [FILES]]]
# (default 50 MB, 5 runs, 1,000 files per 50 MB)
# With ZQ_BENCH_BASELINE=DIR (a folder with the zqsetup.exe and UnzLib.dll of
# an earlier build) that build's installer runs in the same rounds too, and
# the ratio this build / baseline measures a change in one run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-50}
runs=${2:-5}
files=${3:-}
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" --target zqsetup UnzLib -j "$(nproc)" >/dev/null
cmake -S "$root" -B "$root/build/tools" -DZQ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/tools" --target zqpack -j "$(nproc)" >/dev/null

work=$root/build/bench/install-$megabytes${files:+-$files}
rm -rf "$work"
python3 "$root/benchmarks/make_install_payload.py" "$work" "$megabytes" $files
"$root/build/tools/zqpack/zqpack" --image "$root/build/win/src/zqsetup.exe" \
  --library "$root/build/win/unzlib/UnzLib.dll" --output "$work/zq-setup.exe" \
  "$work/components/uninst" "$work/components/files" >/dev/null
(cd "$work" && makensis -V1 bench.nsi)
count=$(find "$work/components/files" -type f ! -name ver.ini | wc -l)
baseline=${ZQ_BENCH_BASELINE:-}
if [ -n "$baseline" ]; then
  "$root/build/tools/zqpack/zqpack" --image "$baseline/zqsetup.exe" --library "$baseline/UnzLib.dll" \
    --output "$work/base-setup.exe" "$work/components/uninst" "$work/components/files" >/dev/null
fi

export ZQ_WINE_DIR=$root/build/bench/wine
"$root/tests/support/wine.sh" start
trap '"$root/tests/support/wine.sh" stop' EXIT
eval "$("$root/tests/support/wine.sh" env)"
drive=$WINEPREFIX/drive_c
forget() {
  rm -rf "$drive/bench"
  for key in 'HKLM\Software\ZqBench' 'HKCU\Software\ZqBench' \
             'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZqBench'; do
    wine reg delete "$key" /f >/dev/null 2>&1 || true
  done
}
measure() { /usr/bin/time -f "%e %M" -o "$work/time" wine "$@"; cat "$work/time"; }

results=$work/results
: >"$results"
# One silent installation by one of our installers, recorded under side.
install_zq() {
  local side=$1 installer=$2
  forget
  read -r seconds kb < <(measure "$installer" -hide -path:C:\\bench\\zq)
  log=$(tr -d '\r' <"$drive/bench/zq/uninst/zqinstall.log")
  phase() { sed -n "s/^Time to $1: \([0-9]*\) ms$/\1/p" <<<"$log" | tail -n 1; }
  echo "$side $seconds $kb $(phase write) $(phase init) $(phase install)" >>"$results"
  [ "$(find "$drive/bench/zq" -type f | wc -l)" -gt "$count" ] || { echo "bench_install.sh: our installation is incomplete" >&2; exit 1; }
}
for run in $(seq "$runs"); do
  install_zq zq "$work/zq-setup.exe"
  if [ -n "$baseline" ]; then install_zq base "$work/base-setup.exe"; fi
  forget
  read -r seconds kb < <(measure "$work/nsis-setup.exe" /S /D=C:\\bench\\nsis)
  echo "nsis $seconds $kb" >>"$results"
  [ "$(find "$drive/bench/nsis" -type f | wc -l)" -ge "$count" ] || { echo "bench_install.sh: the NSIS installation is incomplete" >&2; exit 1; }
done
forget

python3 - "$results" "$megabytes" "$runs" "$work" <<'PY'
import statistics, sys, os
rows = [line.split() for line in open(sys.argv[1])]
megabytes, runs, work = sys.argv[2], sys.argv[3], sys.argv[4]
def median(side, column):
    return statistics.median(float(r[column]) for r in rows if r[0] == side)
files = sum(len(f) for _, _, f in os.walk(os.path.join(work, "components", "files"))) - 1
print(f"payload: {megabytes} MB in {files} files; installers: zqsetup {os.path.getsize(os.path.join(work, 'zq-setup.exe')) >> 20} MB, "
      f"NSIS {os.path.getsize(os.path.join(work, 'nsis-setup.exe')) >> 20} MB; medians of {runs} runs, alternating")
zq, nsis = median("zq", 1), median("nsis", 1)
print(f"whole silent installation: zqsetup {zq:.2f} s, NSIS {nsis:.2f} s, ratio {zq / nsis:.2f} (target at most 1.0)")
write, init, install = median("zq", 3), median("zq", 4), median("zq", 5)
print(f"  zqsetup phases: write {write:.0f} ms, extract {init - write:.0f} ms (time to ready {init:.0f} ms), "
      f"install {install:.0f} ms, start and clean-up {zq * 1000 - init - install:.0f} ms")
zqm, nsism = median("zq", 2) / 1024, median("nsis", 2) / 1024
print(f"peak memory: zqsetup {zqm:.1f} MiB, NSIS {nsism:.1f} MiB, difference {zqm - nsism:+.1f} MiB (target at most +4)")
if any(r[0] == "base" for r in rows):
    base = median("base", 1)
    print(f"this build against the baseline: {zq:.2f} s / {base:.2f} s, ratio {zq / base:.2f}; time to ready "
          f"{init:.0f} ms / {median('base', 4):.0f} ms, install {install:.0f} ms / {median('base', 5):.0f} ms")
PY
