#!/bin/sh
# corvane-web's budgets, on loopback only (run inside tools/isolated-run: `make bench-web`):
#   - no packets and no measurable CPU over IDLE_SECONDS (default 60) with no page open;
#   - a login's Argon2id memory (libsodium's interactive limits) given back afterwards;
#   - the resident set serving 1,000 hosts to 10 open event streams (budget 8 MiB);
#   - 1,000 GET /api/hosts from 50 concurrent clients: throughput and 99th percentile latency.
# The 1,000 hosts are loopback addresses 127.1.x.y, checked on a closed TCP port (a refusal
# proves the address is up), their packets to 127.0.0.1:9.
#   bench/web.sh BUILD_DIR
set -eu
build=${1:?usage: bench/web.sh BUILD_DIR}
idle=${IDLE_SECONDS:-60}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || :; done
    rm -rf "$work"
}
trap cleanup EXIT
cc -O2 -pthread -o "$work/web-load" "$here/web-load.c"

i=0
while [ $i -lt 1000 ]; do
    printf 'h%04d 00-11-22-33-%02x-%02x 127.1.%d.%d check=tcp:9 to=127.0.0.1:9 group=g%d\n' \
        $i $((i / 256)) $((i % 256)) $((i / 250)) $((i % 250 + 1)) $((i % 10))
    i=$((i + 1))
done >"$work/hosts"
echo "bench password" | "$build/corvane-web" --config "$work/web.conf" --set-password 2>/dev/null
token=$("$build/corvane-web" --config "$work/web.conf" --add-token bench)
port=18089
"$build/corvane-web" --listen 127.0.0.1:$port --hosts "$work/hosts" --config "$work/web.conf" \
    2>"$work/log" &
server=$!
pids="$server"
sleep 1

kib() { sed -n "s/^$1:[[:space:]]*\([0-9]*\) kB/\1/p" /proc/$server/status; }
ticks() { awk '{ print $14 + $15 }' /proc/$server/stat; }
# CPU time of all its threads in microseconds, finer than the clock ticks.
cpu_us() { cat /proc/$server/task/*/schedstat | awk '{ s += $1 } END { printf "%d", s / 1000 }'; }
# Datagrams, TCP connects and ICMP messages sent by anything in this namespace.
packets() {
    awk '/^Udp: [0-9]/ { udp = $5 } /^Tcp: [0-9]/ { tcp = $6 } /^Icmp: [0-9]/ { icmp = $16 }
         END { print udp + tcp + icmp }' /proc/net/snmp
}

echo "== idle: no page open for $idle s"
ticks_before=$(ticks)
cpu_before=$(cpu_us)
packets_before=$(packets)
sleep "$idle"
echo "CPU: $(( $(ticks) - ticks_before )) clock ticks (1/$(getconf CLK_TCK) s)," \
     "$(( $(cpu_us) - cpu_before )) us; packets sent: $(( $(packets) - packets_before ))"
echo "resident: $(kib VmRSS) KiB"

echo "== a login (Argon2id, 64 MiB)"
curl -s -o /dev/null -w 'login: %{http_code}\n' -H "Origin: http://127.0.0.1:$port" \
    -d '{"password": "bench password"}' "http://127.0.0.1:$port/api/login"
sleep 0.5
echo "peak resident: $(kib VmHWM) KiB; resident after: $(kib VmRSS) KiB"

echo "== 1,000 hosts, 10 event streams"
for n in 1 2 3 4 5 6 7 8 9 10; do
    curl -s -N -H "Authorization: Bearer $token" "http://127.0.0.1:$port/api/events" \
        >"$work/events$n" &
    pids="$pids $!"
done
sleep 12
up=$(curl -s -H "Authorization: Bearer $token" "http://127.0.0.1:$port/api/hosts" |
     grep -o '"state":"up"' | wc -l)
echo "hosts up: $up of 1000; resident: $(kib VmRSS) KiB (budget 8192 KiB)"

echo "== 1,000 GET /api/hosts from 50 clients (with the 10 streams open)"
"$work/web-load" $port /api/hosts "$token" 50 1000
echo "resident after the load: $(kib VmRSS) KiB"
