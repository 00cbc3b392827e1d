#!/bin/sh
# systemd-analyze accepts corvane-web.service, its program being the one just built and its man
# page the one in man/; the unit runs as a dynamic user with only CAP_NET_RAW, its configuration
# in a state folder of mode 0700.
#   web-unit.sh SOURCE_DIR WEB_PROGRAM      exit 0 passed, 1 failed, 77 skipped
set -u
source_dir=$1
program=$2
command -v systemd-analyze >/dev/null 2>&1 || {
    echo "SKIP: systemd-analyze is not installed (Debian's systemd package)"
    exit 77
}
unit=$source_dir/packaging/corvane-web.service
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/man/man1"
cp "$source_dir/man/corvane-web.1" "$work/man/man1/" || exit 1
sed "s|^ExecStart=/usr/bin/corvane-web |ExecStart=$program |" "$unit" >"$work/corvane-web.service"
grep -q "^ExecStart=$program --config /var/lib/corvane-web/web.conf$" "$work/corvane-web.service" || {
    echo "FAIL: ExecStart is not /usr/bin/corvane-web with the state folder's config"
    exit 1
}
if ! MANPATH="$work/man" systemd-analyze verify "$work/corvane-web.service" >"$work/log" 2>&1; then
    echo "FAIL: systemd-analyze verify:"
    cat "$work/log"
    exit 1
fi
for line in DynamicUser=yes CapabilityBoundingSet=CAP_NET_RAW AmbientCapabilities=CAP_NET_RAW \
    NoNewPrivileges=yes ProtectSystem=strict StateDirectory=corvane-web StateDirectoryMode=0700 \
    ProtectHome=yes PrivateDevices=yes UMask=0077; do
    grep -qx "$line" "$unit" || {
        echo "FAIL: the unit lacks $line"
        exit 1
    }
done
# As strict as the relay's: every sandboxing line of the relay's unit is in this one too, except
# its capability and its address families (this one has fewer).
grep -E '^(Protect|Private|Restrict|Lock|Memory|Remove|SystemCall|DevicePolicy|ProcSubset)' \
    "$source_dir/packaging/corvane-relay.service" | grep -v '^RestrictAddressFamilies=' |
    while read -r line; do
        grep -qxF "$line" "$unit" || {
            echo "FAIL: the unit lacks the relay's $line"
            exit 1
        }
    done || exit 1
echo "PASS: systemd-analyze verify accepts corvane-web.service"
