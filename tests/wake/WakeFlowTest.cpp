// The steps one wake shares between "Power on" and the command line: the check, then the port,
// then the send. (The main window's and the console's tests cover the build failure and the
// sent lines through their front ends.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"
#include "wake/WakeFlow.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kMac = "00-11-22-33-44-55";
const std::string kIp = "192.168.0.255";

// Journals messages, log lines and the reading of the port; its client sends to the recording
// stack of the test.
class TJournalHost : public TWakeHost {
public:
    TJournalHost() { client_.SetBroadcastEnabled(true); }

    TIdUDPClient& UdpClient() override { return client_; }
    void AddLogLine(const std::string& line) override { journal.push_back("log " + line); }
    void ShowMessage(const std::string& text) override { journal.push_back("message " + text); }

    Lines journal;

private:
    TIdUDPClient client_;
};

TEST(WakeFlow, CheckBuildAndSendReadsThePortOnlyWhenTheChecksPass) {
    const struct {
        const char* name;
        std::string mac;
        std::string ip;
        bool sent;
        Lines journal;
    } rows[] = {
        {"sent", kMac, kIp, true, {"port"}},
        {"bad MAC", "bad", kIp, false, {"message Invalid MAC-Address"}},
        {"bad IP", kMac, "", false, {"message Invalid IP-Address"}},
        {"both bad", "", "", false, {"message Invalid IP-Address"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedRecordingStack stack;
        TJournalHost host;
        TWakeRequest request{row.mac, row.ip, "pw", 0};
        const bool sent = CheckBuildAndSend(host, request, [&host] {
            host.journal.push_back("port");
            return 9;
        });
        EXPECT_EQ(sent, row.sent);
        EXPECT_EQ(host.journal, row.journal);
        ASSERT_EQ(stack.Sent().size(), row.sent ? 1u : 0u);
        if (row.sent) {
            EXPECT_EQ(request.port, 9);
            EXPECT_EQ(stack.Sent()[0].port, 9);
            EXPECT_EQ(stack.Sent()[0].data, BuildMagicPacket(kMac, "pw"));
        }
    }
}

}  // namespace
