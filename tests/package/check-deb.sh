#!/bin/sh
# Checks the Debian packages that `make package` made, as a user gets them:
#   - lintian reports no error, and no warning beyond those listed in lintian-accepted.txt;
#   - the programs, unpacked into a temporary root, wake on the loopback network: corvane's
#     magic packet reaches corvane-monitor from the same root;
#   - every program has its man page, and every man page renders without a warning and carries
#     the package's version; the documentation and changelog are there; every file under /etc
#     is a conffile; the example hosts file /etc/corvane/hosts holds nothing but comments and
#     blank lines, and corvane-wake reads it;
#   - the development package's CMake config builds a program against its library.
# Run it inside tools/isolated-run (make test-package does).
#   tests/package/check-deb.sh PACKAGE_DIR VERSION
set -eu
packages=$(cd "${1:?usage: check-deb.sh PACKAGE_DIR VERSION}" && pwd)
version=${2:?usage: check-deb.sh PACKAGE_DIR VERSION}
here=$(cd "$(dirname "$0")" && pwd)
deb=$packages/corvane_${version}_amd64.deb
dev=$packages/libcorvane-dev_${version}_amd64.deb
work=$(mktemp -d)
monitor_pid=
cleanup() {
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() {
    echo "check-deb: $*" >&2
    exit 1
}
for package in "$deb" "$dev"; do
    [ -f "$package" ] || fail "$package is missing (make package)"
done

echo "== lintian"
accepted=$(grep -v '^#' "$here/lintian-accepted.txt" | cut -d' ' -f1 | paste -sd, -)
lintian --fail-on error,warning ${accepted:+--suppress-tags "$accepted"} --display-info \
    --tag-display-limit 0 "$deb" "$dev" 2>&1 | grep -v '^running with root privileges' ||
    :
lintian --fail-on error,warning ${accepted:+--suppress-tags "$accepted"} -q "$deb" "$dev" \
    >/dev/null 2>&1 || fail "lintian found errors or warnings not in lintian-accepted.txt"

echo "== contents"
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"
dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Package Version Depends
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "Depends names no libc6 (shlibdeps)"
for file in README.md copyright changelog.gz; do
    [ -f "$root/usr/share/doc/corvane/$file" ] || fail "/usr/share/doc/corvane/$file is missing"
done
top=$(zcat "$root/usr/share/doc/corvane/changelog.gz" | sed -n '1s/^corvane (\([^)]*\)).*/\1/p')
[ "$top" = "$version" ] || fail "the changelog's latest entry is $top, not $version"
programs=$(ls "$root/usr/bin")
for required in corvane corvane-monitor corvane-relay corvane-wake corvane-web; do
    echo "$programs" | grep -qx "$required" || fail "/usr/bin/$required is missing"
done
for program in $programs; do
    [ -f "$root/usr/share/man/man1/$program.1.gz" ] || fail "$program has no man page"
done
# The services' units, each naming its program where the package put it.
for service in corvane-relay corvane-web; do
    unit=$root/usr/lib/systemd/system/$service.service
    [ -f "$unit" ] || fail "/usr/lib/systemd/system/$service.service is missing"
    grep -q "^ExecStart=/usr/bin/$service" "$unit" || fail "$service.service does not start /usr/bin/$service"
done
# Every file under /etc is a conffile, and every conffile is a file of the package.
find "$root/etc" -type f 2>/dev/null | sed "s|^$root||" | sort >"$work/etc-files"
sort "$work/control/conffiles" 2>/dev/null >"$work/conffiles" || : >"$work/conffiles"
diff "$work/etc-files" "$work/conffiles" || fail "the files under /etc and the conffiles differ"
hosts=$root/etc/corvane/hosts
[ -f "$hosts" ] || fail "/etc/corvane/hosts is missing"
if grep -v '^#' "$hosts" | grep -q '[^[:space:]]'; then
    fail "/etc/corvane/hosts has a line that is not a comment"
fi
[ -z "$("$root/usr/bin/corvane-wake" --hosts "$hosts" --list)" ] ||
    fail "corvane-wake finds hosts in the example hosts file"

echo "== man pages"
for page in "$root"/usr/share/man/man*/*; do
    name=$(basename "$page")
    case $name in *.gz) ;; *) fail "$name is not compressed" ;; esac
    gzip -t "$page" || fail "$name is not valid gzip"
    zcat "$page" | grep -q "^\.TH .*\"Corvane $version\"" || fail "$name does not say Corvane $version"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES FILES "SEE ALSO"; do
        zcat "$page" | grep -q "^\.SH \"*$section\"*$" || fail "$name has no $section section"
    done
    zcat "$page" | groff -ww -man -z 2>"$work/groff" || fail "groff fails on $name"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >/dev/null 2>"$work/man" ||
        fail "man -l fails on $name"
    if [ -s "$work/groff" ] || [ -s "$work/man" ]; then
        cat "$work/groff" "$work/man" >&2
        fail "$name renders with warnings"
    fi
    echo "$name renders without warnings"
done

echo "== a wake from the unpacked package"
# The default port first (nothing else listens inside the isolated namespace), another one if
# it is taken.
start_monitor() {
    : >"$work/monitor.err"
    "$root/usr/bin/corvane-monitor" --port "$1" --count 1 --timeout 10 \
        >"$work/monitor.out" 2>"$work/monitor.err" &
    monitor_pid=$!
    tries=0
    while [ $tries -lt 100 ]; do
        grep -q 'listening' "$work/monitor.err" && return 0
        kill -0 "$monitor_pid" 2>/dev/null || { wait "$monitor_pid" || :; monitor_pid=; return 1; }
        sleep 0.05
        tries=$((tries + 1))
    done
    return 1
}
port=26354
if ! start_monitor $port; then
    port=$((40000 + $$ % 20000))
    start_monitor $port || { cat "$work/monitor.err" >&2; fail "corvane-monitor does not start"; }
fi
"$root/usr/bin/corvane" 00-11-22-33-44-55 127.255.255.255 /pw:ab "/port:$port" >"$work/corvane.out" ||
    fail "corvane exited with status $?"
wait "$monitor_pid" || fail "corvane-monitor received nothing"
monitor_pid=
cat "$work/corvane.out" "$work/monitor.out"
printf 'MagicPaket sent to:\nDevice: 00-11-22-33-44-55\nBCast Domain: 127.255.255.255\nSent with WOL Password\n' |
    cmp -s - "$work/corvane.out" || fail "corvane printed something else"
grep -q ', 104 bytes: magic packet for 00-11-22-33-44-55, password 2 bytes: 61 62$' \
    "$work/monitor.out" || fail "corvane-monitor saw something else"

echo "== the development package"
dpkg-deb -c "$dev"
dev_root=$work/dev
dpkg-deb -x "$dev" "$dev_root"
[ -f "$dev_root/usr/share/doc/libcorvane-dev/copyright" ] || fail "libcorvane-dev has no copyright file"
mkdir -p "$work/consumer"
cat >"$work/consumer/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(consumer CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(Corvane REQUIRED)
add_executable(consumer main.cpp)
target_link_libraries(consumer PRIVATE Corvane::corvane)
CMAKE
cat >"$work/consumer/main.cpp" <<'CPP'
#include <wake/MagicPacket.h>
#include <wake/WakeRequest.h>

int main() {
    return CheckMacAddress("00-11-22-33-44-55") &&
                   BuildMagicPacket("00-11-22-33-44-55", "").size() == 102
               ? 0
               : 1;
}
CPP
cmake -S "$work/consumer" -B "$work/consumer/build" -DCMAKE_PREFIX_PATH="$dev_root/usr" \
    >"$work/consumer.log" 2>&1 &&
    cmake --build "$work/consumer/build" >>"$work/consumer.log" 2>&1 ||
    { cat "$work/consumer.log" >&2; fail "a program cannot be built against libcorvane-dev"; }
"$work/consumer/build/consumer" || fail "the program built against libcorvane-dev fails"
echo "a program built with find_package(Corvane) against the unpacked libcorvane-dev runs"
echo "check-deb: all checks passed"
