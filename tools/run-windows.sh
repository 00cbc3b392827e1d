#!/bin/sh
# Starts corvane.exe under Wine: tools/run-windows.sh BUILD_DIR [arguments for corvane.exe]
# On the current display when there is one: it runs until you end it. Without a display it runs
# in a private Xvfb screen: a command-line wake ends by itself and its exit status is printed;
# a program that stays open (no arguments, or a message box) is photographed after a few
# seconds (BUILD_DIR/main-window.png) and then ended, since nobody could use it there.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [arguments]}" && pwd)
shift
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" "$WINEPREFIX"
if [ -n "$DISPLAY" ]; then
    exec wine "$build/corvane.exe" "$@"
fi
echo "No display: running corvane.exe in Xvfb." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  build=$0
  wineserver -p                       # keep wineserver and explorer out of our way
  wine cmd /c exit >/dev/null 2>&1
  wine "$build/corvane.exe" "$@" &
  pid=$!
  for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    sleep 1                           # let every control paint
    import -window root -trim +repage "$build/main-window.png"
    echo "corvane.exe stayed open; its screen: $build/main-window.png"
    wineserver -k
    wait "$pid" || true
  else
    status=0
    wait "$pid" || status=$?
    echo "corvane.exe ended by itself with exit status $status"
  fi
  wineserver -k' "$build" "$@"
