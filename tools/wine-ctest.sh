#!/bin/sh
# Runs ctest for a mingw build folder under Wine and one Xvfb: tools/wine-ctest.sh BUILD_DIR [ctest args]
set -e
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  wineserver -p                       # keep wineserver and explorer out of the ctest pipes
  wine cmd /c exit >/dev/null 2>&1    # start explorer.exe and services.exe now
  ctest --test-dir "$0" --output-on-failure "$@"; rc=$?
  wineserver -k                       # before Xvfb goes away
  exit $rc' "$build" "$@"
