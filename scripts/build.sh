#!/usr/bin/env bash
# The product's main job on a bare machine: sets up, builds the installer,
# the unzip library, zqpack and the demo product, packs the demo installer
# (build/setup.exe), installs it silently under Wine in a prefix of its own,
# shows what the installation did, uninstalls it through the system's
# uninstall entry and shows that the machine is clean again.
#   scripts/build.sh                             the demo, as above
#   scripts/build.sh --output FILE COMPONENT...  packs your own component folders instead
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$root/build/setup.exe
components=()
if [ "${1:-}" = "--output" ]; then
  output=$2
  shift 2
  components=("$@")
fi

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win" --target zqsetup UnzLib demo_components -j "$(nproc)" >/dev/null
cmake -S "$root" -B "$root/build/tools" -DZQ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/tools" --target zqpack -j "$(nproc)" >/dev/null
zqpack=("$root/build/tools/zqpack/zqpack" --image "$root/build/win/src/zqsetup.exe"
        --library "$root/build/win/unzlib/UnzLib.dll" --output "$output")

if ((${#components[@]})); then
  "${zqpack[@]}" "${components[@]}"
  "$root/build/tools/zqpack/zqpack" --list "$output"
  exit 0
fi

# The demo's components, with the programs just built; zqpack checks them first.
stage=$root/build/win/demo/components
"${zqpack[@]}" "$stage/uninst" "$stage/viewer" >/dev/null
echo "== Packed $output ($(stat -c %s "$output") bytes)"

export ZQ_WINE_DIR=$root/build/demo/wine
rm -rf "$ZQ_WINE_DIR"
"$root/tests/support/wine.sh" start
trap '"$root/tests/support/wine.sh" stop' EXIT
eval "$("$root/tests/support/wine.sh" env)"
drive=$WINEPREFIX/drive_c
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r' | sed -n 's/^ \{4\}/  /p;/^HKEY/p' || true; }
cp1252() { iconv -f CP1252 -t UTF-8 "$@"; }

echo "== Installing silently: wine setup.exe -hide"
set +e
wine "$output" -hide
code=$?
set -e
echo "   exit code $code"
[ "$code" -eq 0 ] || [ "$code" -eq 3010 ] || { echo "build.sh: the demo installation failed" >&2; exit 1; }

echo "== Files"
find "$drive/Program Files/Quotaline" "$drive/Program Files/Common Files/Zelo" -type f | sed "s|$drive|  C:|"
echo "== Registry"
reg_query 'HKLM\Software\Zelo\Quotaline' /s
reg_query 'HKCU\Software\Zelo\Quotaline' /s
reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quotaline'
reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' | grep -i qlshared || true
reg_query 'HKCU\Software\Classes\CLSID\{6B1C2A7E-4F0D-4C3B-9E51-2D7A0C8F1E35}\InprocServer32'
echo "   the record's seal, which the uninstallation checks before it acts:"
reg_query 'HKLM\Software\Quotaline Setup Records'
echo "== Shortcuts"
links=("$drive"/users/*/Desktop "$drive"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu)
find -L "${links[@]}" -iname '*.lnk' -path '*uotaline*' 2>/dev/null | while read -r link; do
  echo "  ${link#"$drive/users/"} -> $(lnkinfo "$link" 2>/dev/null | sed -n 's/^\s*Local path\s*:\s*//p' | head -n 1)"
done
echo "== The installation's log (last lines)"
tail -n 12 "$drive/Program Files/Quotaline/uninst/zqinstall.log" | cp1252 | sed 's/^/  /'

uninstall=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quotaline' /v QuietUninstallString \
            2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
echo "== Uninstalling through the uninstall entry: $uninstall"
# The entry's command: the program, then -uninstall:"RECORD" and -hide.
program=${uninstall%% *}
record=$(sed -n 's/.*-uninstall:"\([^"]*\)".*/\1/p' <<<"$uninstall")
set +e
wine "$program" "-uninstall:$record" -hide
code=$?
wine "$program" -clearup -hide
set -e
echo "   exit code $code; then the clear-up of what the uninstallation left"

echo "== Left on the machine"
left=$( { find "$drive/Program Files/Quotaline" "$drive/Program Files/Common Files/Zelo" 2>/dev/null || true
          find -L "${links[@]}" -iname '*uotaline*' 2>/dev/null || true
          reg_query 'HKLM\Software\Zelo'; reg_query 'HKCU\Software\Zelo'
          reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quotaline'
          reg_query 'HKCU\Software\Classes\CLSID\{6B1C2A7E-4F0D-4C3B-9E51-2D7A0C8F1E35}'
          reg_query 'HKLM\Software\Quotaline Setup Records'; } | sed "s|$drive|C:|")
if [ -z "$left" ]; then echo "  nothing: the machine is clean again"; else echo "$left" | sed 's/^/  /'; fi

cat <<TXT
== The demo installer with its window
  WINEPREFIX=$WINEPREFIX wine $output
runs it with its dialog on your display (or under xvfb-run with a screenshot, as scripts/screenshots.sh does).
TXT
[ -z "$left" ]
