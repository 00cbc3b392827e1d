#!/bin/sh
# CTest emulator: runs a Windows executable under Wine, inside Xvfb when no display is set.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;winemenubuilder.exe=d}"
: "${WINEPREFIX:?set WINEPREFIX (tools/wine-prefix.sh creates one)}"
export WINEPREFIX
if [ -n "$DISPLAY" ]; then
    exec wine "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" wine "$@"
