#!/bin/sh
# Takes a picture of one of corvane.exe's windows under Wine in a private Xvfb screen: starts the
# program, opens the window (Help > About with the keyboard for the About box) and crops it out
# of the screen. `floor` takes the start-up floor program's window instead (bench/gui-start.sh),
# which must look like the main window.
#   tools/screenshot.sh BUILD_DIR main|about|floor [OUT.png]
#   (default OUT: docs/main-window.png or docs/about-box.png; floor: floor-window.png here)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR main|about|floor [OUT.png]}" && pwd)
which=${2:?usage: $0 BUILD_DIR main|about|floor [OUT.png]}
case $which in
main) out=${3:-$here/../docs/main-window.png} exe=corvane.exe ;;
about) out=${3:-$here/../docs/about-box.png} exe=corvane.exe ;;
floor) out=${3:-floor-window.png} exe=corvane_gui_floor.exe ;;
*) echo "usage: $0 BUILD_DIR main|about|floor [OUT.png]" >&2; exit 2 ;;
esac
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  build=$0 which=$1 out=$2 exe=$3
  wine "$build/$exe" >/dev/null 2>&1 &
  find_window() {
    for i in $(seq 1 100); do
      window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
      [ -n "$window" ] && return 0
      sleep 0.1
    done
    echo "window \"$1\" not found" >&2
    return 1
  }
  status=0
  if find_window "^Corvane 1.0a\$"; then
    if [ "$which" = about ]; then
      sleep 0.5
      xdotool key alt+h
      sleep 0.3
      xdotool key Down Return
      find_window "^About\$" || status=1
    fi
  else
    status=1
  fi
  if [ $status -eq 0 ]; then
    sleep 1                                 # let every control paint
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
    rm -f "$shot"
    echo "$out"
  fi
  wineserver -k
  exit $status' "$build" "$which" "$out" "$exe"
