#!/bin/sh
# systemd-analyze accepts corvane-relay.service, its program being the one just built and its
# man page the one in man/; the unit runs without root and with only the capability to bind a
# low port.
#   relay-unit.sh SOURCE_DIR RELAY_PROGRAM      exit 0 passed, 1 failed, 77 skipped
set -u
source_dir=$1
program=$2
command -v systemd-analyze >/dev/null 2>&1 || {
    echo "SKIP: systemd-analyze is not installed (Debian's systemd package)"
    exit 77
}
unit=$source_dir/packaging/corvane-relay.service
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/man/man1"
cp "$source_dir/man/corvane-relay.1" "$work/man/man1/" || exit 1
sed "s|^ExecStart=/usr/bin/corvane-relay |ExecStart=$program |" "$unit" >"$work/corvane-relay.service"
grep -q "^ExecStart=$program " "$work/corvane-relay.service" || {
    echo "FAIL: ExecStart is not /usr/bin/corvane-relay with options"
    exit 1
}
if ! MANPATH="$work/man" systemd-analyze verify "$work/corvane-relay.service" >"$work/log" 2>&1; then
    echo "FAIL: systemd-analyze verify:"
    cat "$work/log"
    exit 1
fi
for line in DynamicUser=yes CapabilityBoundingSet=CAP_NET_BIND_SERVICE \
    AmbientCapabilities=CAP_NET_BIND_SERVICE NoNewPrivileges=yes ProtectSystem=strict \
    EnvironmentFile=-/etc/default/corvane-relay; do
    grep -qx "$line" "$unit" || {
        echo "FAIL: the unit lacks $line"
        exit 1
    }
done
# The defaults file sets the variable that ExecStart passes on.
(. "$source_dir/packaging/corvane-relay.default" && [ "${RELAY_OPTIONS+set}" = set ]) || {
    echo "FAIL: corvane-relay.default does not set RELAY_OPTIONS"
    exit 1
}
echo "PASS: systemd-analyze verify accepts corvane-relay.service"
