// The UDP client over the real POSIX stack, against listeners on loopback only.
#include <gtest/gtest.h>

#include <string>

#include "net/IdException.h"
#include "net/IdUDPClient.h"
#include "support/LoopbackReceiver.h"

namespace {

std::string MagicPacketWithZeroBytes() {
    std::string packet(6, '\xFF');
    const std::string mac("\x00\x11\x00\x33\x44\x00", 6);
    for (int i = 0; i < 16; ++i) {
        packet += mac;
    }
    return packet;
}

// Sends a marker and returns what arrives first: a failed send before it must have left
// nothing behind, without waiting for a timeout.
std::string FirstArrivalAfterMarker(TIdUDPClient& client, LoopbackReceiver& receiver) {
    client.Send("127.0.0.1", receiver.Port(), "marker");
    const auto datagram = receiver.Receive();
    return datagram ? datagram->data : std::string("<nothing>");
}

TEST(IdUDPClientLoopback, PacketWithZeroBytesArrivesWhole) {
    LoopbackReceiver receiver;
    TIdUDPClient client;
    client.SetBroadcastEnabled(true);
    client.SetHost("127.0.0.1");
    client.SetPort(receiver.Port());
    const std::string packet = MagicPacketWithZeroBytes();
    ASSERT_EQ(packet.size(), 102u);

    client.Send(packet);

    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, packet);
}

TEST(IdUDPClientLoopback, EmptyDataIsADatagramOfLengthZero) {
    LoopbackReceiver receiver;
    TIdUDPClient client;
    client.SetHost("LocalHost");
    client.SetPort(receiver.Port());

    client.Send(std::string());

    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data.size(), 0u);
}

TEST(IdUDPClientLoopback, SendsShareOneSocketUntilDeactivated) {
    LoopbackReceiver receiver;
    TIdUDPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(receiver.Port());

    client.Send("one");
    client.Send("two");
    const auto first = receiver.Receive();
    const auto second = receiver.Receive();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->data, "one");
    EXPECT_EQ(second->data, "two");
    EXPECT_EQ(first->port, second->port);

    client.SetActive(false);
    EXPECT_FALSE(client.Active());
    EXPECT_EQ(client.Binding(), nullptr);
    client.Send("three");
    const auto third = receiver.Receive();
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->data, "three");
    EXPECT_TRUE(client.Active());
}

TEST(IdUDPClientLoopback, LoopbackBroadcastNeedsThePermission) {
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
    EXPECT_TRUE(client.Active());  // the socket stays open

    client.SetBroadcastEnabled(true);  // applied to the open socket at once
    client.Send("permitted");
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, "permitted");
}

TEST(IdUDPClientLoopback, OversizedDatagramIsTooBigAndNothingArrives) {
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
    EXPECT_TRUE(client.Active());
    EXPECT_EQ(FirstArrivalAfterMarker(client, receiver), "marker");
}

TEST(IdUDPClientLoopback, UnresolvableHostOnTheFirstSendLeavesNoBinding) {
    LoopbackReceiver receiver;
    TIdUDPClient client;
    client.SetPort(receiver.Port());
    // A name with an empty label: the resolver refuses it without asking any name server.
    client.SetHost("a..b");
    try {
        client.Send("lost");
        FAIL() << "a..b was resolved";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
    EXPECT_EQ(client.Binding(), nullptr);
    EXPECT_FALSE(client.Active());
    EXPECT_EQ(FirstArrivalAfterMarker(client, receiver), "marker");
}

TEST(IdUDPClientLoopback, PortAbove65535WrapsToItsLow16Bits) {
    if (!LoopbackReceiver::PortIsFree("127.0.0.1", 4464)) {
        GTEST_SKIP() << "port 4464 is in use; the recording stack covers the wrap";
    }
    LoopbackReceiver receiver("127.0.0.1", 4464);
    TIdUDPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(70000);

    client.Send("wrapped");

    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, "wrapped");
}

}  // namespace
