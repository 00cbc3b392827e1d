#!/bin/sh
# The page served by the real corvane-web, in headless Chromium, with sleeping machines on a LAN
# that exists only inside network namespaces made here:
#   web namespace: corvane-web on 127.0.0.1:8089 and the browser; w0 10.213.70.1/24
#        --- lan namespace: up0 [br0] pN --- mN (sleeping-machine gives mN its address on waking)
# Nothing reaches the host's own networks.
#   real.sh BUILD_DIR     exit 0 passed, 1 failed, 77 skipped
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is not installed"
command -v node >/dev/null 2>&1 || skip "node is not installed (tools/install-deps installs nodejs)"
[ -x /usr/bin/chromium ] || skip "/usr/bin/chromium is missing (tools/install-deps installs chromium)"
[ -d "$here/node_modules/playwright-core" ] || skip "playwright-core is missing (tools/install-deps)"
[ -x "$build/corvane-web" ] || skip "$build/corvane-web is not built"
[ -x "$build/sleeping-machine" ] || skip "$build/sleeping-machine is not built"

web=corvane-browser-web-$$
lan=corvane-browser-lan-$$
work=$(mktemp -d)
pids=
cleanup() {
    # The test's browser is a child of its node process: ended by process id, like the others.
    for pid in $pids; do
        for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do kill "$child" 2>/dev/null; done
        kill "$pid" 2>/dev/null
    done
    for ns in "$web" "$lan"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
# A signal (also a closed pipe or terminal) ends the script through its EXIT trap.
trap 'exit 1' HUP INT PIPE TERM
fail() {
    echo "FAIL: $*"
    for f in "$work"/*.out "$work"/*.err "$work"/*.log; do
        [ -s "$f" ] && { echo "== $f"; tail -n 40 "$f"; }
    done
    exit 1
}

ip netns add "$web" 2>"$work/ns.log" || skip "cannot create a network namespace: $(cat "$work/ns.log")"
ip netns add "$lan" || skip "cannot create a second network namespace"
ip -n "$lan" link add br0 type bridge 2>"$work/ns.log" || skip "cannot create a bridge: $(cat "$work/ns.log")"
set -e
ip netns exec "$lan" sh -c 'for key in all default; do
    echo 1 >/proc/sys/net/ipv4/conf/$key/arp_ignore
    echo 2 >/proc/sys/net/ipv4/conf/$key/arp_announce
    echo 0 >/proc/sys/net/ipv4/conf/$key/rp_filter
    echo 1 >/proc/sys/net/ipv6/conf/$key/disable_ipv6
done' 2>/dev/null
ip -n "$lan" link set br0 type bridge forward_delay 0
for ns in "$web" "$lan"; do ip -n "$ns" link set lo up; done
ip -n "$lan" link set br0 up
ip -n "$web" link add w0 type veth peer name up0 netns "$lan"
ip -n "$lan" link set up0 master br0
ip -n "$lan" link set up0 up
ip -n "$web" addr add 10.213.70.1/24 broadcast 10.213.70.255 dev w0
ip -n "$web" link set w0 up
for n in 1 2 3; do
    ip -n "$lan" link add "m$n" address "02:00:00:00:00:0$n" type veth peer name "p$n"
    ip -n "$lan" link set "p$n" master br0
    ip -n "$lan" link set "p$n" up
    ip -n "$lan" link set "m$n" up
done
set +e
tries=0
until ip -n "$web" link show dev w0 | grep -q LOWER_UP; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && fail "link w0 did not come up"
    sleep 0.05
done

# wait_for FILE TEXT: until the file holds the text (bounded).
wait_for() {
    tries=0
    until grep -q "$2" "$1" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -gt 200 ] && fail "'$2' did not appear in $1"
        sleep 0.05
    done
}

# desk wakes 6 s after its magic packet (long enough to watch `waking` count), server is awake
# from the start, attic never wakes.
ip netns exec "$lan" "$build/sleeping-machine" --log "$work/machines.log" --timeout 600 \
    --delay-ms 6000 --machine m1,02:00:00:00:00:01,10.213.70.11/24 \
    --awake --machine m2,02:00:00:00:00:02,10.213.70.12/24 \
    --never --machine m3,02:00:00:00:00:03,10.213.70.13/24 2>"$work/sleeper.err" &
pids="$pids $!"
wait_for "$work/sleeper.err" listening

cat >"$work/hosts" <<EOF
# test LAN 10.213.70.0/24 inside the test's namespaces
desk     02:00:00:00:00:01   10.213.70.11/24   check=tcp:22,icmp   group=office
server   02:00:00:00:00:02   10.213.70.12/24   check=tcp:22,icmp   group=office,lab
attic    02:00:00:00:00:03   10.213.70.13/24   check=tcp:22,icmp   group=lab
EOF
password='a test password'
printf '%s\n' "$password" | "$build/corvane-web" --set-password --config "$work/web.conf" \
    >"$work/set-password.out" 2>&1 || fail "--set-password failed"

ip netns exec "$web" "$build/corvane-web" --listen 127.0.0.1:8089 --hosts "$work/hosts" \
    --config "$work/web.conf" --wake-timeout 60 --resend 3 >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
pids="$pids $server_pid"
tries=0
until ip netns exec "$web" curl -sf -o /dev/null http://127.0.0.1:8089/ 2>/dev/null; do
    tries=$((tries + 1))
    kill -0 "$server_pid" 2>/dev/null || fail "corvane-web exited"
    [ $tries -gt 100 ] && fail "corvane-web does not answer on 127.0.0.1:8089"
    sleep 0.1
done

ip netns exec "$web" node "$here/page-test.mjs" --url http://127.0.0.1:8089 --password "$password" \
    --wake desk --hosts-file "$work/hosts" --wake-seconds 60 >"$work/page-test.out" 2>&1 &
node_pid=$!
pids="$pids $node_pid"
wait "$node_pid"
status=$?
cat "$work/page-test.out"
[ $status -eq 0 ] || fail "the page test failed ($status)"
grep -q ' m1 .* packet ' "$work/machines.log" || fail "desk received no magic packet"
echo "PASS: the page against corvane-web and sleeping machines"
