// corvane-monitor.exe as a user runs it, with a magic packet sent to it through the Windows
// stack on loopback.
#include <gtest/gtest.h>

#include <string>

#include "ConsoleChild.h"
#include "base/WinApi.h"
#include "net/IdUDPClient.h"
#include "support/LoopbackReceiver.h"
#include "wake/WakeRequest.h"

namespace {

// A port that nobody holds right now.
uint16_t FreePort() {
    LoopbackReceiver probe("0.0.0.0", 0);
    return probe.Port();
}

TEST(MonitorExe, PrintsTheMagicPacketItReceivesAndEndsAtTheCount) {
    const std::string port = std::to_string(FreePort());
    TConsoleChild monitor("corvane-monitor.exe", "--count 1 --timeout 5 --port " + port);
    ASSERT_TRUE(monitor.Started());

    const std::string listening = "corvane-monitor: listening on 0.0.0.0:" + port + "\n";
    EXPECT_EQ(monitor.err.ReadUntil(listening), listening);
    {
        TIdUDPClient client;
        client.SetBroadcastEnabled(true);
        SendMagicPacket(client, BuildMagicPacket("00-11-22-33-44-55", "ab"), "127.0.0.1",
                        std::stoi(port));
    }

    const std::string line = monitor.out.ReadAll();
    const DWORD status = monitor.Finish();

    EXPECT_EQ(status, 0u);
    // The sender's port is the platform's choice.
    const std::string from = "from 127.0.0.1:";
    ASSERT_EQ(line.rfind(from, 0), 0u) << line;
    const size_t comma = line.find(',');
    ASSERT_NE(comma, std::string::npos) << line;
    EXPECT_EQ(line.substr(comma),
              ", 104 bytes: magic packet for 00-11-22-33-44-55, password 2 bytes: 61 62\n");
}

}  // namespace
