#!/bin/sh
# corvane-relay between two test subnets that exist only inside network namespaces made here:
#   sender 10.213.8.1 --- 10.213.8.2 relay 10.213.9.1 --- 10.213.9.2 target (corvane-monitor)
# The relay's namespace does not forward IP (ip_forward 0), so a packet reaches the target's
# subnet only when the relay broadcasts it there. Nothing reaches the host's own networks.
#   relay.sh BUILD_DIR      exit 0 passed, 1 failed, 77 skipped
set -u
build=$1
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is not installed"
command -v python3 >/dev/null 2>&1 || skip "python3 (for sending raw datagrams) is not installed"

sender=corvane-relay-send-$$
relay=corvane-relay-relay-$$
target=corvane-relay-target-$$
work=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for ns in "$sender" "$relay" "$target"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    echo "FAIL: $*"
    for f in "$work"/*.out "$work"/*.err; do [ -s "$f" ] && { echo "== $f"; cat "$f"; }; done
    exit 1
}

ip netns add "$sender" 2>"$work/ns.log" || skip "cannot create a network namespace: $(cat "$work/ns.log")"
ip netns add "$relay" && ip netns add "$target" || skip "cannot create more network namespaces"
ip -n "$sender" link add s0 type veth peer name r0 netns "$relay" &&
    ip -n "$relay" link add r1 type veth peer name t0 netns "$target" ||
    skip "cannot create veth pairs"
set -e
ip -n "$sender" addr add 10.213.8.1/24 broadcast 10.213.8.255 dev s0
ip -n "$sender" addr add 10.213.8.200/24 dev s0
ip -n "$relay" addr add 10.213.8.2/24 broadcast 10.213.8.255 dev r0
ip -n "$relay" addr add 10.213.9.1/24 broadcast 10.213.9.255 dev r1
ip -n "$target" addr add 10.213.9.2/24 broadcast 10.213.9.255 dev t0
ip netns exec "$relay" sh -c 'echo 0 >/proc/sys/net/ipv4/ip_forward'
for ns in "$sender" "$relay" "$target"; do ip -n "$ns" link set lo up; done
ip -n "$sender" link set s0 up
ip -n "$relay" link set r0 up
ip -n "$relay" link set r1 up
ip -n "$target" link set t0 up
# The sender reaches the target's subnet only through the relay's machine, as across a router.
ip -n "$sender" route add 10.213.9.0/24 via 10.213.8.2
set +e
for link in "$sender s0" "$relay r0" "$relay r1" "$target t0"; do
    set -- $link
    tries=0
    until ip -n "$1" link show dev "$2" | grep -q LOWER_UP; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && fail "link $2 did not come up"
        sleep 0.05
    done
done

# wait_for FILE TEXT: until the file holds the text (a started program's first line).
wait_for() {
    tries=0
    until grep -q "$2" "$1" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -gt 200 ] && fail "'$2' did not appear in $1"
        sleep 0.05
    done
}
# start_monitor NAME SECONDS: corvane-monitor on port 9 in the target for that long.
start_monitor() {
    ip netns exec "$target" "$build/corvane-monitor" --port 9 --count 2 --timeout "$2" \
        >"$work/$1-monitor.out" 2>"$work/$1-monitor.err" &
    monitor_pid=$!
    pids="$pids $monitor_pid"
    wait_for "$work/$1-monitor.err" listening
}
# start_relay NAME ARGS...: corvane-relay in its namespace.
start_relay() {
    name=$1
    shift
    ip netns exec "$relay" "$build/corvane-relay" --timeout 10 "$@" \
        >"$work/$name-relay.out" 2>"$work/$name-relay.err" &
    relay_pid=$!
    pids="$pids $relay_pid"
    wait_for "$work/$name-relay.err" listening
}
# send_raw SOURCE PORT HEX: one datagram of those bytes from the sender to the relay.
send_raw() {
    ip netns exec "$sender" python3 -c 'import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind((sys.argv[1], 0))
s.sendto(bytes.fromhex(sys.argv[3]), ("10.213.8.2", int(sys.argv[2])))' "$1" "$2" "$3"
}
# The monitor's line for the packet, with the sender's port (the system's choice) as PORT.
monitor_lines() {
    sed 's/^\(from [0-9.]*:\)[0-9]*,/\1PORT,/' "$work/$1-monitor.out"
}
packet_line="105 bytes: magic packet for 00-11-22-33-44-55, password 3 bytes: 61 62 63"
magic_hex=ffffffffffff$(printf '001122334455%.0s' $(seq 16))

# 1. corvane aimed at the relay: exactly one identical packet arrives on the target's subnet.
start_monitor via 3
start_relay via --to 10.213.9.255
sent=0
until grep -q forwarded "$work/via-relay.out"; do
    sent=$((sent + 1))
    [ $sent -gt 20 ] && fail "the relay forwarded nothing"
    ip netns exec "$sender" "$build/corvane" 00-11-22-33-44-55 10.213.8.2 /pw:abc \
        >"$work/via-send.out" 2>&1 || fail "corvane could not send"
    sleep 0.3
done
wait "$monitor_pid"
[ "$(monitor_lines via)" = "from 10.213.9.1:PORT, $packet_line" ] ||
    fail "the target did not get exactly the one packet"
grep -q "^from 10.213.8.1:[0-9]*, $packet_line -> forwarded to 10.213.9.255:9\$" \
    "$work/via-relay.out" || fail "the relay's line is not as expected"
kill -INT "$relay_pid"  # Ctrl-C
wait "$relay_pid"
[ $? -eq 0 ] || fail "the relay did not end with status 0 at Ctrl-C"

# 2. Without the relay, the same corvane aimed at the target subnet's broadcast reaches nothing.
start_monitor direct 1.5
ip netns exec "$sender" "$build/corvane" 00-11-22-33-44-55 10.213.9.255 /pw:abc /port:9 \
    >"$work/direct-send.out" 2>&1 || fail "corvane could not send to 10.213.9.255"
wait "$monitor_pid"
[ -s "$work/direct-monitor.out" ] && fail "a broadcast crossed the relay's machine by itself"

# 3. Output port equal to the listening port: the relay hears its own broadcast and drops it,
#    even with the repeat window off.
start_monitor loop 5
start_relay loop --port 9 --window 0 --count 2 --to 10.213.9.255:9
send_raw 10.213.8.1 9 "${magic_hex}616263"
wait "$relay_pid"
relay_status=$?
wait "$monitor_pid"
[ "$(monitor_lines loop)" = "from 10.213.9.1:PORT, $packet_line" ] ||
    fail "the target did not get exactly one packet from a relay that hears itself"
sed -n 2p "$work/loop-relay.out" | grep -q "^from 10.213.9.1:[0-9]*, $packet_line -> dropped: from this relay\$" ||
    fail "the relay did not drop its own broadcast"
[ $relay_status -eq 0 ] || fail "the relay did not end with status 0 at its count"

# 4. A datagram that is not a magic packet, and a magic packet from outside --allow, are dropped.
start_monitor drop 1.5
start_relay drop --allow 10.213.8.0/25 --count 2 --to 10.213.9.255
send_raw 10.213.8.1 26354 "ffffffffffff0011"
send_raw 10.213.8.200 26354 "$magic_hex"
wait "$relay_pid"
wait "$monitor_pid"
[ -s "$work/drop-monitor.out" ] && fail "a dropped datagram arrived"
grep -q "^from 10.213.8.1:[0-9]*, 8 bytes: not a magic packet -> dropped: not a magic packet\$" \
    "$work/drop-relay.out" || fail "the non-magic datagram was not dropped as such"
grep -q "^from 10.213.8.200:[0-9]*, 102 bytes: .* -> dropped: source not allowed\$" \
    "$work/drop-relay.out" || fail "the source outside --allow was not dropped"

# 5. --interface finds the directed broadcast of the relay's leg on the target's subnet.
start_monitor interface 5
start_relay interface --count 1 --interface r1
grep -q "forwarding to 10.213.9.255:9\$" "$work/interface-relay.err" ||
    fail "--interface r1 is not 10.213.9.255"
send_raw 10.213.8.1 26354 "${magic_hex}616263"
wait "$monitor_pid"
[ "$(monitor_lines interface)" = "from 10.213.9.1:PORT, $packet_line" ] ||
    fail "nothing arrived through --interface"
ip netns exec "$relay" "$build/corvane-relay" --interface nosuch0 >/dev/null 2>"$work/bad.err"
[ $? -eq 3 ] || fail "an unknown interface did not exit with 3"

echo "PASS: relayed once, nothing without it, own broadcast dropped, drops, --interface"
