// The Windows stack under Wine, loopback only. The cases run in file order and follow the
// process's life: nothing loaded, loaded by the first client, unloaded by the exit step.
#include <gtest/gtest.h>

#include <string>

#include "net/IdException.h"
#include "net/IdStackWindows.h"
#include "net/IdUDPClient.h"
#include "net/IdWinsock2_win.h"
#include "support/LoopbackReceiver.h"

namespace {

const std::string kNotStartedText =
    "Either the application has not called WSAStartup, or WSAStartup failed";

void ExpectStubError(const std::function<void()>& call, const std::string& exportName) {
    try {
        call();
        FAIL() << exportName << " was called without the library";
    } catch (const EIdWS2StubError& e) {
        const std::string heading = "Error on call Winsock2 library function " + exportName;
        EXPECT_EQ(e.Heading(), heading);
        EXPECT_EQ(e.SystemError(), 10093u);
        EXPECT_FALSE(e.SystemErrorText().empty());
        EXPECT_EQ(e.Message(), heading + ": " + e.SystemErrorText());
    }
}

TEST(IdStackWindows, FunctionsRaiseTheStubErrorBeforeLoading) {
    ASSERT_FALSE(Ws2Loaded());
    ASSERT_FALSE(SocketsStarted());
    ExpectStubError([] { Ws2Htons::Call(1); }, "htons");
    ExpectStubError([] { Ws2Socket::Call(AF_INET, SOCK_DGRAM, 0); }, "socket");
    EXPECT_EQ(Ws2SystemErrorText(10093).back() == '.', false);
}

TEST(IdStackWindows, FirstClientLoadsAndStartsStubsBindOnFirstUse) {
    {
        TIdUDPClient client;
        EXPECT_TRUE(Ws2Loaded());
        EXPECT_TRUE(SocketsStarted());
        EXPECT_FALSE(Ws2Socket::Bound());
        EXPECT_FALSE(Ws2SendTo::Bound());
        LoopbackReceiver receiver;
        client.Send("127.0.0.1", receiver.Port(), std::string("\x00\x01", 2));
        EXPECT_TRUE(Ws2Socket::Bound());
        EXPECT_TRUE(Ws2SendTo::Bound());
        const auto datagram = receiver.Receive();
        ASSERT_TRUE(datagram.has_value());
        EXPECT_EQ(datagram->data, std::string("\x00\x01", 2));
    }
    // The last component frees the stack, but the library stays loaded and started.
    EXPECT_EQ(GlobalStack(), nullptr);
    EXPECT_TRUE(Ws2Loaded());
    EXPECT_TRUE(Ws2Socket::Bound());
}

TEST(IdStackWindows, LoopbackBroadcastArrivesOnlyWithThePermission) {
    LoopbackReceiver receiver("0.0.0.0");
    TIdUDPClient client;
    client.SetHost("127.255.255.255");
    client.SetPort(receiver.Port());
    try {
        client.Send("refused");
        FAIL() << "a broadcast without the permission was sent";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 10013);
        EXPECT_EQ(e.Message(), "Socket Error # 10013\r\nAccess denied.");
    }

    client.SetBroadcastEnabled(true);
    std::string packet(6, '\xFF');
    for (int i = 0; i < 16; ++i) {
        packet += std::string("\x00\x11\x22\x33\x44\x55", 6);
    }
    client.Send(packet);
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, packet);
}

TEST(IdStackWindows, OversizedDatagramIsTooBig) {
    LoopbackReceiver receiver;
    TIdUDPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(receiver.Port());
    try {
        client.Send(std::string(70000, 'x'));
        FAIL() << "70000 bytes were accepted";
    } catch (const EIdPackageSizeTooBig& e) {
        EXPECT_EQ(e.Message(), "Package Size Too Big.");
    }
    client.Send("marker");
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, "marker");
}

TEST(IdStackWindows, HostNotFoundHasItsText) {
    TIdStackWindows stack;
    EXPECT_EQ(stack.ErrorText(11001), "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(stack.SocketOptionLevel(), 0xFFFF);
    EXPECT_EQ(stack.BroadcastOptionName(), 0x0020);
}

// Must stay last: the exit step unloads the library for the rest of the process.
TEST(IdStackWindows, ExitStepUnloadsAndCallsRaiseTheStubErrorAgain) {
    ASSERT_EQ(StackUsers(), 0);
    ShutdownWinsock();
    EXPECT_FALSE(Ws2Loaded());
    EXPECT_FALSE(Ws2Socket::Bound());
    ExpectStubError([] { Ws2Socket::Call(AF_INET, SOCK_DGRAM, 0); }, "socket");

    // A client made afterwards finds the subsystem marked started and fails at its first call.
    TIdUDPClient client;
    ExpectStubError([&client] { client.Send("127.0.0.1", 9, "late"); }, "socket");
    EXPECT_FALSE(client.Active());
    ShutdownWinsock();  // a second exit step does nothing
}

}  // namespace
