#!/usr/bin/env bash
# Installs every Debian package that building and testing need. Idempotent: when all
# packages are present it only checks and returns. A package index that fails to
# download (a mirror being synced) is retried, then left out; packages that still
# cannot be installed are named, with apt's reason, and the set-up fails.
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

SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# Three tries a minute apart; then the indexes that did arrive are used.
update_indexes() {
  local try
  for try in 1 2 3; do
    $SUDO apt-get update -q >"$log" 2>&1 && return 0
    ((try == 3)) || sleep 30
  done
  echo "setup: some package indexes could not be downloaded; going on with the others:" >&2
  grep -E '^(E|Err):' "$log" | grep -v 'Some index files' | sed 's/^/  /' | head -3 >&2
}

# Why apt refuses a package: for a 32-bit one, usually a library whose 32-bit
# version in the indexes differs from the installed native one (the index that
# holds the matching version did not arrive); else apt's first complaint.
refusal() {
  local said lib native installed candidate
  said=$($SUDO apt-get install -s -q --no-install-recommends "$1" 2>&1 || true)
  for lib in $(grep -o '[a-z0-9.+-]*:i386' <<<"$said" | sort -u); do
    native=${lib%:i386}
    installed=$(dpkg-query -W -f='${Version}' "$native:$(dpkg --print-architecture)" 2>/dev/null || true)
    candidate=$(apt-cache policy "$lib" | awk '/Candidate:/ {print $2}')
    if [ -n "$installed" ] && [ "$installed" != "$candidate" ]; then
      echo "$lib is ${candidate:-missing} in the indexes, but the installed $native is $installed"
      return
    fi
  done
  grep -E 'Depends:|Unable to locate|no installation candidate|^E:' <<<"$said" | head -1 | sed 's/^ *//'
}

# When an index of the 32-bit side is missing, its libraries come in other
# versions than the native ones, and a 32-bit package cannot be installed.
# Aligns each such native library with the 32-bit version the indexes do hold
# (a later mirror sync brings the newest back), as long as that resolves;
# prints the aligned libraries and returns 1 when it does not.
align_foreign() {
  local native said name version foreign round added
  native=$(dpkg --print-architecture)
  declare -A pins=()
  for round in 1 2 3 4 5 6 7 8; do
    said=$($SUDO apt-get install -s -q --no-install-recommends --allow-downgrades "$@" "${pins[@]}" 2>&1 || true)
    if ! grep -q '^E:' <<<"$said"; then
      ((${#pins[@]})) && echo "setup: aligning native libraries with the 32-bit versions the indexes hold: ${pins[*]}" >&2
      $SUDO apt-get install -y -q --no-install-recommends --allow-downgrades "$@" "${pins[@]}" >"$log" 2>&1
      return
    fi
    added=0
    for name in $(grep -oE '(^ |Depends: )[a-z0-9.+-]+(:i386)?' <<<"$said" | sed 's/Depends: //; s/^ //; s/:i386$//' | sort -u); do
      version=$(apt-cache policy "$name:$native" | awk '/Candidate:/ {print $2}')
      foreign=$(apt-cache policy "$name:i386" | awk '/Candidate:/ {print $2}')
      [ -n "$version" ] && [ -n "$foreign" ] && [ "$foreign" != "(none)" ] && [ "$version" != "$foreign" ] || continue
      [ -n "${pins[$name]:-}" ] && continue
      pins[$name]="$name:$native=$foreign"
      added=1
    done
    ((added)) || return 1
  done
  return 1
}

mapfile -t missing < <(missing_packages)
if ((${#missing[@]})); then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  update_indexes
  if ! $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >"$log" 2>&1 && ! align_foreign "${missing[@]}"; then
    # Install what can be had, then name what cannot, each with apt's first reason.
    installable=() refused=()
    for p in "${missing[@]}"; do
      if $SUDO apt-get install -s -q --no-install-recommends "$p" >/dev/null 2>&1; then installable+=("$p"); else refused+=("$p"); fi
    done
    ((${#installable[@]})) && $SUDO apt-get install -y -q --no-install-recommends "${installable[@]}" >/dev/null 2>&1 || true
    for p in "${refused[@]:-}"; do
      [ -n "$p" ] || continue
      echo "setup: cannot install $p: $(refusal "$p")" >&2
    done
    echo "setup: run scripts/setup.sh again once the package mirror has caught up" >&2
    mapfile -t still < <(missing_packages)
    ((${#still[@]} == 0)) || exit 1
  fi
fi

# Wine's ANSI code page follows the locale: 1252 needs a Western European UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
