#!/usr/bin/env bash
# Runs Windows test programs under Wine for CTest.
#   wine.sh start       start Xvfb and create the 32-bit prefix once (kept for later runs)
#   wine.sh run EXE...  run a program in that prefix and pass its exit code on
#   wine.sh stop        end every Wine process of the prefix and Xvfb
#   wine.sh env         print the exports that run programs as "run" does (for eval)
# ZQ_WINE_DIR names the folder that holds the prefix and the display's state.
set -euo pipefail
dir=${ZQ_WINE_DIR:?ZQ_WINE_DIR must name the Wine state folder}
export WINEPREFIX=$dir/prefix WINEARCH=win32 WINEDEBUG=-all
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
# The prefix's desktop and documents folders lie in a home of its own, not in
# the user's; and no menu entries are made for the desktop environment.
export HOME=$dir/home
mkdir -p "$HOME"
# No Mono or Gecko download prompts in a closed network.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

display_alive() {
  [ -f "$dir/display" ] && [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null
}

start_display() {
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 50); do
      [ -S "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$dir/display"; return 0; }
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine.sh: could not start Xvfb" >&2
  return 1
}

case ${1:-} in
  start)
    mkdir -p "$dir"
    display_alive || start_display
    export DISPLAY=$(cat "$dir/display")
    # Every process started here lets go of CTest's output pipes, or CTest waits for it.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1 || true  # already running
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i </dev/null >/dev/null 2>&1
    fi
    # Wine's own faces (Marlett for the caption buttons, Tahoma for dialogs),
    # which Debian's Wine leaves in its data folder: windows look as on Windows.
    for font in /usr/share/wine/fonts/*.ttf; do
      target=$WINEPREFIX/drive_c/windows/Fonts/${font##*/}
      [ ! -e "$font" ] || [ -e "$target" ] || cp "$font" "$target"
    done
    # Drive R: is a CD-ROM drive, for the tests of installation paths. Wine
    # reads drive types when it starts, so the server starts anew once.
    if ! grep -qs '^"r:"="cdrom"' "$WINEPREFIX/system.reg"; then
      mkdir -p "$dir/cdrom"
      ln -sfn "$dir/cdrom" "$WINEPREFIX/dosdevices/r:"
      wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f </dev/null >/dev/null 2>&1
      wineserver -k </dev/null >/dev/null 2>&1 || true
      wineserver -w </dev/null >/dev/null 2>&1 || true
      wineserver -p </dev/null >/dev/null 2>&1 || true
    fi
    # Wine's desktop process starts with the first window of a session and
    # inherits that program's output pipes: started here, it holds none of
    # CTest's. The server stays up until "stop", and the desktop with it.
    wine rundll32.exe user32.dll,MessageBeep </dev/null >/dev/null 2>&1 || true
    # Drive S: is a small disk, for the full-disk test: a 2 MB tmpfs where the
    # machine lets us mount one (else a plain folder, and the test skips).
    mkdir -p "$dir/small"
    mountpoint -q "$dir/small" || mount -t tmpfs -o size=2m zqsmall "$dir/small" 2>/dev/null || true
    ln -sfn "$dir/small" "$WINEPREFIX/dosdevices/s:"
    # A crashing test program ends at once instead of waiting in the debugger.
    if grep -qs '^"Debugger"=' "$WINEPREFIX/system.reg"; then
      wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        </dev/null >/dev/null 2>&1 || true
    fi
    ;;
  run)
    shift
    export DISPLAY=$(cat "$dir/display")
    exec wine "$@"
    ;;
  env)
    for name in WINEPREFIX WINEARCH WINEDEBUG LANG LC_ALL HOME WINEDLLOVERRIDES; do
      printf 'export %s=%q\n' "$name" "${!name}"
    done
    printf 'export DISPLAY=%q\n' "$(cat "$dir/display")"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if mountpoint -q "$dir/small" 2>/dev/null; then umount "$dir/small" || true; fi
    if [ -f "$dir/xvfb.pid" ]; then
      kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
      rm -f "$dir/xvfb.pid" "$dir/display"
    fi
    ;;
  *)
    echo "usage: wine.sh start|run EXE [ARG...]|env|stop" >&2
    exit 2
    ;;
esac
