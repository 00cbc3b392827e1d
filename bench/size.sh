#!/bin/sh
# Prints the size of every executable that ships, as it is in the packages: the programs in
# the .deb and the .exe files in the Windows zip (stripped, as they are installed).
#   bench/size.sh [PACKAGE_DIR]     (default build/packages; `make package` makes them)
set -eu
packages=${1:-build/packages}
found=no
for deb in "$packages"/corvane_*_amd64.deb; do
    [ -f "$deb" ] || continue
    found=yes
    echo "$(basename "$deb"):"
    dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/bin\/./ {
        sub("^\\./", "/", $6); printf "  %-40s %9d bytes  %6.1f KB\n", $6, $3, $3 / 1024 }'
done
for zip in "$packages"/corvane-*-win64.zip; do
    [ -f "$zip" ] || continue
    found=yes
    echo "$(basename "$zip"):"
    unzip -Zl "$zip" | awk '$NF ~ /\.exe$/ {
        printf "  %-40s %9d bytes  %6.1f KB\n", $NF, $4, $4 / 1024 }'
done
if [ "$found" = no ]; then
    echo "size.sh: no packages in $packages (make package)" >&2
    exit 1
fi
