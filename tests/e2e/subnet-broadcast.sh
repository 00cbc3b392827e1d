#!/bin/sh
# A real subnet broadcast: two network namespaces joined by a veth pair on 10.213.7.0/24, a test
# subnet that exists only inside them. corvane in one sends to 10.213.7.255; corvane-monitor in
# the other must receive the packet. Nothing reaches the host's own networks.
#   subnet-broadcast.sh BUILD_DIR      exit 0 passed, 1 failed, 77 skipped
set -u
build=$1
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is not installed"

sender=corvane-e2e-send-$$
receiver=corvane-e2e-recv-$$
work=$(mktemp -d)
monitor_pid=
cleanup() {
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null
    ip netns del "$sender" 2>/dev/null
    ip netns del "$receiver" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

ip netns add "$sender" 2>"$work/ns.err" || skip "cannot create a network namespace: $(cat "$work/ns.err")"
ip netns add "$receiver" || skip "cannot create a second network namespace"
ip -n "$sender" link add wake0 type veth peer name wake1 netns "$receiver" ||
    skip "cannot create a veth pair"
set -e
ip -n "$sender" addr add 10.213.7.1/24 broadcast 10.213.7.255 dev wake0
ip -n "$receiver" addr add 10.213.7.2/24 broadcast 10.213.7.255 dev wake1
for ns in "$sender" "$receiver"; do
    ip -n "$ns" link set lo up
done
ip -n "$sender" link set wake0 up
ip -n "$receiver" link set wake1 up
set +e

ip netns exec "$receiver" "$build/corvane-monitor" --count 1 --timeout 20 \
    >"$work/out" 2>"$work/err" &
monitor_pid=$!
tries=0
until grep -q listening "$work/err"; do
    tries=$((tries + 1))
    if [ $tries -gt 200 ] || ! kill -0 "$monitor_pid" 2>/dev/null; then
        echo "FAIL: the monitor did not start"; cat "$work/err"; exit 1
    fi
    sleep 0.05
done

# The link may still be settling (duplicate address detection does not apply to IPv4, but the
# carrier of a fresh veth comes up asynchronously): send until the monitor has its datagram.
sent=0
while kill -0 "$monitor_pid" 2>/dev/null && [ $sent -lt 20 ]; do
    ip netns exec "$sender" "$build/corvane" 00-11-22-33-44-55 10.213.7.255 /pw:abc \
        >"$work/send.out" 2>"$work/send.err"
    status=$?
    if [ $status -ne 0 ]; then
        echo "FAIL: corvane exited with $status"; cat "$work/send.err"; exit 1
    fi
    sent=$((sent + 1))
    sleep 0.2
done
wait "$monitor_pid"
monitor_status=$?
monitor_pid=

expected="from 10.213.7.1:PORT, 105 bytes: magic packet for 00-11-22-33-44-55, password 3 bytes: 61 62 63"
got=$(sed 's/^\(from 10\.213\.7\.1:\)[0-9]*,/\1PORT,/' "$work/out")
if [ $monitor_status -ne 0 ] || [ "$got" != "$expected" ]; then
    echo "FAIL: monitor status $monitor_status, line: $(cat "$work/out")"
    cat "$work/err"
    exit 1
fi
if ! grep -qx 'BCast Domain: 10.213.7.255' "$work/send.out"; then
    echo "FAIL: corvane printed:"; cat "$work/send.out"; exit 1
fi
echo "PASS: $(cat "$work/out")"
