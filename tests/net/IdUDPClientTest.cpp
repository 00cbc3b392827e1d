// The UDP client's binding, broadcast option and failure handling, over the recording stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/IdException.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"

namespace {

TEST(IdUDPClient, DestinationsAreSentAsAddressBytesAndLow16PortBits) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    const struct {
        const char* host;
        int32_t port;
        const char* address;
        uint16_t sentPort;
    } rows[] = {
        {"192.168.0.255", 26354, "192.168.0.255", 26354},
        {"localhost", 9, "127.0.0.1", 9},
        {"LOCALHOST", 9, "127.0.0.1", 9},
        {"10.1", 9, "10.0.0.1", 9},
        {"127.0.0.1", 70000, "127.0.0.1", 4464},
        {"127.0.0.1", -1, "127.0.0.1", 65535},
        {"127.0.0.1", 0, "127.0.0.1", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.host + std::string(":") + std::to_string(row.port));
        client.SetHost(row.host);
        client.SetPort(row.port);
        client.Send("x");
        ASSERT_FALSE(recording.Sent().empty());
        EXPECT_EQ(recording.Sent().back().address, row.address);
        EXPECT_EQ(recording.Sent().back().port, row.sentPort);
    }
    EXPECT_TRUE(recording.lookups.empty());
}

TEST(IdUDPClient, DataIsSentWholeByItsStoredLength) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    const std::string withZeros("\xFF\x00\x00\x11", 4);
    client.Send("127.0.0.1", 9, withZeros);
    client.Send("127.0.0.1", 9, std::string());
    ASSERT_EQ(recording.Sent().size(), 2u);
    EXPECT_EQ(recording.Sent()[0].data, withZeros);
    EXPECT_EQ(recording.Sent()[1].data, "");
}

TEST(IdUDPClient, SocketOpensOnceWithTheBroadcastOptionUntilDeactivated) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    client.SetBroadcastEnabled(true);  // no socket yet: only stored
    EXPECT_TRUE(recording.options.empty());
    EXPECT_FALSE(client.Active());

    client.Send("192.168.0.255", 9, "a");
    client.Send("192.168.0.255", 9, "b");
    ASSERT_EQ(recording.socketsCreated.size(), 1u);
    const int32_t first = recording.socketsCreated[0];
    EXPECT_EQ(recording.sendSockets, (std::vector<int32_t>{first, first}));
    ASSERT_EQ(recording.options.size(), 1u);
    EXPECT_EQ(recording.options[0].socket, first);
    EXPECT_EQ(recording.options[0].level, kRecordedSocketLevel);
    EXPECT_EQ(recording.options[0].name, kRecordedBroadcastOption);
    EXPECT_EQ(recording.options[0].value, -1);

    client.SetActive(false);  // send direction shut down, then closed
    EXPECT_EQ(recording.shutdowns, std::vector<int32_t>{first});
    EXPECT_EQ(recording.closed, std::vector<int32_t>{first});
    EXPECT_FALSE(client.Active());

    client.SetBroadcastEnabled(false);
    client.Send("127.0.0.1", 9, "c");
    ASSERT_EQ(recording.socketsCreated.size(), 2u);
    EXPECT_EQ(recording.sendSockets.back(), recording.socketsCreated[1]);
    ASSERT_EQ(recording.options.size(), 2u);
    EXPECT_EQ(recording.options[1].value, 0);
}

TEST(IdUDPClient, BroadcastChangesReachAnOpenSocketAtOnce) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    client.SetActive(true);
    ASSERT_TRUE(client.Active());
    ASSERT_EQ(recording.options.size(), 1u);
    EXPECT_EQ(recording.options[0].value, 0);

    client.SetBroadcastEnabled(true);
    client.SetBroadcastEnabled(true);  // same value: nothing written
    client.SetActive(true);            // already active: nothing happens
    ASSERT_EQ(recording.options.size(), 2u);
    EXPECT_EQ(recording.options[1].value, -1);
    EXPECT_EQ(recording.socketsCreated.size(), 1u);
}

TEST(IdUDPClient, UnresolvableHostOnFirstSendCreatesNoSocket) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    client.SetHost("no-such-host.invalid");
    client.SetPort(9);
    try {
        client.Send("lost");
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
    EXPECT_EQ(recording.lookups, std::vector<std::string>{"no-such-host.invalid"});
    EXPECT_TRUE(recording.socketsCreated.empty());
    EXPECT_FALSE(client.Active());
    EXPECT_EQ(client.Binding(), nullptr);

    recording.AddHost("wol-box", "192.168.0.255");
    client.SetHost("wol-box");
    client.Send("found");
    ASSERT_EQ(recording.Sent().size(), 1u);
    EXPECT_EQ(recording.Sent()[0].address, "192.168.0.255");
}

TEST(IdUDPClient, FailedLookupAfterASendLeavesTheOpenSocketAsItWas) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    client.Send("127.0.0.1", 9, "first");
    recording.FailLookupsWith(11002);
    EXPECT_THROW(client.Send("wol-box", 9, "lost"), EIdSocketError);
    EXPECT_TRUE(client.Active());
    EXPECT_TRUE(recording.closed.empty());
    client.Send("127.0.0.1", 9, "again");
    EXPECT_EQ(recording.socketsCreated.size(), 1u);
    EXPECT_EQ(recording.options.size(), 1u);
    EXPECT_EQ(recording.Sent().size(), 2u);
}

TEST(IdUDPClient, RefusedSendsRaiseAndKeepTheSocketOpen) {
    const struct {
        int32_t error;
        int32_t shortBy;
        std::string message;
    } rows[] = {
        {10040, 0, "Package Size Too Big."},
        {10013, 0, "Socket Error # 10013\r\nAccess denied."},
        {10051, 0, "Socket Error # 10051\r\nNetwork is unreachable."},
        {0, 1, "Not all bytes sent."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        ScopedRecordingStack recording;
        TIdUDPClient client;
        recording.FailSendsWith(row.error);
        recording.ShortenSendsBy(row.shortBy);
        try {
            client.Send("127.0.0.1", 9, "packet");
            FAIL() << "no exception";
        } catch (const EIdPackageSizeTooBig& e) {
            EXPECT_EQ(row.error, 10040);
            EXPECT_EQ(e.Message(), row.message);
        } catch (const EIdNotAllBytesSent& e) {
            EXPECT_NE(row.shortBy, 0);
            EXPECT_EQ(e.Message(), row.message);
        } catch (const EIdSocketError& e) {
            EXPECT_EQ(e.ErrorCode(), row.error);
            EXPECT_EQ(e.Message(), row.message);
            EXPECT_EQ(GlobalStack()->LastFailure(), row.error);
        }
        EXPECT_TRUE(client.Active());
        recording.FailSendsWith(0);
        recording.ShortenSendsBy(0);
        client.Send("127.0.0.1", 9, "again");
        EXPECT_EQ(recording.socketsCreated.size(), 1u);
    }
}

TEST(IdUDPClient, InvalidAddressTextIsRefusedByTheStack) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    // HostToAddress never passes such a text on; the binding still refuses it.
    client.SetActive(true);
    try {
        client.Binding()->SendDatagram("1.2.3.4.5", 9, "x", 1);
        FAIL() << "no exception";
    } catch (const EIdInvalidIPAddress& e) {
        EXPECT_EQ(e.Message(), "1.2.3.4.5 is not a valid IP address.");
    }
}

TEST(IdUDPClient, SocketCreationFailureKeepsTheBindingAndTriesAgain) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    recording.FailSocketCreation(true);
    try {
        client.Send("127.0.0.1", 9, "x");
        FAIL() << "no exception";
    } catch (const EIdInvalidSocket& e) {
        EXPECT_EQ(e.Message(), "Cannot allocate socket.");
    }
    EXPECT_NE(client.Binding(), nullptr);
    EXPECT_FALSE(client.Active());
    EXPECT_TRUE(recording.options.empty());

    recording.FailSocketCreation(false);
    client.Send("127.0.0.1", 9, "x");
    EXPECT_EQ(recording.socketsCreated.size(), 1u);
    EXPECT_EQ(recording.Sent().size(), 1u);
}

TEST(IdUDPClient, RefusedBroadcastOptionLeavesTheSocketOpenAndIsNotRetried) {
    ScopedRecordingStack recording;
    TIdUDPClient client;
    client.SetBroadcastEnabled(true);
    recording.FailOptionsWith(10042);
    try {
        client.Send("127.0.0.1", 9, "x");
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.Message(), "Socket Error # 10042\r\nBad protocol option.");
    }
    EXPECT_TRUE(client.Active());
    recording.FailOptionsWith(0);
    client.Send("127.0.0.1", 9, "x");
    EXPECT_EQ(recording.options.size(), 1u);
    EXPECT_EQ(recording.Sent().size(), 1u);
}

TEST(IdUDPClient, DestructionClosesTheOpenSocket) {
    ScopedRecordingStack recording;
    {
        TIdUDPClient client;
        client.Send("127.0.0.1", 9, "x");
    }
    ASSERT_EQ(recording.socketsCreated.size(), 1u);
    EXPECT_EQ(recording.shutdowns, recording.socketsCreated);
    EXPECT_EQ(recording.closed, recording.socketsCreated);
    EXPECT_EQ(StackUsers(), 0);
}

}  // namespace
