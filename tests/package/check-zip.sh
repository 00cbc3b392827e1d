#!/bin/sh
# Checks the Windows zip that `make package` made, as a user gets it:
#   - its file list: one folder corvane-<version>-win64 with the programs (corvane.exe,
#     corvane-monitor.exe, corvane-wake.exe and any other corvane*.exe), help/ as in the
#     sources, README.txt, LICENSE.txt and hosts.example (all comments, CRLF), nothing else;
#   - every program is stripped, is byte for byte the one the Wine suites ran in the build
#     folder, and carries the version resource (read back from the file) and the manifest;
#   - corvane.exe is at most 500 KB;
#   - the unpacked programs under Wine: the whole-program tests of corvane.exe, the monitor,
#     the relay and corvane-wake run next to them, and a Linux listener receives corvane.exe's packet.
# Run it inside tools/isolated-run (make test-package does): Wine's sockets then stay inside.
#   tests/package/check-zip.sh PACKAGE_DIR VERSION WINDOWS_BUILD_DIR
set -eu
usage="usage: check-zip.sh PACKAGE_DIR VERSION WINDOWS_BUILD_DIR"
packages=$(cd "${1:?$usage}" && pwd)
version=${2:?$usage}
build=$(cd "${3:?$usage}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_root=$(cd "$here/../.." && pwd)
top=corvane-$version-win64
zip=$packages/$top.zip
max_bytes=$((500 * 1024))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
fail() {
    echo "check-zip: $*" >&2
    exit 1
}
[ -f "$zip" ] || fail "$zip is missing (make package)"

echo "== file list"
unzip -Z1 "$zip" | tee "$work/list"
(
    cd "$source_root"
    git ls-files help | sed "s|^|$top/|"
    printf '%s\n' "$top/README.txt" "$top/LICENSE.txt" "$top/hosts.example" "$top/corvane.exe" \
        "$top/corvane-monitor.exe" "$top/corvane-relay.exe" "$top/corvane-wake.exe"
) | sort >"$work/required"
grep -v '/$' "$work/list" | sort >"$work/files"
missing=$(comm -23 "$work/required" "$work/files")
[ -z "$missing" ] || fail "missing from the zip: $missing"
extra=$(comm -13 "$work/required" "$work/files" | grep -v "^$top/corvane[a-z-]*\.exe$" || :)
[ -z "$extra" ] || fail "not meant for the zip: $extra"

unzip -q "$zip" -d "$work"
folder=$work/$top
tr -d '\r' <"$folder/LICENSE.txt" | head -n "$(wc -l <"$source_root/LICENSE")" |
    cmp -s - "$source_root/LICENSE" || fail "LICENSE.txt does not start with LICENSE"
for text in README.txt LICENSE.txt; do
    [ "$(grep -c "$(printf '\r')\$" "$folder/$text")" = "$(wc -l <"$folder/$text")" ] ||
        fail "$text has lines without CRLF"
    grep -q 'based in part on the work of the Independent JPEG Group' "$folder/$text" ||
        fail "$text lacks the IJG notice"
done
grep -q "Corvane $version" "$folder/README.txt" || fail "README.txt does not name version $version"
tr -d '\r' <"$folder/hosts.example" | cmp -s - "$source_root/packaging/hosts" ||
    fail "hosts.example is not packaging/hosts"
[ "$(grep -c "$(printf '\r')\$" "$folder/hosts.example")" = "$(wc -l <"$folder/hosts.example")" ] ||
    fail "hosts.example has lines without CRLF"

echo "== programs"
copyright=$(sed -n 's/^\(Copyright (c) .*\)$/\1/p' "$source_root/LICENSE")
for exe in "$folder"/*.exe; do
    name=$(basename "$exe" .exe)
    bytes=$(wc -c <"$exe")
    echo "$name.exe: $bytes bytes"
    cmp -s "$exe" "$build/$name.exe" || fail "$name.exe is not the one in $build"
    if x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug'; then
        fail "$name.exe has debug sections"
    fi
    [ -z "$(x86_64-w64-mingw32-nm "$exe" 2>/dev/null)" ] || fail "$name.exe has symbols"
    "$here/pe-resources.py" "$exe" >"$work/resources" || fail "cannot read $name.exe's resources"
    for pair in "ProductName=Corvane" "ProductVersion=$version" "FileVersion=$version" \
        "LegalCopyright=$copyright" "OriginalFilename=$name.exe"; do
        grep -qxF "$pair" "$work/resources" || fail "$name.exe's version resource lacks $pair"
    done
    grep -q '^FileDescription=Corvane .' "$work/resources" || fail "$name.exe has no file description"
    sed -n '/^manifest:$/,$p' "$work/resources" >"$work/manifest"
    grep -q 'level="asInvoker"' "$work/manifest" || fail "$name.exe's manifest lacks asInvoker"
    [ "$(grep -c '<supportedOS Id=' "$work/manifest")" -ge 4 ] ||
        fail "$name.exe's manifest names fewer than four Windows versions"
    if grep -qi 'Common-Controls\|dpiAware' "$work/manifest"; then
        fail "$name.exe's manifest changes the controls or the DPI scaling"
    fi
    sed -n '1,/^manifest:$/p' "$work/resources" | grep -v '^manifest:$'
done
bytes=$(wc -c <"$folder/corvane.exe")
[ "$bytes" -le $max_bytes ] || fail "corvane.exe has $bytes bytes, more than $max_bytes"

echo "== the unpacked programs under Wine"
# The whole-program tests find the program they start next to themselves: they run from the
# unpacked folder.
program_tests="win_ui_CorvaneExeTest win_net_monitor_test win_net_relay_test win_net_wake_test"
for test in $program_tests; do
    cp "$build/$test.exe" "$folder/"
done
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
"$source_root/tools/wine-prefix.sh" "$WINEPREFIX"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
    folder=$0 work=$1 listener=$2 program_tests=$3
    wineserver -p                       # keep wineserver and explorer out of the pipes
    wine cmd /c exit >/dev/null 2>&1
    rc=0
    for test in $program_tests; do
        if wine "$folder/$test.exe" >"$work/$test.log" 2>&1; then
            echo "$test: $(tr -d "\r" <"$work/$test.log" | grep "^\[  PASSED  \]")"
        else
            tr -d "\r" <"$work/$test.log"
            echo "$test failed"
            rc=1
        fi
    done
    sh "$listener" "$folder/corvane.exe" || rc=1
    wineserver -k
    exit $rc' "$folder" "$work" "$source_root/tests/win/native-listener.sh" "$program_tests" ||
    fail "a Wine test failed"
echo "check-zip: all checks passed"
