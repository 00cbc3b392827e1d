#!/bin/sh
# Installs the build into a temporary prefix and builds and runs a small project of a library
# user against it: find_package(Corvane) must give the wake logic without libjpeg's package, and
# the controls component must link too.
set -eu
build=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
# The config of the wake logic alone must not ask for libjpeg.
if grep -q JPEG "$work/prefix/lib/cmake/Corvane/CorvaneTargets.cmake"; then
    echo "CorvaneTargets.cmake needs libjpeg" >&2
    exit 1
fi
cmake -S "$here/consumer" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
"$work/build/wake_only"
"$work/build/with_controls"
