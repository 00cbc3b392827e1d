// The relay's per-packet path next to a bare receive-and-send loop, both on loopback: a sender
// socket sends one datagram to the relay's socket, which receives it and sends it on to a sink
// socket that is never read (the kernel drops what overflows its buffer, at the same cost
// either way). Every packet differs, so each one is validated, looked up in the repeat window,
// remembered and sent; the window then holds 2000 live entries (one per millisecond of a
// 2-second window), the worst case of realistic options.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "net/IdStackPosix.h"
#include "relay/RelayForwarder.h"
#include "wake/MagicPacket.h"

namespace {

// A UDP socket bound to 127.0.0.1 on a port of the system's choice.
struct LoopbackSocket {
    LoopbackSocket() : fd(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local);
        socklen_t length = sizeof address;
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    }
    ~LoopbackSocket() { close(fd); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    int fd;
    sockaddr_in address{};
};

// 4096 different magic packets: more than the window can hold, so it is always full.
std::vector<std::string> Packets() {
    std::vector<std::string> packets;
    for (int i = 0; i < 4096; ++i) {
        char mac[18];
        std::snprintf(mac, sizeof mac, "00-11-22-33-%02x-%02x", i >> 8, i & 0xFF);
        packets.push_back(BuildMagicPacket(mac, ""));
    }
    return packets;
}

void Send(const LoopbackSocket& from, const LoopbackSocket& to, const std::string& data) {
    sendto(from.fd, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&to.address),
           sizeof to.address);
}

void BM_BareReceiveAndSend(benchmark::State& state) {
    LoopbackSocket sender, relay, sink;
    const std::vector<std::string> packets = Packets();
    std::vector<char> buffer(65536);
    size_t next = 0;
    for (auto _ : state) {
        Send(sender, relay, packets[next++ % packets.size()]);
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t length = recvfrom(relay.fd, buffer.data(), buffer.size(), 0,
                                        reinterpret_cast<sockaddr*>(&from), &fromLength);
        sendto(relay.fd, buffer.data(), static_cast<size_t>(length), 0,
               reinterpret_cast<const sockaddr*>(&sink.address), sizeof sink.address);
    }
}
BENCHMARK(BM_BareReceiveAndSend);

// Receive through the stack, judge (allow-list, magic packet, repeat window, rate), send through
// the stack and make the line. With `wait`, also the wait before each receive and the line
// written to a file, as the relay's loop does (to /dev/null here).
void RelayPath(benchmark::State& state, bool wait) {
    LoopbackSocket sender, relay, sink;
    const std::vector<std::string> packets = Packets();
    TIdStackPosix stack;
    TRelayPolicy policy(TAllowList({{0x7F000000, 8}}), 2000, 10000);
    TRelayForwarder forwarder(stack, relay.fd, {{"127.0.0.1", ntohs(sink.address.sin_port)}},
                              policy);
    std::FILE* out = std::fopen("/dev/null", "w");
    std::string buffer(65536, '\0');
    size_t next = 0;
    int64_t nowMs = 0;
    for (auto _ : state) {
        Send(sender, relay, packets[next++ % packets.size()]);
        if (wait) {
            std::vector<TIdStackSocketHandle> ready{relay.fd};
            stack.SysSelect(&ready, nullptr, nullptr, 250);
        }
        std::string from;
        int32_t fromPort = 0;
        const int32_t length = stack.SysRecvFrom(
            relay.fd, buffer.data(), static_cast<int32_t>(buffer.size()), 0, from, fromPort);
        // One millisecond per packet: the rate (10000 per second) never drops one.
        const std::string line = forwarder.Handle(
            std::string_view(buffer.data(), static_cast<size_t>(length)), from, fromPort, ++nowMs);
        if (wait) {
            std::fwrite(line.data(), 1, line.size(), out);
            std::fputc('\n', out);
            std::fflush(out);
        }
        benchmark::DoNotOptimize(line.data());
    }
    std::fclose(out);
}

void BM_RelayReceiveValidateDedupeSend(benchmark::State& state) {
    RelayPath(state, false);
}
BENCHMARK(BM_RelayReceiveValidateDedupeSend);

void BM_RelayLoopStep(benchmark::State& state) {
    RelayPath(state, true);
}
BENCHMARK(BM_RelayLoopStep);

// The decision alone, without sockets.
void BM_RelayJudge(benchmark::State& state) {
    const std::vector<std::string> packets = Packets();
    TRelayPolicy policy({}, 2000, 10000);
    size_t next = 0;
    int64_t nowMs = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            policy.Judge(packets[next++ % packets.size()], 0x7F000001, 40000, ++nowMs));
    }
}
BENCHMARK(BM_RelayJudge);

}  // namespace
