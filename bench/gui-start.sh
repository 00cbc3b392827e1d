#!/bin/sh
# corvane.exe's start-up under Wine next to the floor program (corvane_gui_floor.exe: the same
# main window made directly with CreateWindowExA, with the same controls, menu, icon and
# gradient, after the common controls and Windows Sockets are started as corvane.exe starts
# them; tools/screenshot.sh BUILD_DIR floor shows it): the time from launch to the main window
# being mapped on the X display, in one Xvfb screen with a warm wineserver, the two programs
# taking turns. Both windows carry the title "Corvane 1.0a". Prints both medians and their ratio.
#   bench/gui-start.sh BUILD_DIR [RUNS]     (BUILD_DIR: the Windows build, RUNS per program: 40)
# corvane.exe starts without arguments, so it sends nothing; `make bench-gui` runs this inside
# tools/isolated-run all the same.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: bench/gui-start.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-40}
for exe in corvane.exe corvane_gui_floor.exe; do
    [ -f "$build/$exe" ] || { echo "gui-start: no $build/$exe (make build-windows)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/map-watch" "$here/map-watch.c" -lX11

export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$here/../tools/wine-prefix.sh" "$WINEPREFIX"

# Other work on the machine slows the two programs unevenly; where allowed, the runs get a
# higher priority (Xvfb, wineserver and the programs alike).
boost=""
if nice -n -10 true 2>/dev/null; then
    boost="nice -n -10"
fi
$boost xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
  build=$0 work=$1 runs=$2
  wineserver -p                        # warm: wineserver, explorer and services stay up
  wine cmd /c exit >/dev/null 2>&1
  time_start() {  # time_start TITLE EXE FILE: one launch, its microseconds appended to FILE
    "$work/map-watch" "$1" wine "$build/$2" >>"$3" 2>"$work/error" || { cat "$work/error" >&2; exit 1; }
    sleep 0.2                          # let wineserver and explorer finish with the old process
  }
  for i in 1 2 3; do                   # warm-up: the DLLs in the page cache, fonts cached
    time_start "Corvane 1.0a" corvane.exe "$work/warm-up"
    time_start "Corvane 1.0a" corvane_gui_floor.exe "$work/warm-up"
  done
  i=0
  while [ $i -lt "$runs" ]; do
    time_start "Corvane 1.0a" corvane.exe "$work/corvane"
    time_start "Corvane 1.0a" corvane_gui_floor.exe "$work/floor"
    i=$((i + 1))
  done
  wineserver -k' "$build" "$work" "$runs"

median() {  # the median of the numbers in file $1, one a line
    sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
c=$(median "$work/corvane")
f=$(median "$work/floor")
# The fastest runs too: on a busy machine they show the programs' own cost best.
cmin=$(sort -n "$work/corvane" | head -n 1)
fmin=$(sort -n "$work/floor" | head -n 1)
# Each corvane.exe run over the floor run right after it: the two shared the machine's load.
paired=$(paste "$work/corvane" "$work/floor" | awk '{ print $1 / $2 }' >"$work/ratios" && median "$work/ratios")
awk -v c="$c" -v f="$f" -v cmin="$cmin" -v fmin="$fmin" -v n="$runs" -v paired="$paired" 'BEGIN {
    printf "corvane.exe           %7.1f ms median, launch to main window mapped (%d runs; fastest %.1f ms)\n", c / 1000, n, cmin / 1000
    printf "corvane_gui_floor.exe %7.1f ms median (%d runs; fastest %.1f ms)\n", f / 1000, n, fmin / 1000
    printf "ratio                 %7.2fx of the medians (aim: at most 1.05x)\n", c / f
    printf "                      %7.2fx median of the paired runs, %.2fx of the fastest\n", paired, cmin / fmin
}'
