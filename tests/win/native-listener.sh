#!/bin/sh
# corvane.exe under Wine wakes on the loopback broadcast address, and a plain Linux program
# receives the packet: Wine's sockets are the host's, so what a Windows user's network would see
# is what arrives here.   native-listener.sh CORVANE_EXE
set -u
exe=${1:?usage: native-listener.sh CORVANE_EXE}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill "$listener" 2>/dev/null; rm -rf "$work"' EXIT

# A listener on 0.0.0.0 at a port the system picks; it writes the port, then the first datagram.
python3 - "$work" <<'PY' &
import socket, sys, os
work = sys.argv[1]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", 0))
s.settimeout(20)
with open(os.path.join(work, "port.tmp"), "w") as f:
    f.write(str(s.getsockname()[1]))
os.rename(os.path.join(work, "port.tmp"), os.path.join(work, "port"))
data, sender = s.recvfrom(65536)
with open(os.path.join(work, "packet"), "wb") as f:
    f.write(data)
PY
listener=$!

tries=0
while [ ! -f "$work/port" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
port=$(cat "$work/port") || { echo "listener did not start"; exit 1; }

"$here/../../tools/wine-run.sh" "$exe" 00-11-22-33-44-55 127.255.255.255 /pw:abc "/port:$port"
status=$?
if [ $status -ne 0 ]; then
    echo "corvane.exe exited with $status"
    exit 1
fi
wait "$listener" || { echo "no datagram arrived"; exit 1; }

expected=$(python3 -c 'import sys; sys.stdout.write(("ff" * 6 + "001122334455" * 16 + "616263"))')
actual=$(od -An -v -tx1 "$work/packet" | tr -d ' \n')
if [ "$actual" != "$expected" ]; then
    echo "unexpected datagram: $actual"
    exit 1
fi
echo "a plain Linux listener received the 105-byte magic packet from corvane.exe"
