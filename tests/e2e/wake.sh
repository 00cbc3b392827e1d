#!/bin/sh
# corvane-wake against simulated sleeping machines, in network namespaces made here only:
#   sender (corvane-wake) s0 10.213.40.1/24 --- up0 [br0] pN --- mN   in the LAN namespace
# Each machine is an interface mN that carries the machine's MAC and no address until
# sleeping-machine sees its magic packet and adds the address after the machine's delay.
# The relay case puts a router between:
#   sender 10.213.41.1 --- 10.213.41.2 router 10.213.42.1 --- [br0 10.213.42.5 corvane-relay] mN
# Nothing reaches the host's own networks.
#   wake.sh BUILD_DIR CASE     CASE: lan | group | relay | icmp
#   exit 0 passed, 1 failed, 77 skipped; CORVANE_E2E_KEEP=1 keeps the work folder (logs)
set -u
build=$1
case=$2
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "creating network namespaces needs root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is not installed"
for program in corvane-wake corvane-relay sleeping-machine; do
    [ -x "$build/$program" ] || { echo "FAIL: $build/$program is not built"; exit 1; }
done

sender=corvane-wake-send-$$
lan=corvane-wake-lan-$$
router=corvane-wake-router-$$
work=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for ns in "$sender" "$lan" "$router"; do ip netns del "$ns" 2>/dev/null; done
    if [ -n "${CORVANE_E2E_KEEP:-}" ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
# A signal (also a closed pipe or terminal) ends the script through its EXIT trap.
trap 'exit 1' HUP INT PIPE TERM
fail() {
    echo "FAIL ($case): $*"
    for f in "$work"/*.out "$work"/*.err "$work"/*.log; do
        [ -s "$f" ] && { echo "== $f"; tail -n 40 "$f"; }
    done
    exit 1
}

# --- the networks ---------------------------------------------------------------------------

ip netns add "$sender" 2>"$work/ns.txt" || skip "cannot create a network namespace: $(cat "$work/ns.txt")"
ip netns add "$lan" || skip "cannot create a second network namespace"
ip -n "$lan" link add br0 type bridge 2>"$work/ns.txt" || skip "cannot create a bridge: $(cat "$work/ns.txt")"

# Many machine interfaces share the LAN namespace and one subnet: each answers ARP only for its
# own address (arp_ignore 1, arp_announce 2), and replies may leave by another of them
# (rp_filter 0). No IPv6, so that hundreds of interfaces stay quiet.
lan_sysctls() {
    ip netns exec "$1" sh -c 'for key in all default; do
        echo 1 >/proc/sys/net/ipv4/conf/$key/arp_ignore
        echo 2 >/proc/sys/net/ipv4/conf/$key/arp_announce
        echo 0 >/proc/sys/net/ipv4/conf/$key/rp_filter
        echo 1 >/proc/sys/net/ipv6/conf/$key/disable_ipv6
    done' 2>/dev/null
}
lan_sysctls "$lan"
ip -n "$lan" link set br0 type bridge forward_delay 0
ip -n "$lan" link set lo up
ip -n "$lan" link set br0 up
ip -n "$sender" link set lo up

# machine_mac N: the MAC of machine N, 02:00:00:00:HH:LL with N in hex.
machine_mac() { printf '02:00:00:00:%02x:%02x' $(($1 / 256)) $(($1 % 256)); }
# add_machines FIRST LAST: the machines' interfaces mN with their MACs, and their bridge ports pN.
add_machines() {
    for n in $(seq "$1" "$2"); do
        echo "link add m$n address $(machine_mac "$n") type veth peer name p$n"
        echo "link set p$n master br0"
        echo "link set p$n up"
        echo "link set m$n up"
    done >"$work/links.batch"
    ip -n "$lan" -batch "$work/links.batch" || fail "cannot create machine interfaces $1..$2"
}

# wait_up NS DEV: until the link has its carrier.
wait_up() {
    tries=0
    until ip -n "$1" link show dev "$2" | grep -q LOWER_UP; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && fail "link $2 did not come up"
        sleep 0.05
    done
}

# The sender on the machines' LAN (every case but relay).
sender_on_lan() {
    ip -n "$sender" link add s0 type veth peer name up0 netns "$lan" || fail "cannot create a veth pair"
    ip -n "$lan" link set up0 master br0
    ip -n "$lan" link set up0 up
    ip -n "$sender" addr add 10.213.40.1/24 broadcast 10.213.40.255 dev s0
    ip -n "$sender" link set s0 up
    wait_up "$sender" s0
}

# --- the programs ---------------------------------------------------------------------------

# wait_for FILE TEXT: until the file holds the text (bounded).
wait_for() {
    tries=0
    until grep -q "$2" "$1" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -gt 200 ] && fail "'$2' did not appear in $1"
        sleep 0.05
    done
}
# start_sleeper ARGS...: sleeping-machine in the LAN namespace, its events in $work/machines.log.
start_sleeper() {
    ip netns exec "$lan" "$build/sleeping-machine" --log "$work/machines.log" --timeout 300 "$@" \
        2>"$work/sleeper.err" &
    pids="$pids $!"
    wait_for "$work/sleeper.err" listening
}
now() { date +%s.%N; }
prefix=  # a command put before corvane-wake (setpriv in the ICMP case)
# wake NAME ARGS...: corvane-wake in the sender's namespace; $work/NAME.out and .err, $status,
# $elapsed (seconds).
wake() {
    name=$1
    shift
    started=$(now)
    ip netns exec "$sender" $prefix "$build/corvane-wake" "$@" >"$work/$name.out" 2>"$work/$name.err"
    status=$?
    elapsed=$(echo "$started $(now)" | awk '{ printf "%.2f", $2 - $1 }')
}
expect_status() {
    [ "$status" -eq "$2" ] || fail "$1: exit status $status, expected $2"
}
# expect_line NAME REGEX: standard output of run NAME has a line matching the extended REGEX.
expect_line() {
    grep -Eq "^$2\$" "$work/$1.out" || fail "$1: no line '$2' in its output"
}
# between VALUE LOW HIGH: true when LOW <= VALUE <= HIGH.
between() { echo "$1 $2 $3" | awk '{ exit !($2 <= $1 && $1 <= $3) }'; }
# packets DEV: how many magic packets machine DEV received.
packets() { awk -v dev="$1" '$2 == dev && $4 == "packet"' "$work/machines.log" 2>/dev/null | wc -l; }
expect_packets() {
    got=$(packets "$1")
    [ "$got" -eq "$2" ] || fail "machine $1 received $got magic packets, expected $2"
}
log_lines() { wc -l 2>/dev/null <"$work/machines.log" || echo 0; }
# wait_awake DEV: until the sleeper has added machine DEV's address.
wait_awake() { wait_for "$work/machines.log" " $1 [^ ]* awake "; }
# up_seconds NAME TARGET: the N of "TARGET: up after N s (...)" in run NAME's output.
up_seconds() { sed -n "s/^$2: up after \([0-9.]*\) s (.*/\1/p" "$work/$1.out"; }
packets_word='packets?'  # "1 packet" or "1 packets"
tcp_or_icmp='(icmp|tcp:22|tcp:445|tcp:3389)'

# --- the cases ------------------------------------------------------------------------------

lan_case() {
    sender_on_lan
    # The sender knows a network behind a gateway (that never answers) but has no MAC there.
    ip -n "$sender" route add 10.213.41.0/24 via 10.213.40.254
    add_machines 1 5
    ip -n "$lan" link set m5 address 02:ab:cd:ef:00:05
    start_sleeper --delay-ms 2000 --machine "m1,$(machine_mac 1),10.213.40.11/24" \
        --never --machine "m2,$(machine_mac 2),10.213.40.12/24" \
        --after 2 --delay-ms 300 --machine "m3,$(machine_mac 3),10.213.40.13/24" \
        --after 1 --delay-ms 500 --machine "m4,$(machine_mac 4),10.213.40.14/24" \
        --awake --machine "m5,02:ab:cd:ef:00:05,10.213.40.15/24"
    wait_awake m5
    cat >"$work/hosts" <<EOF
# test LAN 10.213.40.0/24: the machines sleep until their magic packet arrives
pc-a       02:00:00:00:00:01   10.213.40.11/24   check=tcp:22
pc-never   02-00-00-00-00-02   10.213.40.12/24   check=tcp:22,icmp
pc-twice   02:00:00:00:00:03   10.213.40.13/24   check=icmp,tcp:445
pc-status  02:00:00:00:00:04   10.213.40.14/24
EOF

    # (a) --wait reports the machine up after about its wake-up delay of 2 s.
    wake a --hosts "$work/hosts" --wait --timeout 30 pc-a
    expect_status a 0
    expect_line a "pc-a: sent to 10\.213\.40\.255:26354"
    expect_line a "pc-a: up after [0-9.]+ s \(tcp:22, 1 $packets_word\)"
    between "$(up_seconds a pc-a)" 1.5 10 || fail "a: up after $(up_seconds a pc-a) s, not about 2 s"
    grep -Eq "^waited [0-9.]+ s: 1 up" "$work/a.err" || fail "a: no summary 'waited N s: 1 up'"
    expect_packets m1 1
    awk '$2 == "m1" && $4 == "packet"' "$work/machines.log" | grep -q " 10.213.40.255:26354 102\$" ||
        fail "a: the packet did not go to 10.213.40.255:26354 with 102 bytes"

    # (b) A machine that never wakes: exit 4 after the timeout, packets at 0, 3 and 6 s.
    wake b --hosts "$work/hosts" --wait --timeout 7 --resend 3 pc-never
    expect_status b 4
    expect_line b "pc-never: no answer after 7(\.[0-9]+)? s \(3 packets\)"
    between "$elapsed" 6.5 15 || fail "b: settled after $elapsed s, not after the timeout of 7 s"
    grep -Eq "^waited [0-9.]+ s: .*1 no answer" "$work/b.err" || fail "b: no summary with '1 no answer'"
    expect_packets m2 3
    # The resends are spaced by about --resend.
    awk '$2 == "m2" && $4 == "packet" { if (last && ($1 - last < 2.5 || $1 - last > 5)) bad = 1
                                         last = $1 } END { exit bad }' "$work/machines.log" ||
        fail "b: resends not about 3 s apart"

    # (c) A machine that needs a second packet is woken by the resend.
    wake c --hosts "$work/hosts" --wait --timeout 30 --resend 3 pc-twice
    expect_status c 0
    expect_line c "pc-twice: up after [0-9.]+ s \($tcp_or_icmp, 2 packets\)"
    between "$(up_seconds c pc-twice)" 2.5 12 ||
        fail "c: up after $(up_seconds c pc-twice) s, not after the resend at 3 s"
    expect_packets m3 2

    # (d) --status sends nothing: down while it sleeps, up once woken; one down makes it 4.
    before=$(log_lines)
    wake d1 --hosts "$work/hosts" --status --timeout 3 pc-status
    expect_status d1 4
    expect_line d1 "pc-status: down"
    wake d2 --hosts "$work/hosts" --status pc-a pc-never
    expect_status d2 4
    expect_line d2 "pc-a: up \(tcp:22\)"
    expect_line d2 "pc-never: down"
    [ "$(log_lines)" -eq "$before" ] || fail "d: --status sent a magic packet"
    wake d3 --hosts "$work/hosts" pc-status
    expect_status d3 0
    expect_line d3 "pc-status: sent to 10\.213\.40\.255:26354"
    wait_awake m4
    before=$(log_lines)
    wake d4 --hosts "$work/hosts" --status pc-status
    expect_status d4 0
    expect_line d4 "pc-status: up \($tcp_or_icmp\)"
    [ "$(log_lines)" -eq "$before" ] || fail "d: --status sent a magic packet to an awake machine"

    # (j) --json: one object per target with every key, under --status and --wait.
    if command -v python3 >/dev/null 2>&1; then
        wake j1 --hosts "$work/hosts" --json --status pc-a pc-never
        expect_status j1 4
        wake j2 --hosts "$work/hosts" --json --wait --timeout 20 pc-a
        expect_status j2 0
        python3 - "$work/j1.out" "$work/j2.out" >"$work/json.err" 2>&1 <<'PY' ||
import json, sys
keys = {"name", "mac", "sent_to", "packets", "state", "seconds", "answered", "error"}
rows = [json.loads(line) for path in sys.argv[1:] for line in open(path)]
assert len(rows) == 3, "%d objects, expected 3" % len(rows)
for row in rows:
    assert set(row) == keys, "keys %s" % sorted(row)
a, never, woken = rows
assert (a["name"], a["state"], a["answered"], a["sent_to"], a["packets"]) == \
    ("pc-a", "up", "tcp:22", [], 0), a
assert (never["name"], never["state"], never["answered"], never["error"]) == \
    ("pc-never", "down", None, None), never
assert (woken["state"], woken["sent_to"], woken["packets"], woken["answered"]) == \
    ("up", ["10.213.40.255:26354"], 1, "tcp:22"), woken
assert isinstance(woken["seconds"], (int, float)), woken
PY
            fail "j: $(cat "$work/json.err")"
    fi

    # (k) Into a pipe, a target's line comes as it settles, not when the program ends; with
    # --resend 0 the machine that never wakes gets one packet.
    sent_before=$(packets m2)
    started=$(now)
    ip netns exec "$sender" "$build/corvane-wake" --hosts "$work/hosts" --wait --timeout 6 \
        --resend 0 pc-a pc-never 2>"$work/k.err" |
        while IFS= read -r line; do echo "$(now) $line"; done >"$work/k.out"
    [ "$(packets m2)" -eq $((sent_before + 1)) ] || fail "k: --resend 0 sent more than one packet"
    grep -Eq "^[0-9.]+ pc-never: no answer after 6(\.[0-9]+)? s \(1 $packets_word\)\$" "$work/k.out" ||
        fail "k: no 'pc-never: no answer after 6 s (1 packet)' line"
    up_at=$(awk -v t0="$started" '$2 == "pc-a:" && $3 == "up" { printf "%.2f", $1 - t0 }' "$work/k.out")
    [ -n "$up_at" ] && between "$up_at" 0 4 || fail "k: the up line came ${up_at:-never} s after the start"

    # (g) --learn writes the machine's MAC; every failure leaves the file as it was.
    printf '# learned machines\n\npc-a 02:00:00:00:00:01 10.213.40.11/24 # the first\n' >"$work/learn"
    cp "$work/learn" "$work/learn.before"
    wake g1 --hosts "$work/learn" --learn pc-learn 10.213.40.15
    expect_status g1 0
    expect_line g1 "pc-learn 02-ab-cd-ef-00-05 10\.213\.40\.15/24"
    { cat "$work/learn.before"; echo "pc-learn 02-ab-cd-ef-00-05 10.213.40.15/24"; } >"$work/learn.expected"
    cmp -s "$work/learn" "$work/learn.expected" || fail "g1: the hosts file is not its old lines and the learned one"
    wake g2 --hosts "$work/learn.new/sub/hosts" --learn pc-new 10.213.40.15/28
    expect_status g2 0
    [ "$(cat "$work/learn.new/sub/hosts" 2>/dev/null)" = "pc-new 02-ab-cd-ef-00-05 10.213.40.15/28" ] ||
        fail "g2: a missing hosts file and folder were not created with the learned line"
    # A file without its last line end keeps its lines; the learned line comes after them.
    printf '# no line end here' >"$work/learn.open"
    wake g3 --hosts "$work/learn.open" --learn pc-learn 10.213.40.15
    expect_status g3 0
    [ "$(cat "$work/learn.open")" = "# no line end here
pc-learn 02-ab-cd-ef-00-05 10.213.40.15/24" ] || fail "g3: the learned line did not follow the unterminated one"

    cp "$work/learn" "$work/learn.before"
    before=$(log_lines)
    for row in "g4 3 10.213.41.7" "g5 3 10.213.99.7/24" "g6 4 10.213.40.12" "g7 4 10.213.40.99/24"; do
        set -- $row
        wake "$1" --hosts "$work/learn" --learn pc-x "$3"
        expect_status "$1" "$2"
        cmp -s "$work/learn" "$work/learn.before" || fail "$1: a failed --learn changed the hosts file"
        grep -q pc-x "$work/$1.out" && fail "$1: a failed --learn printed a line"
    done
    wake g8 --hosts "$work/learn.absent" --learn pc-x 10.213.40.99
    expect_status g8 4
    [ -e "$work/learn.absent" ] && fail "g8: a failed --learn created the hosts file"
    printf 'pc-a 02:00:00:00:00:01 10.213.40.11/24\nbad-mac 02:00:00 10.213.40.16/24\n' >"$work/learn.bad"
    cp "$work/learn.bad" "$work/learn.bad.before"
    wake g9 --hosts "$work/learn.bad" --learn pc-learn 10.213.40.15
    expect_status g9 2
    cmp -s "$work/learn.bad" "$work/learn.bad.before" || fail "g9: --learn changed a file that does not parse"
    grep -q "learn.bad:2: " "$work/g9.err" || fail "g9: the fault is not reported as FILE:2: reason"
    [ "$(log_lines)" -eq "$before" ] || fail "g: --learn sent a magic packet"
    echo "PASS: up after the delay, no answer (3 packets), woken by a resend, --status, --learn"
}

group_case() {
    sender_on_lan
    count=200
    add_machines 1 $((count + 1))
    wait_up "$lan" "m$count"
    : >"$work/hosts"
    machines=
    for n in $(seq 1 $count); do
        printf 'lab%03d %s 10.213.40.%d/24 group=lab,floor2\n' "$n" "$(machine_mac "$n")" $((n + 10)) \
            >>"$work/hosts"
        machines="$machines --machine m$n,$(machine_mac "$n"),10.213.40.$((n + 10))/24"
    done
    # A host outside the group, which must get nothing.
    other=$((count + 1))
    printf 'other %s 10.213.40.%d/24 group=office\n' "$(machine_mac $other)" $((other + 10)) >>"$work/hosts"
    start_sleeper --delay-ms 300 $machines --never --machine "m$other,$(machine_mac $other),10.213.40.$((other + 10))/24"

    # (e) 200 machines, 5 ms apart: every one gets its packet in file order, all reported up.
    delay=5
    wake e --hosts "$work/hosts" --wait --delay $delay --timeout 60 --resend 10 @lab
    expect_status e 0
    grep -Eq "^waited [0-9.]+ s: $count up" "$work/e.err" || fail "e: no summary 'waited N s: $count up'"
    [ "$(grep -Ec "^lab[0-9]{3}: up after [0-9.]+ s \($tcp_or_icmp, 1 $packets_word\)\$" "$work/e.out")" -eq $count ] ||
        fail "e: not every machine of the group was reported up once"
    [ "$(grep -Ec "^lab[0-9]{3}: sent to 10\.213\.40\.255:26354\$" "$work/e.out")" -eq $count ] ||
        fail "e: not one 'sent to' line per machine"
    grep -q "^other:" "$work/e.out" && fail "e: a host outside the group was woken"
    expect_packets "m$other" 0
    # Each machine's first packet, in the hosts file's order (the log's field 2 is mN).
    awk '$4 == "packet" && !seen[$2]++ { sub(/^m/, "", $2); print $2, $1 }' "$work/machines.log" |
        sort -n >"$work/first.txt"
    [ "$(wc -l <"$work/first.txt")" -eq $count ] || fail "e: not every machine received its packet"
    # Sent in the file's order (the program writes each "sent to" line as it sends), spread
    # over at least about (count - 1) delays, with the usual gap about the delay. The log's
    # times are the kernel's receive stamps: a broadcast flooded to 200 ports on a busy machine
    # can reach a port tens of milliseconds late, so the gaps count by their median, not one by
    # one, and the order is read from the sender's lines.
    grep -E '^lab[0-9]{3}: sent to ' "$work/e.out" | cut -d: -f1 >"$work/sent-order.txt"
    seq -f 'lab%03g' 1 $count | cmp -s - "$work/sent-order.txt" ||
        fail "e: the first packets did not go out in the hosts file's order"
    sort -k2 -n "$work/first.txt" >"$work/by-time.txt"
    awk 'NR > 1 { printf "%.3f\n", ($2 - last) * 1000 } { last = $2 }' "$work/by-time.txt" |
        sort -n >"$work/gaps.txt"
    median=$(awk '{ gap[NR] = $1 } END { print gap[int((NR + 1) / 2)] }' "$work/gaps.txt")
    awk -v delay=$delay -v count=$count -v median="$median" '
        NR == 1 { first = $2 }
        { last = $2 }
        END {
            span = (last - first) * 1000
            if (span < (count - 1) * delay * 0.9) { print "they span only " span " ms"; bad = 1 }
            if (median < delay * 0.8) { print "the median gap is " median " ms"; bad = 1 }
            exit bad
        }' "$work/by-time.txt" >"$work/spacing.err" || fail "e: first packets: $(cat "$work/spacing.err")"
    echo "PASS: $count machines of @lab woken $delay ms apart and reported up in $elapsed s"
}

relay_case() {
    ip netns add "$router" || skip "cannot create a third network namespace"
    ip -n "$sender" link add s0 type veth peer name r0 netns "$router" &&
        ip -n "$router" link add r1 type veth peer name up0 netns "$lan" || fail "cannot create veth pairs"
    ip -n "$router" link set lo up
    ip netns exec "$router" sh -c 'echo 1 >/proc/sys/net/ipv4/ip_forward'
    ip -n "$sender" addr add 10.213.41.1/24 dev s0
    ip -n "$router" addr add 10.213.41.2/24 dev r0
    ip -n "$router" addr add 10.213.42.1/24 dev r1
    ip -n "$lan" link set up0 master br0
    ip -n "$lan" addr add 10.213.42.5/24 broadcast 10.213.42.255 dev br0
    ip -n "$sender" link set s0 up
    ip -n "$router" link set r0 up
    ip -n "$router" link set r1 up
    ip -n "$lan" link set up0 up
    ip -n "$sender" route add 10.213.42.0/24 via 10.213.41.2
    ip -n "$lan" route add default via 10.213.42.1
    wait_up "$sender" s0
    wait_up "$router" r1
    add_machines 1 2
    start_sleeper --delay-ms 1000 --machine "m1,$(machine_mac 1),10.213.42.11/24" \
        --machine "m2,$(machine_mac 2),10.213.42.12/24"
    # corvane-relay on the machines' LAN, broadcasting there.
    ip netns exec "$lan" "$build/corvane-relay" --timeout 120 --to 10.213.42.255 \
        >"$work/relay.out" 2>"$work/relay.err" &
    pids="$pids $!"
    wait_for "$work/relay.err" listening
    printf 'far 02:00:00:00:00:01 10.213.42.11/24 to=10.213.42.5 check=tcp:22\n' >"$work/hosts"

    # (f) A wake from another subnet through the relay, confirmed by the check.
    wake f1 --hosts "$work/hosts" --wait --timeout 30 far
    expect_status f1 0
    expect_line f1 "far: sent to 10\.213\.42\.5:26354"
    expect_line f1 "far: up after [0-9.]+ s \(tcp:22, 1 $packets_word\)"
    expect_packets m1 1
    awk '$2 == "m1" && $4 == "packet"' "$work/machines.log" |
        grep -q " 10\.213\.42\.5:[0-9]* 10\.213\.42\.255:9 102\$" ||
        fail "f1: the machine did not get the relay's broadcast to 10.213.42.255:9"
    # The same for a MAC target with --to and --address.
    wake f2 --hosts "$work/hosts" --wait --timeout 30 --to 10.213.42.5:26354 \
        --address 10.213.42.12 --check tcp:22 02-00-00-00-00-02
    expect_status f2 0
    grep -Eq ": up after [0-9.]+ s \(tcp:22, 1 $packets_word\)\$" "$work/f2.out" ||
        fail "f2: the MAC target was not reported up"
    expect_packets m2 1
    echo "PASS: woken through corvane-relay from another subnet, by name and by MAC"
}

icmp_case() {
    command -v setpriv >/dev/null 2>&1 || skip "setpriv (util-linux) is not installed"
    sender_on_lan
    add_machines 1 2
    start_sleeper --delay-ms 500 --machine "m1,$(machine_mac 1),10.213.40.11/24" \
        --machine "m2,$(machine_mac 2),10.213.40.12/24"
    cat >"$work/hosts" <<EOF
pc-icmp    02:00:00:00:00:01   10.213.40.11/24   check=icmp
pc-mixed   02:00:00:00:00:02   10.213.40.12/24   check=icmp,tcp:22
EOF
    # No unprivileged ICMP sockets here, and no raw sockets for the program.
    ip netns exec "$sender" sysctl -qw net.ipv4.ping_group_range="1 0"
    prefix="setpriv --inh-caps=-net_raw --bounding-set=-net_raw"
    ip netns exec "$sender" $prefix python3 -c 'import socket
socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)' 2>/dev/null &&
        fail "setpriv left the raw socket capability"

    # (h) Only ICMP checks, and none can run: exit 3 before anything is sent.
    wake h1 --hosts "$work/hosts" --wait --timeout 10 pc-icmp
    expect_status h1 3
    [ "$(wc -l <"$work/h1.err")" -eq 1 ] || fail "h1: the reason is not one line"
    grep -q "ping_group_range" "$work/h1.err" && grep -q "check=tcp:PORT" "$work/h1.err" ||
        fail "h1: the reason does not name ping_group_range and check=tcp:PORT"
    wake h2 --hosts "$work/hosts" --status pc-icmp
    expect_status h2 3
    [ "$(log_lines)" -eq 0 ] || fail "h: a magic packet was sent although the check cannot run"
    # A target with a TCP check goes on, with a warning.
    wake h3 --hosts "$work/hosts" --wait --timeout 30 pc-mixed
    expect_status h3 0
    expect_line h3 "pc-mixed: up after [0-9.]+ s \(tcp:22, 1 $packets_word\)"
    grep -v "^waited " "$work/h3.err" | grep -q . || fail "h3: no warning that ICMP cannot run"

    # With unprivileged ICMP sockets allowed, an icmp check confirms the woken machine.
    ip netns exec "$sender" sysctl -qw net.ipv4.ping_group_range="0 2147483647"
    wake h4 --hosts "$work/hosts" --wait --timeout 30 pc-icmp
    expect_status h4 0
    expect_line h4 "pc-icmp: up after [0-9.]+ s \(icmp, 1 $packets_word\)"
    expect_packets m1 1
    echo "PASS: ICMP that cannot run stops the program before sending; unprivileged ICMP confirms"
}

case $case in
lan) lan_case ;;
group) group_case ;;
relay) relay_case ;;
icmp) icmp_case ;;
*) fail "unknown case '$case'" ;;
esac
