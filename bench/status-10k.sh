#!/bin/sh
# A status check of 10,000 machines that answer, through one router hop, all inside namespaces
# this script makes and deletes: the sender, a router, and a target namespace that holds the
# 10,000 addresses on its lo (a TCP connect to a closed port there gets a reset, which counts
# as up). Compares corvane_status_driver (the check runner alone) and corvane-wake --status,
# when it is built, with bench/bare-connect.c, the same non-blocking connects with epoll; prints
# the median wall and CPU time of each, the ratio to the bare program (aim: at most 1.3x), peak
# memory (aim: at most 16 MiB), the sender's neighbour table and its open-file limit. Needs root.
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
# name=command line, one per program; the bare program first.
set -- "bare-connect=$work/bare-connect $first $count $port" \
    "corvane_status_driver=$build/corvane_status_driver $first $count $port"
if [ -x "$build/corvane-wake" ]; then
    set -- "$@" "corvane-wake=$build/corvane-wake --hosts $work/hosts --status all"
fi

# One run in the sender namespace: "<wall ms> <peak KiB> <user+system s>"; a failure is told.
measure() {
    name=$1
    shift
    start=$(date +%s%N)
    if ! ip netns exec $s /usr/bin/time -f "%M %U %S" -o "$work/rss" "$@" >"$work/out" \
        2>"$work/err"; then
        echo "$name failed: $(tail -n 1 "$work/out") $(grep -v '^Command exited' "$work/err" |
            tail -n 1)" >&2
    fi
    end=$(date +%s%N)
    tail -n 1 "$work/rss" | awk -v ms=$(((end - start) / 1000000)) '{ print ms, $1, $2 + $3 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# shellcheck disable=SC2086
measure warm-up ${1#*=} >/dev/null  # the sender learns the router's MAC
i=0
while [ $i -lt "$runs" ]; do
    for program in "$@"; do
        # shellcheck disable=SC2086
        measure "${program%%=*}" ${program#*=} >>"$work/${program%%=*}.times"
    done
    i=$((i + 1))
done

floor=
for program in "$@"; do
    name=${program%%=*}
    wall=$(cut -d' ' -f1 "$work/$name.times" | median)
    cpu=$(cut -d' ' -f3 "$work/$name.times" | median)
    rss=$(cut -d' ' -f2 "$work/$name.times" | sort -n | tail -n 1)
    : "${floor:=$wall}"
    printf '%-22s %6d ms wall, %5.2f s CPU (medians of %d), peak %6d KiB = %5.1f MiB, %5.2fx\n' \
        "$name" "$wall" "$cpu" "$runs" "$rss" "$(awk "BEGIN { print $rss / 1024 }")" \
        "$(awk "BEGIN { print $wall / $floor }")"
done
echo "aims: at most 1.3x the bare program's time, at most 16 MiB"
echo "sender: neighbour table $(ip -n $s neigh show | wc -l) entries; open files: soft $(ip netns exec $s sh -c 'ulimit -Sn'), hard $(ip netns exec $s sh -c 'ulimit -Hn')"
