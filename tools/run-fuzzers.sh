#!/bin/sh
# Runs every libFuzzer target of a fuzz build for a while each, starting from a few seeds.
#   tools/run-fuzzers.sh BUILD_DIR SECONDS
# Exit status 1 when a target found a crash (its reproducer is left in BUILD_DIR/fuzz-findings).
set -u
build=${1:?usage: tools/run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:-10}
findings="$build/fuzz-findings"
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seed() {  # seed NAME TEXT...: one seed file per text
    mkdir -p "$work/$1"
    name=$1
    shift
    n=0
    for text in "$@"; do
        printf '%s' "$text" >"$work/$name/seed$n"
        n=$((n + 1))
    done
}
seed IntConv 26354 +26354 ' 26354' '$66F2' 0x66f2 x66F2 -1 2147483648 '$FFFFFFFF' '-$10'
seed ParseAddressText 192.168.0.255 127.0.0.1 10.0.0.01 3232235775 0xC0A800FF 1.2.3 256.1.1.1
seed AddressCheck 00-11-22-33-44-55 aa-BB-cc-DD-ee-FF xx00-11-22-33-44-55 192.168.0.255 10.0.0.01
# Arguments are separated by zero bytes, which a shell variable cannot hold: write them directly.
mkdir -p "$work/CommandLine"
printf '00-11-22-33-44-55\000192.168.0.255' >"$work/CommandLine/seed0"
printf '00-11-22-33-44-55\000192.168.0.255\000/pw:abc\000/port:9' >"$work/CommandLine/seed1"
printf 'x00-11-22-33-44-55\000192.168.0.255\000/port:abc' >"$work/CommandLine/seed2"
# Source 10.0.1.2, port 40000, 1 ms later, then a magic packet (and one with a password).
mkdir -p "$work/Relay"
magic='\377\377\377\377\377\377'$(printf '\\000\\021\\042\\063\\104\\125%.0s' $(seq 16))
printf "\012\000\001\002\234\100\001$magic" >"$work/Relay/seed0"
printf "\012\000\001\002\234\100\001${magic}abc" >"$work/Relay/seed1"
printf '\012\000\002\001\303\120\001hello' >"$work/Relay/seed2"
# Host lines in both orders, with every option, a comment and a CRLF line end.
mkdir -p "$work/HostsFile"
printf 'nas 00-11-22-33-44-55 192.168.1.10/24 check=tcp:445\n' >"$work/HostsFile/seed0"
printf '# lab\r\nlab01 00:1b:21:aa:bb:01 10.1.0.11/16 group=lab,floor2 to=10.0.0.5:9,10.0.0.6\r\n' \
    >"$work/HostsFile/seed1"
printf '8:0:20:1:a:b 192.168.1.5 192.168.1.5/24 port=7 pw=abc check=icmp,tcp:22\n' \
    >"$work/HostsFile/seed2"
printf 'a 00-11-22-33-44-55\na 00-11-22-33-44-66 check=none\nb 0-1-2\n' >"$work/HostsFile/seed3"

status=0
for name in IntConv ParseAddressText AddressCheck CommandLine Relay HostsFile; do
    target="$build/fuzz_$name"
    if [ ! -x "$target" ]; then
        echo "run-fuzzers: $target is missing (build the fuzz preset)" >&2
        status=1
        continue
    fi
    echo "== fuzz_$name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$findings/$name-" \
        -print_final_stats=1 "$work/$name" 2>"$work/$name.log"; then
        tail -40 "$work/$name.log" >&2
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done' "$work/$name.log" | tail -2
    fi
done
exit $status
