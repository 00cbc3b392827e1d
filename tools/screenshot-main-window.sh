#!/bin/sh
# Takes a picture of corvane.exe's main window under Wine in a private Xvfb screen:
#   tools/screenshot-main-window.sh BUILD_DIR [OUT.png]   (default OUT: docs/main-window.png)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [OUT.png]}" && pwd)
out=${2:-$here/../docs/main-window.png}
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  build=$0 out=$1
  wine "$build/corvane.exe" >/dev/null 2>&1 &
  window=""
  for i in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name "^Corvane 1.0a\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  sleep 1                                   # let every control paint
  shot=$(mktemp --suffix=.png)
  import -window root "$shot"
  if [ -n "$window" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
  else
    echo "main window not found; keeping the whole screen" >&2
    cp "$shot" "$out"
  fi
  rm -f "$shot"
  wineserver -k
  echo "$out"' "$build" "$out"
