#!/bin/sh
# Takes a picture of corvane.exe's About box under Wine in a private Xvfb screen: starts the
# program, opens Help > About with the keyboard and crops the box out of the screen.
#   tools/screenshot-about-box.sh BUILD_DIR [OUT.png]   (default OUT: docs/about-box.png)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [OUT.png]}" && pwd)
out=${2:-$here/../docs/about-box.png}
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  build=$0 out=$1
  wine "$build/corvane.exe" >/dev/null 2>&1 &
  find_window() {
    for i in $(seq 1 100); do
      window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
      [ -n "$window" ] && return 0
      sleep 0.1
    done
    return 1
  }
  status=0
  if find_window "^Corvane 1.0a\$"; then
    sleep 0.5
    xdotool key alt+h
    sleep 0.3
    xdotool key Down Return
    if find_window "^About\$"; then
      sleep 1                               # let every control paint
      shot=$(mktemp --suffix=.png)
      import -window root "$shot"
      eval "$(xdotool getwindowgeometry --shell "$window")"
      convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
      rm -f "$shot"
      echo "$out"
    else
      echo "About box not found" >&2; status=1
    fi
  else
    echo "main window not found" >&2; status=1
  fi
  wineserver -k
  exit $status' "$build" "$out"
