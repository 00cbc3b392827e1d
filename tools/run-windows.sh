#!/bin/sh
# Starts corvane.exe under Wine: tools/run-windows.sh BUILD_DIR [arguments for corvane.exe]
# On the current display when there is one; without a display it runs in a private Xvfb screen,
# takes a picture of the main window (BUILD_DIR/main-window.png) and ends the program again.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [arguments]}" && pwd)
shift
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
if [ -n "$DISPLAY" ]; then
    "$here/wine-prefix.sh" "$WINEPREFIX"
    exec wine "$build/corvane.exe" "$@"
fi
echo "No display: running corvane.exe in Xvfb and taking a picture of its main window." >&2
exec "$here/screenshot-main-window.sh" "$build" "$build/main-window.png"
