// Cost of building a magic packet, and of one datagram sent by the UDP client next to a raw
// sendto of the same bytes on the same kind of socket (both to a loopback receiver).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/IdUDPClient.h"
#include "support/LoopbackReceiver.h"
#include "wake/WakeRequest.h"

namespace {

void BM_BuildMagicPacket(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildMagicPacket("00-11-22-33-44-55", ""));
    }
}
BENCHMARK(BM_BuildMagicPacket);

void BM_CheckAndBuild(benchmark::State& state) {
    for (auto _ : state) {
        const bool ok = CheckMacAddress("00-11-22-33-44-55") && CheckIpAddress("192.168.0.255");
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(BuildMagicPacket("00-11-22-33-44-55", "secret"));
    }
}
BENCHMARK(BM_CheckAndBuild);

// The receiver is never read: the kernel drops what overflows its buffer, which costs the
// sender the same either way.
void BM_ClientSendBytes(benchmark::State& state) {
    LoopbackReceiver receiver("127.0.0.1", 0);
    const std::string packet = BuildMagicPacket("00-11-22-33-44-55", "");
    TIdUDPClient client;
    client.SetBroadcastEnabled(true);
    for (auto _ : state) {
        client.SendBytes("127.0.0.1", receiver.Port(), packet.data(),
                         static_cast<int32_t>(packet.size()));
    }
}
BENCHMARK(BM_ClientSendBytes);

void BM_RawSendTo(benchmark::State& state) {
    LoopbackReceiver receiver("127.0.0.1", 0);
    const std::string packet = BuildMagicPacket("00-11-22-33-44-55", "");
    const int fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(receiver.Port());
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    for (auto _ : state) {
        const ssize_t sent = sendto(fd, packet.data(), packet.size(), 0,
                                    reinterpret_cast<const sockaddr*>(&to), sizeof to);
        benchmark::DoNotOptimize(sent);
    }
    close(fd);
}
BENCHMARK(BM_RawSendTo);

}  // namespace
