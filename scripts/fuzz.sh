#!/usr/bin/env bash
# Fuzzes the platform-free parsers with libFuzzer (clang), each for SECONDS
# (default 60), one per core at a time, starting from its seeds and the
# corpus of earlier runs:
#   scripts/fuzz.sh [SECONDS [TARGET...]]
# Targets: zip_directory command_line placeholders record_entries version normal_path zqpack
# descriptor_checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(zip_directory command_line placeholders record_entries version normal_path zqpack descriptor_checks)
fi
bash "$root/scripts/setup.sh"
out=$root/build/fuzz
cmake -S "$root" -B "$out" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZQ_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" --target zq_test_archives "${targets[@]/%/_fuzz}" -j "$(nproc)" >/dev/null
# One fuzzer per core at a time; each writes its own log.
fuzz() {
  local target=$1 seeds=$root/tests/fuzz/seeds/$1
  case $target in zip_directory|zqpack) seeds=$out/tests/archives ;; esac
  mkdir -p "$out/corpus/$target"
  local code=0
  (cd "$out" && "$out/tests/${target}_fuzz" -max_total_time="$seconds" -max_len=70000 -print_final_stats=1 \
     "$out/corpus/$target" "$seeds" >"$out/$target.log" 2>&1) || code=$?
  echo "$code" >"$out/$target.status"
}
status=0
running=0
for target in "${targets[@]}"; do
  rm -f "$out/$target.status"
  fuzz "$target" &
  if ((++running >= $(nproc))); then wait -n || true; running=$((running - 1)); fi
done
wait
for target in "${targets[@]}"; do
  echo "== $target: $seconds s"
  if [ "$(cat "$out/$target.status" 2>/dev/null)" = 0 ]; then
    grep -E "^stat::(number_of_executed_units|new_units_added)" "$out/$target.log"
  else
    tail -40 "$out/$target.log" >&2
    echo "fuzz.sh: $target found a fault; the input that shows it is in $out" >&2
    status=1
  fi
done
exit $status
