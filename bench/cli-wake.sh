#!/bin/sh
# corvane's whole wake (process start to datagram sent) next to a minimal C program that sends
# the same datagram, to 127.0.0.1 on a port where nobody listens (loopback only).
#   bench/cli-wake.sh BUILD_DIR
set -eu
build=${1:?usage: bench/cli-wake.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/raw-wake" "$here/raw-wake.c"
port=47999
corvane="$build/corvane 00-11-22-33-44-55 127.0.0.1 /port:$port"
raw="$work/raw-wake 127.0.0.1 $port"

if command -v hyperfine >/dev/null 2>&1; then
    hyperfine -N --warmup 50 --runs 1000 --export-json "$work/result.json" \
        -n corvane "$corvane" -n raw-wake "$raw" >&2
    python3 - "$work/result.json" <<'PY'
import json, sys
results = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
corvane, raw = results["corvane"], results["raw-wake"]
print(f"corvane  {corvane * 1e6:8.1f} us per wake")
print(f"raw-wake {raw * 1e6:8.1f} us per wake")
print(f"ratio    {corvane / raw:8.2f}x (aim: at most 1.5x)")
PY
else
    runs=500
    measure() {  # prints the mean microseconds of $runs runs of the command line "$@"
        start=$(date +%s%N)
        i=0
        while [ $i -lt $runs ]; do "$@" >/dev/null; i=$((i + 1)); done
        echo $(( ($(date +%s%N) - start) / runs / 1000 ))
    }
    # shellcheck disable=SC2086
    c=$(measure $corvane)
    # shellcheck disable=SC2086
    r=$(measure $raw)
    echo "corvane  $c us per wake"
    echo "raw-wake $r us per wake"
    echo "ratio    $(awk "BEGIN { printf \"%.2f\", $c / $r }")x (aim: at most 1.5x)"
fi
