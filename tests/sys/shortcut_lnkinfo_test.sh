#!/usr/bin/env bash
# Reads the link that shortcuts_test created with lnkinfo, a .lnk parser of its
# own, and checks target, working folder, icon and description.
#   shortcut_lnkinfo_test.sh LINK FIXTURE_DIR
set -euo pipefail
link=$1
folder='Z:'$(tr / '\\' <<<"$2")'\'
target="${folder}arg_recorder.exe"
report=$(lnkinfo "$link")
status=0
check() {
  local value
  value=$(sed -n "s/^\t$1\t*: //p" <<<"$report")
  if [ "$value" != "$2" ]; then
    echo "$1: '$value', expected '$2'" >&2
    status=1
  fi
}
check 'Local path' "$target"
check 'Working directory' "$folder"
check 'Icon location' "$target"
check 'Description' 'Beschreibung'
[ $status -eq 0 ] && echo "lnkinfo reads $link as expected"
exit $status
