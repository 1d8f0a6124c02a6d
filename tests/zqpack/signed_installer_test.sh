#!/usr/bin/env bash
# A signed installer as a publisher ships it: the demo product packed by
# zqpack.exe, signed with a self-signed certificate made here, verified by
# osslsigncode, installed silently under Wine and uninstalled through its
# record. One changed payload byte then breaks the signature and makes the
# installer refuse the file with exit code 8, before it installs anything.
# Usage: signed_installer_test.sh ZQPACK_EXE ZQSETUP_EXE UNZLIB_DLL DEMO_COMPONENTS
set -euo pipefail
zqpack=$1 image=$2 library=$3 demo=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
eval "$("$(dirname "$0")/../support/wine.sh" env)"
fail() { echo "FAILED: $*" >&2; exit 1; }

openssl req -x509 -newkey rsa:2048 -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 -nodes \
  -subj "/CN=Zelo Test" 2>/dev/null
echo geheim >"$work/pass.txt"
openssl pkcs12 -export -out "$work/cert.p12" -inkey "$work/key.pem" -in "$work/cert.pem" \
  -passout "file:$work/pass.txt"

# The Windows zqpack.exe packs and checks; signing runs osslsigncode on the
# build machine with the arguments zqpack --sign uses.
wine "$zqpack" --image "Z:$image" --library "Z:$library" --output "Z:$work/unsigned.exe" "Z:$demo/uninst" \
  "Z:$demo/viewer" >/dev/null
osslsigncode sign -pkcs12 "$work/cert.p12" -n Quotaline -readpass "$work/pass.txt" \
  -in "$work/unsigned.exe" -out "$work/setup.exe" >/dev/null
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/setup.exe" >/dev/null || fail "the signature does not verify"

folder='C:\ZqSigniert\'
set +e
wine "Z:$work/setup.exe" -hide "-path:$folder"
code=$?
set -e
[ "$code" -eq 0 ] || fail "the signed installer ended with $code"
installed=$(winepath -u "${folder}viewer\\quotaline.exe")
[ -f "$installed" ] || fail "the signed installer did not install $installed"
wine 'C:\windows\zquninst.exe' "-uninstall:${folder}uninst\\uninst.ini" -hide || fail "the uninstallation failed"
wine 'C:\windows\zquninst.exe' -clearup -hide || fail "the clear-up failed"
[ ! -e "$(winepath -u "$folder")" ] || fail "the uninstallation left $folder"

# One byte of the first archive changed.
cp "$work/setup.exe" "$work/changed.exe"
offset=$((0xA0600 + 0x1CE00 + 400 + 200))
byte=$(od -An -tu1 -j "$offset" -N1 "$work/changed.exe" | tr -d ' ')
printf "$(printf '\\%03o' $((byte ^ 0x20)))" | dd of="$work/changed.exe" bs=1 seek="$offset" conv=notrunc 2>/dev/null
if osslsigncode verify -CAfile "$work/cert.pem" -in "$work/changed.exe" >/dev/null 2>&1; then
  fail "the changed installer still verifies"
fi
set +e
wine "Z:$work/changed.exe" -hide "-path:$folder"
code=$?
set -e
[ "$code" -eq 8 ] || fail "the changed installer ended with $code, not 8"
[ ! -e "$(winepath -u "$folder")" ] || fail "the changed installer left $folder"
echo "signed, verified, installed and uninstalled; one changed byte: signature broken, installer exit code 8"
