#!/usr/bin/env bash
# Saves PNG screenshots of the installer window in each state and run mode,
# and of each kind of its dialogs, into one folder (default build/screenshots),
# and renews the four that README shows in docs/screenshots:
#   scripts/screenshots.sh [FOLDER]
# The window is walked through its states by a Windows program under Wine, in
# a virtual desktop of Wine's own (so windows have their title bars) on Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/screenshots}")
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" --target screenshot_tour zq_fixtures -j "$(nproc)"

export ZQ_WINE_DIR=$root/build/win/wine-shots
wine_sh=$root/tests/support/wine.sh
"$wine_sh" start
trap 'ZQ_WINE_DIR="$root/build/win/wine-shots" "$wine_sh" stop' EXIT
eval "$("$root/tests/support/wine.sh" env)"
rm -rf "$out"
mkdir -p "$out"
scratch=$root/build/win/tests/scratch/screenshot_tour
mkdir -p "$scratch"
tour=$(winepath -w "$root/build/win/tests/screenshot_tour.exe")
export ZQ_SHOT_DIR=$(winepath -w "$out")
(cd "$scratch" && "$wine_sh" run explorer "/desktop=ZqShots,800x600" "$tour" >"$out/tour.log" 2>&1) &

# Each request names a screenshot and holds the window's rectangle.
for _ in $(seq 1500); do
  [ -f "$out/tour.ended" ] && break
  for request in "$out"/*.request; do
    [ -e "$request" ] || continue
    read -r x y w h <"$request"
    name=$(basename "$request" .request)
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
    rm "$request"
    touch "$out/$name.done"
  done
  sleep 0.2
done
rm -f "$out"/*.done
if [ "$(cat "$out/tour.ended" 2>/dev/null)" != 0 ]; then
  echo "screenshots.sh: the walk through the window did not end well; see $out/tour.log" >&2
  exit 1
fi
# The pictures README shows, made anew with every run.
pictures=$root/docs/screenshots
mkdir -p "$pictures"
for name in install-1-ready clearup-2-running install-4-done dialog-confirmation-restart; do
  cp "$out/$name.png" "$pictures/"
done
ls "$out"/*.png
