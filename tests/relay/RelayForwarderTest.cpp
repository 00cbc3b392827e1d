#include <gtest/gtest.h>

#include "base/DottedText.h"
#include "relay/RelayForwarder.h"
#include "support/RecordingStack.h"
#include "wake/MagicPacket.h"

namespace {

const std::string kMagic = BuildMagicPacket("00-11-22-33-44-55", "");
const std::string kFrom = "from 10.0.1.2:40000, 102 bytes: magic packet for 00-11-22-33-44-55";

struct Relay {
    explicit Relay(std::vector<TRelayDestination> destinations, TAllowList allow = {})
        : stack(CreateDefaultStack()),
          policy(std::move(allow), 2000, 20),
          forwarder(*stack, 7, std::move(destinations), policy) {}

    ScopedRecordingStack recording;
    std::unique_ptr<TIdStack> stack;
    TRelayPolicy policy;
    TRelayForwarder forwarder;
};

TEST(RelayForwarder, SendsTheBytesUnchangedToEveryDestination) {
    Relay relay({{"10.0.2.255", 9}, {"10.0.3.255", 7}});
    const std::string packet = BuildMagicPacket("00-11-22-33-44-55", std::string("a\0b", 3));
    EXPECT_EQ(relay.forwarder.Handle(packet, "10.0.1.2", 40000, 0),
              "from 10.0.1.2:40000, 105 bytes: magic packet for 00-11-22-33-44-55, password 3 "
              "bytes: 61 00 62 -> forwarded to 10.0.2.255:9, 10.0.3.255:7");
    ASSERT_EQ(relay.recording.Sent().size(), 2u);
    for (const RecordedDatagram& sent : relay.recording.Sent()) {
        EXPECT_EQ(sent.data, packet);
    }
    EXPECT_EQ(relay.recording.Sent()[1].port, 7);
    EXPECT_EQ(relay.recording.sendSockets, (std::vector<TIdStackSocketHandle>{7, 7}));
}

TEST(RelayForwarder, SaysWhyADatagramWasDropped) {
    TCidr inside;
    ASSERT_TRUE(ParseCidr("10.0.1.0/24", inside));
    Relay relay({{"10.0.2.255", 9}}, TAllowList({inside}));
    EXPECT_EQ(relay.forwarder.Handle("hello", "10.0.1.2", 40000, 0),
              "from 10.0.1.2:40000, 5 bytes: not a magic packet -> dropped: not a magic packet");
    EXPECT_EQ(relay.forwarder.Handle(kMagic, "10.0.9.9", 40000, 0),
              "from 10.0.9.9:40000, 102 bytes: magic packet for 00-11-22-33-44-55 -> dropped: "
              "source not allowed");
    EXPECT_EQ(relay.forwarder.Handle(kMagic, "10.0.1.2", 40000, 0),
              kFrom + " -> forwarded to 10.0.2.255:9");
    EXPECT_EQ(relay.forwarder.Handle(kMagic, "10.0.1.2", 40000, 100),
              kFrom + " -> dropped: repeat within 2 s");
    EXPECT_EQ(relay.recording.Sent().size(), 1u);
}

TEST(RelayForwarder, AFailedSendIsReportedAndTheOthersStillGoOut) {
    Relay relay({{"10.0.2.255", 9}, {"10.0.3.255", 9}, {"10.0.4.255", 9}});
    relay.recording.FailSendsTo("10.0.3.255", kIdErrorNetworkUnreachable);
    EXPECT_EQ(relay.forwarder.Handle(kMagic, "10.0.1.2", 40000, 0),
              kFrom +
                  " -> forwarded to 10.0.2.255:9, 10.0.4.255:9; send to 10.0.3.255:9 failed: "
                  "Socket Error # 10051: Network is unreachable.");
    EXPECT_EQ(relay.recording.Sent().size(), 2u);

    Relay failing({{"10.0.2.255", 9}});
    failing.recording.FailSendsWith(kIdErrorAccessDenied);
    EXPECT_EQ(failing.forwarder.Handle(kMagic, "10.0.1.2", 40000, 0),
              kFrom + " -> send to 10.0.2.255:9 failed: Socket Error # 10013: Access denied.");
    failing.recording.FailSendsWith(0);
    failing.recording.ShortenSendsBy(1);
    EXPECT_EQ(
        failing.forwarder.Handle(BuildMagicPacket("00-11-22-33-44-55", "x"), "10.0.1.2", 40000, 0)
            .substr(kFrom.size()),
        ", password 1 bytes: 78 -> send to 10.0.2.255:9 failed: Not all bytes sent.");
}

TEST(RelayTargets, InterfaceGivesTheDirectedBroadcastOfItsFirstAddress) {
    const std::vector<TIdInterfaceAddress> interfaces = {
        {"lo", "127.0.0.1", "255.0.0.0"},    {"eth1", "10.0.2.1", "255.255.255.0"},
        {"eth1", "10.9.0.1", "255.255.0.0"}, {"tun0", "10.8.0.1", "255.255.255.255"},
        {"odd", "10.7.0.1", "255.0.255.0"},
    };
    const struct {
        const char* name;
        bool ok;
        std::string result;  // the destination, or the error
    } rows[] = {
        {"eth1", true, "10.0.2.255:9"},
        {"lo", true, "127.255.255.255:9"},
        {"tun0", true, "10.8.0.1:9"},
        {"eth9", false, "no interface 'eth9' with an IPv4 address"},
        {"odd", false, "interface 'odd': Invalid network mask."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        uint32_t to = 0;
        ASSERT_TRUE(ParseDottedQuad("10.0.3.255", to));
        std::vector<TRelayDestination> destinations;
        std::string error;
        ASSERT_EQ(ResolveTargets({{"", to, 7}, {row.name, 0, 9}}, interfaces, destinations, error),
                  row.ok);
        if (row.ok) {
            EXPECT_EQ(DestinationsText(destinations), "10.0.3.255:7, " + row.result);
        } else {
            EXPECT_EQ(error, row.result);
            EXPECT_TRUE(destinations.empty());
        }
    }
}

}  // namespace
