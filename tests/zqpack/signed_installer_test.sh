#!/usr/bin/env bash
# A signed installer as a publisher ships it: the demo product packed by
# zqpack.exe, signed with a self-signed certificate made here, verified by
# osslsigncode, installed silently under Wine and uninstalled through its
# record. One changed payload byte then breaks the signature and makes the
# installer refuse the file with exit code 8, before it installs anything.
# zqpack.exe --sign itself runs a stand-in for osslsigncode (Wine cannot wait
# for the build machine's own): the arguments arrive whole, the signed file
# takes the installer's place, and a failing tool leaves no installer.
# Usage: signed_installer_test.sh ZQPACK_EXE ZQSETUP_EXE UNZLIB_DLL DEMO_COMPONENTS SIGNING_STAND_IN
set -euo pipefail
zqpack=$1 image=$2 library=$3 demo=$4 stand_in=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
eval "$("$(dirname "$0")/../support/wine.sh" env)"
fail() { echo "FAILED: $*" >&2; exit 1; }

openssl req -x509 -newkey rsa:2048 -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 -nodes \
  -subj "/CN=Zelo Test" 2>/dev/null
echo geheim >"$work/Kennwort.txt"
openssl pkcs12 -export -out "$work/Zertifikat mit Blank.p12" -inkey "$work/key.pem" -in "$work/cert.pem" \
  -passout "file:$work/Kennwort.txt"

pack() { wine "$zqpack" --image "Z:$image" --library "Z:$library" "$@" "Z:$demo/uninst" "Z:$demo/viewer"; }

# zqpack.exe --sign with the stand-in as osslsigncode.exe on the search path.
mkdir "$work/bin"
cp "$stand_in" "$work/bin/osslsigncode.exe"
signed=$(WINEPATH="Z:$work/bin" pack --output "Z:$work/stand-in.exe" --sign "Z:$work/Zertifikat mit Blank.p12" \
         --sign-password-file "Z:$work/Kennwort.txt" --timestamp http://zeit.example | tr -d "\r")
[ "$signed" = "Z:$work/stand-in.exe: 2 component(s), version 2.0.0.1 (from ver.ini), signed" ] || fail "zqpack.exe --sign printed: $signed"
expected="sign|-pkcs12|Z:$work/Zertifikat mit Blank.p12|-n|Quotaline|-readpass|Z:$work/Kennwort.txt|-t|http://zeit.example|-in|Z:$work/stand-in.exe|-out|Z:$work/stand-in.exe.signed"
[ "$(paste -sd'|' "$work/bin/args.log")" = "$expected" ] || fail "the tool's arguments: $(paste -sd'|' "$work/bin/args.log")"
[ "$(tail -c 6 "$work/stand-in.exe")" = SIGNED ] || fail "the signed file did not take the installer's place"
[ ! -e "$work/stand-in.exe.signed" ] || fail "the signed file stayed beside the installer"
set +e
ZQ_SIGN_EXIT=1 WINEPATH="Z:$work/bin" pack --output "Z:$work/failed.exe" --sign "Z:$work/Zertifikat mit Blank.p12" \
  2>"$work/failed.txt"
code=$?
set -e
[ "$code" -eq 3 ] && grep -q "osslsigncode could not sign" "$work/failed.txt" || fail "a failed signing: exit $code"
[ ! -e "$work/failed.exe" ] && [ ! -e "$work/failed.exe.signed" ] || fail "a failed signing left a file"

# The real signature: osslsigncode on the build machine, with the arguments zqpack --sign uses.
pack --output "Z:$work/unsigned.exe" >/dev/null
osslsigncode sign -pkcs12 "$work/Zertifikat mit Blank.p12" -n Quotaline -readpass "$work/Kennwort.txt" \
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
uninstaller='C:\windows\zquninst\Quotaline\zquninst.exe'  # the product's own
wine "$uninstaller" "-uninstall:${folder}uninst\\uninst.ini" -hide || fail "the uninstallation failed"
wine "$uninstaller" -clearup -hide || fail "the clear-up failed"
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
