// corvane-wake.exe as a user runs it: a MAC target's packet reaches a loopback listener, and a
// TCP check of 127.0.0.1 finds a listening port.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ConsoleChild.h"
#include "base/WinApi.h"
#include "support/LoopbackReceiver.h"
#include "wake/MagicPacket.h"

namespace {

// A TCP socket listening on 127.0.0.1 at a port the system picks.
class TTcpListener {
public:
    TTcpListener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(socket_, 4);
        int length = sizeof(address);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~TTcpListener() {
        closesocket(socket_);
        WSACleanup();
    }
    TTcpListener(const TTcpListener&) = delete;
    TTcpListener& operator=(const TTcpListener&) = delete;

    uint16_t Port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    uint16_t port_ = 0;
};

TEST(WakeExe, SendsToALoopbackListenerAndConfirmsATcpCheck) {
    LoopbackReceiver target("127.0.0.1", 0);
    TTcpListener listener;
    ASSERT_NE(listener.Port(), 0);
    const std::string to = "127.0.0.1:" + std::to_string(target.Port());
    const std::string check = "tcp:" + std::to_string(listener.Port());
    TConsoleChild wake("corvane-wake.exe", "--wait --timeout 10 --resend 0 --to " + to +
                                               " --address 127.0.0.1 --check " + check +
                                               " 00-11-22-33-44-55");
    ASSERT_TRUE(wake.Started());
    const auto arrived = target.Receive();
    const std::string out = wake.out.ReadAll();
    const std::string err = wake.err.ReadAll();
    EXPECT_EQ(wake.Finish(), 0u) << err;

    ASSERT_TRUE(arrived.has_value());
    EXPECT_EQ(arrived->data, BuildMagicPacket("00-11-22-33-44-55", ""));
    const std::string sent = "00-11-22-33-44-55: sent to " + to + "\n";
    ASSERT_EQ(out.substr(0, sent.size()), sent);
    const std::string up = "00-11-22-33-44-55: up after ";
    EXPECT_EQ(out.substr(sent.size(), up.size()), up) << out;
    EXPECT_NE(out.find(" s (" + check + ", 1 packet)\n"), std::string::npos) << out;
    EXPECT_EQ(err.rfind("waited ", 0), 0u) << err;
    EXPECT_NE(err.find(": 1 up, 0 no answer\n"), std::string::npos) << err;
}

TEST(WakeExe, BadUsageAndAnUnknownHostHaveTheirStatuses) {
    TConsoleChild bad("corvane-wake.exe", "--wait --resend 1 nas");
    ASSERT_TRUE(bad.Started());
    const std::string err = bad.err.ReadAll();
    EXPECT_EQ(err.substr(0, err.find('\n')),
              "corvane-wake: --resend needs 0 (never) or a number of seconds above 2, not '1' "
              "(relays drop repeats within 2 s)");
    EXPECT_EQ(bad.Finish(), 2u);

    const std::string hosts = "wake-test-hosts";
    std::ofstream(hosts) << "# only a comment\n";
    TConsoleChild unknown("corvane-wake.exe", "--hosts " + hosts + " nas");
    ASSERT_TRUE(unknown.Started());
    EXPECT_EQ(unknown.err.ReadAll(), "corvane-wake: unknown host 'nas' (not in " + hosts + ")\n");
    EXPECT_EQ(unknown.Finish(), 2u);
    std::remove(hosts.c_str());
}

}  // namespace
