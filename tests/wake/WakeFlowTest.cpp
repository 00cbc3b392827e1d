// The steps one wake shares between "Power on" and the command line: the check, the build, the
// port and the send in that order, and the lines a sent wake logs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
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

TEST(WakeFlow, CheckBuildAndSendReadsThePortOnlyForABuiltPacket) {
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

    // A MAC text that passes the check but cannot be built ends the wake before the port.
    ScopedRecordingStack stack;
    TJournalHost host;
    TWakeRequest request{"x00-11-22-33-44-55", kIp, "", 7};
    EXPECT_THROW(CheckBuildAndSend(host, request,
                                   [&host] {
                                       host.journal.push_back("port");
                                       return 9;
                                   }),
                 EConvertError);
    EXPECT_TRUE(host.journal.empty());
    EXPECT_TRUE(stack.Sent().empty());
}

TEST(WakeFlow, WithoutAPortStepTheRequestsPortIsUsed) {
    ScopedRecordingStack stack;
    TJournalHost host;
    TWakeRequest request{kMac, "127.0.0.1", "", 8080};
    EXPECT_TRUE(CheckBuildAndSend(host, request));
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].address, "127.0.0.1");
    EXPECT_EQ(stack.Sent()[0].port, 8080);
}

TEST(WakeFlow, SentLinesMentionThePasswordButNeverShowIt) {
    const Lines sent = {"log MagicPaket sent to:", "log Device: a00-11-22-33-44-55",
                        "log BCast Domain: 10.0.0.255"};
    for (const std::string password : {"", "s3cret"}) {
        SCOPED_TRACE(password);
        ScopedRecordingStack stack;
        TJournalHost host;
        LogSentWake(host, {"a00-11-22-33-44-55", "10.0.0.255", password, 9});
        Lines expected = sent;
        if (!password.empty()) {
            expected.push_back("log Sent with WOL Password");
        }
        EXPECT_EQ(host.journal, expected);
    }
}

}  // namespace
