#!/bin/sh
# Creates and configures a Wine prefix for headless runs: tools/wine-prefix.sh DIR
set -e
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.corvane-ready" ] && exit 0
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
# Debian's wine does not look in /usr/share/wine/fonts.
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
wine regedit /S "$(winepath -w "$here/wine-ci.reg")" >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.corvane-ready"
