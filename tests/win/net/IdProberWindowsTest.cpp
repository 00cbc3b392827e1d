// The Windows prober under Wine, loopback only: connects over the run-time bound Windows
// Sockets to a listening and to a closed port of 127.0.0.1, and an echo of 127.0.0.1 where the
// ICMP echo API works.
#include <gtest/gtest.h>

#include <cstring>

#include "base/WinApi.h"
#include "net/IdProber.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// A TCP socket on 127.0.0.1 at a port the system chose, listening or closed again. Made with
// the import library's functions, so the prober's own binding is what the test checks.
class TLoopbackPort {
public:
    explicit TLoopbackPort(bool listen) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address;
        std::memset(&address, 0, sizeof(address));
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ::ntohs(address.sin_port);
        if (listen) {
            ::listen(socket_, 16);
        } else {
            ::closesocket(socket_);
            socket_ = INVALID_SOCKET;
        }
    }
    ~TLoopbackPort() {
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(socket_);
        }
    }
    uint16_t Port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    uint16_t port_ = 0;
};

std::vector<TIdProbeResult> WaitFor(TIdProber& prober, size_t count) {
    std::vector<TIdProbeResult> results;
    for (int round = 0; round < 50 && results.size() < count; ++round) {
        prober.Wait(100, results);
    }
    return results;
}

TEST(IdProberWindows, ListeningAndClosedPortsBothAnswer) {
    auto prober = CreateProber();  // starts Windows Sockets for the listener too
    const TLoopbackPort listening(true);
    const TLoopbackPort closed(false);
    ASSERT_NE(listening.Port(), 0);
    ASSERT_TRUE(prober->StartConnect(1, kLoopback, listening.Port()));
    ASSERT_TRUE(prober->StartConnect(2, kLoopback, closed.Port()));
    std::vector<TIdProbeResult> results = WaitFor(*prober, 2);
    ASSERT_EQ(results.size(), 2u);
    for (const TIdProbeResult& result : results) {
        SCOPED_TRACE(result.token);
        EXPECT_EQ(result.outcome, TIdProbeOutcome::Answered) << result.error;
    }
    results.clear();
    prober->Wait(50, results);
    EXPECT_TRUE(results.empty());
}

// More connects than FD_SETSIZE (64) in flight at once: one select over a set of any size. To a
// closed port, so no listener's backlog holds any of them back.
TEST(IdProberWindows, HundredsOfConnectsInFlightAllAnswer) {
    auto prober = CreateProber();
    const TLoopbackPort closed(false);
    constexpr uint64_t kConnects = 300;
    for (uint64_t token = 0; token < kConnects; ++token) {
        ASSERT_TRUE(prober->StartConnect(token, kLoopback, closed.Port()));
    }
    const std::vector<TIdProbeResult> results = WaitFor(*prober, kConnects);
    EXPECT_EQ(results.size(), kConnects);
    for (const TIdProbeResult& result : results) {
        EXPECT_EQ(result.outcome, TIdProbeOutcome::Answered) << result.token << " " << result.error;
    }
}

TEST(IdProberWindows, ACancelledConnectReportsNothing) {
    auto prober = CreateProber();
    const TLoopbackPort listening(true);
    ASSERT_TRUE(prober->StartConnect(3, kLoopback, listening.Port()));
    prober->Cancel(3);
    std::vector<TIdProbeResult> results;
    prober->Wait(100, results);
    EXPECT_TRUE(results.empty());
}

TEST(IdProberWindows, EchoOfLoopbackIsAnswered) {
    auto prober = CreateProber();
    std::string reason;
    if (!prober->IcmpAvailable(reason)) {
        GTEST_SKIP() << reason;
    }
    prober->SendEcho(7, kLoopback);
    const std::vector<TIdProbeResult> results = WaitFor(*prober, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].token, 7u);
    EXPECT_EQ(results[0].outcome, TIdProbeOutcome::Answered) << results[0].error;
}

}  // namespace
