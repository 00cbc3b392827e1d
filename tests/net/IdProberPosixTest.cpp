#include <arpa/inet.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "net/IdErrorText.h"
#include "net/IdNeighbours.h"
#include "net/IdProber.h"

// The POSIX prober for real, on loopback only (run inside tools/isolated-run).

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// A TCP socket on 127.0.0.1 at a port the system chose; listening or closed again.
class TLoopbackPort {
public:
    explicit TLoopbackPort(bool listen) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(kLoopback);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        socklen_t length = sizeof(address);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        if (listen) {
            ::listen(socket_, 16);
        } else {
            ::close(socket_);
            socket_ = -1;
        }
    }
    ~TLoopbackPort() {
        if (socket_ >= 0) {
            ::close(socket_);
        }
    }
    uint16_t Port() const { return port_; }

private:
    int socket_ = -1;
    uint16_t port_ = 0;
};

// The outcomes that came until `count` of them did, or about two seconds passed.
std::vector<TIdProbeResult> WaitFor(TIdProber& prober, size_t count) {
    std::vector<TIdProbeResult> results;
    for (int round = 0; round < 20 && results.size() < count; ++round) {
        prober.Wait(100, results);
    }
    return results;
}

TEST(IdProberPosix, ListeningAndClosedPortsBothAnswer) {
    const TLoopbackPort listening(true);
    const TLoopbackPort closed(false);
    auto prober = CreateProber();
    ASSERT_TRUE(prober->StartConnect(1, kLoopback, listening.Port()));
    ASSERT_TRUE(prober->StartConnect(2, kLoopback, closed.Port()));
    std::vector<TIdProbeResult> results = WaitFor(*prober, 2);
    ASSERT_EQ(results.size(), 2u);
    for (const TIdProbeResult& result : results) {
        SCOPED_TRACE(result.token);
        EXPECT_EQ(result.outcome, TIdProbeOutcome::Answered);
    }
    // Each outcome once.
    results.clear();
    prober->Wait(50, results);
    EXPECT_TRUE(results.empty());
}

TEST(IdProberPosix, UnroutableAddressFailsWithTheWindowsSocketsNumber) {
    // Inside the isolated namespace only loopback exists: 10.0.0.1 has no route, so the connect
    // fails at once and nothing leaves the machine. Outside it the connect could reach a real
    // network, so it is not made there.
    if (std::getenv("CORVANE_ISOLATED") == nullptr) {
        GTEST_SKIP() << "only inside tools/isolated-run";
    }
    auto prober = CreateProber();
    ASSERT_TRUE(prober->StartConnect(5, 0x0A000001, 445));
    const std::vector<TIdProbeResult> results = WaitFor(*prober, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, TIdProbeOutcome::Failed);
    EXPECT_EQ(results[0].error, kIdErrorNetworkUnreachable);
}

TEST(IdProberPosix, ACancelledConnectReportsNothing) {
    const TLoopbackPort listening(true);
    auto prober = CreateProber();
    ASSERT_TRUE(prober->StartConnect(3, kLoopback, listening.Port()));
    prober->Cancel(3);
    prober->Cancel(42);  // unknown: ignored
    std::vector<TIdProbeResult> results;
    prober->Wait(100, results);
    EXPECT_TRUE(results.empty());
}

TEST(IdProberPosix, EchoOfLoopbackIsAnswered) {
    auto prober = CreateProber();
    std::string reason;
    if (!prober->IcmpAvailable(reason)) {
        GTEST_SKIP() << reason;
    }
    prober->SendEcho(7, kLoopback);
    prober->SendEcho(8, kLoopback);
    prober->Cancel(8);
    std::vector<TIdProbeResult> results = WaitFor(*prober, 1);
    prober->Wait(100, results);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].token, 7u);
    EXPECT_EQ(results[0].outcome, TIdProbeOutcome::Answered);
}

// As an unprivileged user (nobody) the prober has an ICMP socket only where ping_group_range
// holds the user's group; otherwise the reason names the sysctl and the TCP check instead.
// Changes the range of the isolated namespace only, and puts it back.
TEST(IdProberPosix, UnprivilegedIcmpFollowsPingGroupRange) {
    const char* const kRange = "/proc/sys/net/ipv4/ping_group_range";
    std::string before;
    if (std::ifstream in(kRange); !std::getline(in, before)) {
        GTEST_SKIP() << "no ping_group_range";
    }
    if (::getuid() != 0 || std::getenv("CORVANE_ISOLATED") == nullptr) {
        GTEST_SKIP() << "needs root inside tools/isolated-run";
    }
    struct Row {
        const char* range;
        bool available;
    };
    for (const Row row : {Row{"1 0", false}, Row{"0 2147483647", true}}) {
        SCOPED_TRACE(row.range);
        if (!(std::ofstream(kRange) << row.range)) {
            GTEST_SKIP() << "cannot set ping_group_range here";
        }
        const pid_t child = ::fork();
        if (child == 0) {
            constexpr gid_t kNobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
                _exit(3);
            }
            auto prober = CreateProber();
            std::string reason;
            if (!prober->IcmpAvailable(reason)) {
                const bool named = reason.find("net.ipv4.ping_group_range") != std::string::npos &&
                                   reason.find("check=tcp:PORT") != std::string::npos &&
                                   reason.find('\n') == std::string::npos;
                _exit(named ? 10 : 11);
            }
            prober->SendEcho(9, kLoopback);
            const auto results = WaitFor(*prober, 1);
            _exit(results.size() == 1 && results[0].outcome == TIdProbeOutcome::Answered ? 20 : 21);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), row.available ? 20 : 10);
    }
    std::ofstream(kRange) << before;
}

TEST(IdNeighbours, MacTextIsLowerCasePairsJoinedByDashes) {
    const uint8_t bytes[6] = {0x00, 0x1B, 0x21, 0xAA, 0xBB, 0x01};
    EXPECT_EQ(NeighbourMacText(bytes), "00-1b-21-aa-bb-01");
}

// Entries of each state, made by hand on a veth pair of the isolated namespace: only those that
// hold an address are found, in lower-case pairs joined by '-'.
TEST(IdNeighbours, OnlyEntriesWithAnAddressAreFound) {
    if (::getuid() != 0 || std::getenv("CORVANE_ISOLATED") == nullptr) {
        GTEST_SKIP() << "needs root inside tools/isolated-run";
    }
    const std::string link = "cvn" + std::to_string(::getpid() % 100000);
    const std::string setUp = "ip link add " + link + " type veth peer name " + link +
                              "p && ip link set " + link + " up && ip addr add 10.9.9.1/24 dev " +
                              link;
    ASSERT_EQ(std::system(setUp.c_str()), 0);
    struct Row {
        const char* address;
        const char* entry;  // what follows "ip neigh add ADDRESS dev LINK"
        uint32_t value;
        const char* mac;  // nullptr: not found
    };
    const Row rows[] = {
        {"10.9.9.2", "lladdr 00:1B:21:AA:BB:02 nud stale", 0x0A090902, "00-1b-21-aa-bb-02"},
        {"10.9.9.3", "lladdr 00:1b:21:aa:bb:03 nud reachable", 0x0A090903, "00-1b-21-aa-bb-03"},
        {"10.9.9.4", "lladdr 00:1b:21:aa:bb:04 nud permanent", 0x0A090904, "00-1b-21-aa-bb-04"},
        {"10.9.9.5", "nud incomplete", 0x0A090905, nullptr},
        {"10.9.9.6", "nud failed", 0x0A090906, nullptr},
        {"10.9.9.7", nullptr, 0x0A090907, nullptr},  // no entry at all
    };
    for (const Row& row : rows) {
        if (row.entry != nullptr) {
            const std::string add =
                std::string("ip neigh add ") + row.address + " dev " + link + " " + row.entry;
            ASSERT_EQ(std::system(add.c_str()), 0) << add;
        }
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.address);
        std::string mac;
        EXPECT_EQ(FindNeighbourMac(row.value, mac), row.mac != nullptr);
        EXPECT_EQ(mac, row.mac == nullptr ? "" : row.mac);
    }
    EXPECT_EQ(std::system(("ip link del " + link).c_str()), 0);
}

}  // namespace
