#!/bin/sh
# tools/check-layers on a small tree of its own: a clean tree passes; an upward include, a
# Windows header outside WinApi.h and WinApi.h in a platform-free file each fail with the file
# and line.
set -u
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

mkdir -p "$tree/src/base" "$tree/src/net" "$tree/src/controls" "$tree/src/platform"
printf '#pragma once\n#include <windows.h>\n' >"$tree/src/base/WinApi.h"
printf '#pragma once\n' >"$tree/src/net/IdStack.h"
printf '#include "base/WinApi.h"\n' >"$tree/src/platform/Form_win.cpp"
printf '#include "platform/Platform.h"\n#include "Other.h"\n' >"$tree/src/controls/Label.cpp"
printf '#pragma once\n' >"$tree/src/platform/Platform.h"
printf '#pragma once\n' >"$tree/src/controls/Other.h"

expect() {  # expect <wanted status> <wanted text or ''> <what>
    out=$("$check" --root "$tree")
    status=$?
    if [ "$status" != "$1" ] || { [ -n "$2" ] && ! printf '%s\n' "$out" | grep -qF "$2"; }; then
        echo "FAIL: $3: status $status, output: $out"
        failures=$((failures + 1))
    fi
}

expect 0 '' "a clean tree"

printf '#pragma once\n#include "net/IdStack.h"\n' >"$tree/src/base/Text.h"
expect 1 'src/base/Text.h:2: includes "net/IdStack.h": base/ may use nothing else' "upward include"
rm "$tree/src/base/Text.h"

printf '#include "../net/IdStack.h"\n' >"$tree/src/controls/Gradient.cpp"
expect 1 'src/controls/Gradient.cpp:1: includes "../net/IdStack.h"' "relative include"
rm "$tree/src/controls/Gradient.cpp"

printf '#include <Windows.h>\n' >"$tree/src/platform/Canvas_win.cpp"
expect 1 'src/platform/Canvas_win.cpp:1: includes <Windows.h>' "Windows header past WinApi.h"
rm "$tree/src/platform/Canvas_win.cpp"

printf '#include "base/WinApi.h"\n' >"$tree/src/platform/Timer.cpp"
expect 1 'src/platform/Timer.cpp:1: includes "base/WinApi.h"' "WinApi.h in platform-free code"
rm "$tree/src/platform/Timer.cpp"

expect 0 '' "the tree cleaned again"
[ "$failures" = 0 ] && echo "check-layers: all cases behave"
exit "$failures"
