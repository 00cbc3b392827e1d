// corvane-relay.exe as a user runs it: a magic packet from a loopback sender goes on to a
// loopback listener, unchanged.
#include <gtest/gtest.h>

#include <string>

#include "ConsoleChild.h"
#include "net/IdUDPClient.h"
#include "support/LoopbackReceiver.h"
#include "wake/WakeRequest.h"

namespace {

uint16_t FreePort() {
    LoopbackReceiver probe("0.0.0.0", 0);
    return probe.Port();
}

TEST(RelayExe, ForwardsAMagicPacketFromALoopbackSenderToALoopbackListener) {
    LoopbackReceiver target("127.0.0.1", 0);
    const std::string port = std::to_string(FreePort());
    const std::string to = "127.0.0.1:" + std::to_string(target.Port());
    TConsoleChild relay("corvane-relay.exe",
                        "--count 1 --timeout 5 --port " + port + " --to " + to);
    ASSERT_TRUE(relay.Started());
    const std::string listening =
        "corvane-relay: listening on 0.0.0.0:" + port + ", forwarding to " + to + "\n";
    ASSERT_EQ(relay.err.ReadUntil(listening), listening);

    const std::string packet = BuildMagicPacket("00-11-22-33-44-55", "ab");
    {
        TIdUDPClient client;
        client.SetBroadcastEnabled(true);
        SendMagicPacket(client, packet, "127.0.0.1", std::stoi(port));
    }
    const auto arrived = target.Receive();
    const std::string line = relay.out.ReadAll();
    EXPECT_EQ(relay.Finish(), 0u);

    ASSERT_TRUE(arrived.has_value());
    EXPECT_EQ(arrived->data, packet);
    const size_t comma = line.find(',');
    ASSERT_EQ(line.rfind("from 127.0.0.1:", 0), 0u) << line;
    EXPECT_EQ(line.substr(comma),
              ", 104 bytes: magic packet for 00-11-22-33-44-55, password 2 "
              "bytes: 61 62 -> forwarded to " +
                  to + "\n");
}

TEST(RelayExe, BadOptionsAndAnUnknownInterfaceHaveTheirStatuses) {
    TConsoleChild bad("corvane-relay.exe", "--port 9");
    ASSERT_TRUE(bad.Started());
    const std::string err = bad.err.ReadAll();
    EXPECT_EQ(err.substr(0, err.find('\n')),
              "corvane-relay: at least one destination is needed: --to ADDRESS[:PORT] or "
              "--interface NAME");
    EXPECT_EQ(bad.Finish(), 2u);

    TConsoleChild unknown("corvane-relay.exe",
                          "--port " + std::to_string(FreePort()) + " --interface no-such-adapter");
    ASSERT_TRUE(unknown.Started());
    EXPECT_EQ(unknown.err.ReadAll(),
              "corvane-relay: no interface 'no-such-adapter' with an IPv4 address\n");
    EXPECT_EQ(unknown.Finish(), 3u);
}

}  // namespace
