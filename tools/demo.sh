#!/bin/sh
# Shows one wake on the loopback network: starts corvane-monitor, wakes 00-11-22-33-44-55 on the
# loopback broadcast address 127.255.255.255 and prints what the monitor received.
#   tools/demo.sh BUILD_DIR
# Uses the default port 26354 unless another program holds it. Nothing leaves this machine.
set -u
build=${1:?usage: tools/demo.sh BUILD_DIR}
corvane="$build/corvane"
monitor="$build/corvane-monitor"
for tool in "$corvane" "$monitor"; do
    [ -x "$tool" ] || { echo "demo: $tool is missing; build first (make build-native)" >&2; exit 1; }
done

work=$(mktemp -d)
monitor_pid=
cleanup() {
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Starts the monitor on port $1; succeeds once it listens, fails when the port is taken.
start_monitor() {
    : >"$work/err"
    "$monitor" --port "$1" --count 1 --timeout 5 >"$work/out" 2>"$work/err" &
    monitor_pid=$!
    tries=0
    while [ $tries -lt 100 ]; do
        grep -q 'listening' "$work/err" && return 0
        kill -0 "$monitor_pid" 2>/dev/null || { wait "$monitor_pid"; monitor_pid=; return 1; }
        sleep 0.05
        tries=$((tries + 1))
    done
    return 1
}

port=26354
option=
if ! start_monitor $port; then
    echo "demo: port $port is in use; using another one" >&2
    port=$(( 40000 + $$ % 20000 ))
    start_monitor $port || { cat "$work/err" >&2; exit 1; }
    option="/port:$port"
fi

echo "Corvane demo: a wake on the loopback network (nothing leaves this machine)."
echo "\$ corvane-monitor --port $port --count 1 --timeout 5 &"
echo "\$ corvane 00-11-22-33-44-55 127.255.255.255${option:+ $option}"
# shellcheck disable=SC2086  # $option is empty or one word
"$corvane" 00-11-22-33-44-55 127.255.255.255 $option
status=$?
wait "$monitor_pid"
monitor_status=$?
monitor_pid=
echo "corvane-monitor saw:"
cat "$work/out"
if [ $status -ne 0 ]; then
    echo "demo: corvane failed with exit status $status" >&2
    exit 1
fi
if [ $monitor_status -ne 0 ]; then
    echo "demo: the monitor received nothing within 5 seconds (exit status $monitor_status)" >&2
    cat "$work/err" >&2
    exit 1
fi
