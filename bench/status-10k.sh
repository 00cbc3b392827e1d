#!/bin/sh
# A status check of 10,000 machines that answer, through one router hop, all inside namespaces
# this script makes and deletes: the sender, a router, and a target namespace that holds the
# 10,000 addresses on its lo (a TCP connect to a closed port there gets a reset, which counts
# as up). Compares corvane-wake --status (or, until it is built, corvane_status_driver over the
# check runner) with bench/bare-connect.c, the same non-blocking connects with epoll; prints the
# median wall time of each, their ratio (aim: at most 1.3x), peak memory (aim: at most 16 MiB),
# the sender's neighbour table and its open-file limit. Needs root.
#   bench/status-10k.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "${1:?usage: bench/status-10k.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
count=10000
port=9
first=10.214.0.1
here=$(cd "$(dirname "$0")" && pwd)
p=cvst$$
s=${p}s r=${p}r t=${p}t
work=$(mktemp -d)

cleanup() {
    for ns in $s $r $t; do ip netns del "$ns" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ip netns add $s && ip netns add $r && ip netns add $t
ip link add ${p}a netns $s type veth peer name ${p}b netns $r
ip link add ${p}c netns $r type veth peer name ${p}d netns $t
ip -n $s addr add 10.213.0.1/30 dev ${p}a
ip -n $r addr add 10.213.0.2/30 dev ${p}b
ip -n $r addr add 10.213.0.5/30 dev ${p}c
ip -n $t addr add 10.213.0.6/30 dev ${p}d
for ns in $s $r $t; do ip -n $ns link set lo up; done
ip -n $s link set ${p}a up
ip -n $r link set ${p}b up
ip -n $r link set ${p}c up
ip -n $t link set ${p}d up
ip netns exec $r sysctl -qw net.ipv4.ip_forward=1
ip -n $s route add 10.214.0.0/16 via 10.213.0.2
ip -n $r route add 10.214.0.0/16 via 10.213.0.6
ip -n $t route add 10.213.0.0/29 via 10.213.0.5

# The target's addresses and the hosts file, both from the same list.
python3 - "$work" $count <<'PY'
import ipaddress, sys
work, count = sys.argv[1], int(sys.argv[2])
first = int(ipaddress.IPv4Address("10.214.0.1"))
with open(f"{work}/addresses.batch", "w") as batch, open(f"{work}/hosts", "w") as hosts:
    for i in range(count):
        address = ipaddress.IPv4Address(first + i)
        batch.write(f"addr add {address}/32 dev lo\n")
        hosts.write(f"h{i} 02-00-00-{i >> 16 & 255:02x}-{i >> 8 & 255:02x}-{i & 255:02x} "
                    f"{address} check=tcp:9\n")
PY
ip -n $t -batch "$work/addresses.batch"

cc -O2 -o "$work/bare-connect" "$here/bare-connect.c"
bare="$work/bare-connect $first $count $port"
if [ -x "$build/corvane-wake" ]; then
    name=corvane-wake
    ours="$build/corvane-wake --hosts $work/hosts --status all"
else
    name=corvane_status_driver
    ours="$build/corvane_status_driver $first $count $port"
fi

# One run in the sender namespace: "<wall ms> <peak KiB> <exit status>".
measure() {
    start=$(date +%s%N)
    set +e
    ip netns exec $s /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out" 2>"$work/err"
    status=$?
    set -e
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000000 )) $(cat "$work/rss") $status"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# shellcheck disable=SC2086
measure $bare >/dev/null  # warm up: the sender learns the router's MAC
: >"$work/bare.times"
: >"$work/ours.times"
i=0
while [ $i -lt "$runs" ]; do
    # shellcheck disable=SC2086
    set -- $(measure $bare)
    echo "$1 $2" >>"$work/bare.times"
    [ "$3" = 0 ] || { echo "bare-connect: $(cat "$work/out")" >&2; }
    # shellcheck disable=SC2086
    set -- $(measure $ours)
    echo "$1 $2" >>"$work/ours.times"
    [ "$3" = 0 ] || { echo "$name exit $3: $(tail -n 2 "$work/out" "$work/err")" >&2; }
    i=$((i + 1))
done

b=$(cut -d' ' -f1 "$work/bare.times" | median)
o=$(cut -d' ' -f1 "$work/ours.times" | median)
rss=$(cut -d' ' -f2 "$work/ours.times" | sort -n | tail -n 1)
brss=$(cut -d' ' -f2 "$work/bare.times" | sort -n | tail -n 1)
echo "bare-connect     $b ms (median of $runs), peak $brss KiB"
echo "$name $o ms (median of $runs), peak $rss KiB ($(awk "BEGIN { printf \"%.1f\", $rss / 1024 }") MiB; aim: at most 16 MiB)"
echo "ratio            $(awk "BEGIN { printf \"%.2f\", $o / $b }")x (aim: at most 1.3x)"
echo "sender: neighbour table $(ip -n $s neigh show | wc -l) entries; open files: soft $(ip netns exec $s sh -c 'ulimit -Sn'), hard $(ip netns exec $s sh -c 'ulimit -Hn')"
