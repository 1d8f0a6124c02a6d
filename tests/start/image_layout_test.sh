#!/usr/bin/env bash
# Checks the installer image: a 32-bit GUI program padded to its fixed length
# that imports only libraries the system always loads from its own folder
# (its known DLLs), so that no library planted beside it is loaded with them.
set -u
image=$1 size=$2
fail=0
actual=$(stat -c %s "$image")
[ "$actual" -eq "$size" ] || { echo "FAIL: $image is $actual bytes, not $size"; fail=1; }
headers=$(i686-w64-mingw32-objdump -p "$image")
grep -q 'file format pei-i386' <<<"$headers" || { echo "FAIL: not a PE32 i386 image"; fail=1; }
grep -Eq 'Subsystem[[:space:]]+00000002' <<<"$headers" || { echo "FAIL: not a GUI program"; fail=1; }
dlls=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u | tr '\n' ' ')
for dll in $dlls; do
  case $dll in
    kernel32.dll|user32.dll|advapi32.dll|gdi32.dll|shell32.dll|ole32.dll|oleaut32.dll|comdlg32.dll|msvcrt.dll) ;;
    *) echo "FAIL: imports $dll, which the system may load from the program's folder"; fail=1 ;;
  esac
done
[ "$fail" -eq 0 ] && echo "image ok: $actual bytes, imports: $dlls"
exit "$fail"
