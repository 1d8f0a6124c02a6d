#!/usr/bin/env bash
# Installs every Debian package that building and testing need. Idempotent: when all
# packages are present it only checks and returns.
set -euo pipefail

packages=(
  cmake make g++ python3 git
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  zlib1g-dev
  wine wine32:i386 xvfb xauth
  p7zip-full zip liblnk-utils nsis osslsigncode openssl time
  imagemagick fonts-wine
  libssl-dev python3-jsonschema python3-yaml
  clang libclang-rt-14-dev
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine's ANSI code page follows the locale: 1252 needs a Western European UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
