#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "base/Exception.h"
#include "net/IdException.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"
#include "wake/CommandLineWake.h"
#include "wake/WakeRequest.h"

namespace {

const std::string kMac = "00-11-22-33-44-55";
const std::string kIp = "192.168.0.255";
const std::string kOutOfRange = "Portnumber out of range (1..65535) - using default port 26354";

// Records what the decision does to its window: log lines and messages, in order; Run adds
// "close" when the decision reports a send, as the main window closes then.
class TFakeHost : public TWakeHost {
public:
    TFakeHost() { client_.SetBroadcastEnabled(true); }

    TIdUDPClient& UdpClient() override { return client_; }
    void AddLogLine(const std::string& line) override { events.push_back("log " + line); }
    void ShowMessage(const std::string& text) override { events.push_back("message " + text); }

    TCommandLineResult Run(const std::vector<std::string>& arguments) {
        const TCommandLineResult result = RunCommandLine(arguments, *this);
        if (result.outcome == TCommandLineOutcome::Sent) {
            events.push_back("close");
        }
        return result;
    }

    std::vector<std::string> events;

private:
    TIdUDPClient client_;
};

struct Expected {
    std::string address;
    uint16_t port;
    std::string data;
};

std::string Magic(const std::string& mac, const std::string& password = "") {
    return BuildMagicPacket(mac, password);
}

struct Row {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> events;
    std::optional<Expected> sent;
};

void Check(const Row& row) {
    SCOPED_TRACE(row.name);
    ScopedRecordingStack stack;
    TFakeHost host;
    host.Run(row.arguments);
    EXPECT_EQ(host.events, row.events);
    if (!row.sent) {
        EXPECT_TRUE(stack.Sent().empty());
        return;
    }
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].address, row.sent->address);
    EXPECT_EQ(stack.Sent()[0].port, row.sent->port);
    EXPECT_EQ(stack.Sent()[0].data, row.sent->data);
}

TEST(CommandLineWake, ArgumentCountChoosesTheMode) {
    const std::string usage = "message " + kUsageMessage;
    const Row rows[] = {
        {"none", {}, {"log CorVane 1.0a", "log ------------------------"}, std::nullopt},
        {"one", {kMac}, {usage}, std::nullopt},
        {"five", {kMac, kIp, "/pw:a", "/port:9", "x"}, {usage}, std::nullopt},
        {"six", {kMac, kIp, "a", "b", "c", "d"}, {usage}, std::nullopt},
        {"two", {kMac, kIp}, {"close"}, Expected{kIp, 26354, Magic(kMac)}},
        {"four",
         {kMac, kIp, "/pw:abc", "/port:9"},
         {"close"},
         Expected{kIp, 9, Magic(kMac, "abc")}},
    };
    for (const Row& row : rows) {
        Check(row);
    }
}

TEST(CommandLineWake, ResultSaysWhatHappenedAndCarriesTheRequest) {
    using O = TCommandLineOutcome;
    const TWakeRequest defaults;
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        O outcome;
        TWakeRequest request;
    } rows[] = {
        {"none", {}, O::Banner, defaults},
        {"one", {kMac}, O::Usage, defaults},
        {"five", {kMac, kIp, "/pw:a", "/port:9", "x"}, O::Usage, defaults},
        {"bad MAC", {"bad", kIp, "/pw:x", "/port:9"}, O::CheckFailed, {"bad", kIp, "x", 9}},
        {"bad IP", {kMac, "1.2.3"}, O::CheckFailed, {kMac, "1.2.3", "", 26354}},
        {"sent", {kMac, kIp}, O::Sent, {kMac, kIp, "", 26354}},
        {"sent with options", {kMac, kIp, "/pw:abc", "/port:9"}, O::Sent, {kMac, kIp, "abc", 9}},
        {"sent on the default port",
         {kMac, kIp, "/port:9", "/port:0"},
         O::Sent,
         {kMac, kIp, "", 26354}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedRecordingStack stack;
        TFakeHost host;
        const TCommandLineResult result = RunCommandLine(row.arguments, host);
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.request.mac, row.request.mac);
        EXPECT_EQ(result.request.ip, row.request.ip);
        EXPECT_EQ(result.request.password, row.request.password);
        EXPECT_EQ(result.request.port, row.request.port);
        EXPECT_EQ(stack.Sent().size(), row.outcome == O::Sent ? 1u : 0u);
    }
}

TEST(CommandLineWake, UsageMessageIsExact) {
    EXPECT_EQ(kUsageMessage,
              "Wrong CLI parameters!\n\rUsage: \n\rcorvane <mac-addr> <broadcast ip-addr> "
              "[/pw:<password>] [/port:<Portnummer>]\n\r<mac-addr> format: "
              "xx-xx-xx-xx-xx-xx\n\r<broadcast ip-addr> example: 192.168.0.255\n\r"
              "[/pw:<password>] is optional (WOL Password)\n\r[/port:<Portnummer>] is optional "
              "(default: 26354");
}

TEST(CommandLineWake, PortAndPasswordOptions) {
    const Row rows[] = {
        {"password", {kMac, kIp, "/pw:abc"}, {"close"}, Expected{kIp, 26354, Magic(kMac, "abc")}},
        {"empty password", {kMac, kIp, "/pw:"}, {"close"}, Expected{kIp, 26354, Magic(kMac)}},
        {"last password wins",
         {kMac, kIp, "/pw:one", "/pw:two"},
         {"close"},
         Expected{kIp, 26354, Magic(kMac, "two")}},
        {"password case matters",
         {kMac, kIp, "/PW:abc"},
         {"close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"ignored argument", {kMac, kIp, "hello"}, {"close"}, Expected{kIp, 26354, Magic(kMac)}},
        {"password in the middle",
         {kMac, kIp, "xx/pw:a/pw:b"},
         {"close"},
         Expected{kIp, 26354, Magic(kMac, "a/pw:b")}},
        {"port 9", {kMac, kIp, "/port:9"}, {"close"}, Expected{kIp, 9, Magic(kMac)}},
        {"port $1F90", {kMac, kIp, "/port:$1F90"}, {"close"}, Expected{kIp, 8080, Magic(kMac)}},
        {"port 0x1F90", {kMac, kIp, "/port:0x1F90"}, {"close"}, Expected{kIp, 8080, Magic(kMac)}},
        {"port with blanks", {kMac, kIp, "/port:  80"}, {"close"}, Expected{kIp, 80, Magic(kMac)}},
        {"port limits",
         {kMac, kIp, "/port:1", "/port:65535"},
         {"close"},
         Expected{kIp, 65535, Magic(kMac)}},
        {"port 0",
         {kMac, kIp, "/port:0"},
         {"message " + kOutOfRange, "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"port 70000",
         {kMac, kIp, "/port:70000"},
         {"message " + kOutOfRange, "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"out of range after a valid port",
         {kMac, kIp, "/port:9", "/port:-1"},
         {"message " + kOutOfRange, "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"port abc",
         {kMac, kIp, "/port:abc"},
         {"message abc is not a valid Port", "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"port abc keeps an earlier port",
         {kMac, kIp, "/port:9", "/port:abc"},
         {"message abc is not a valid Port", "close"},
         Expected{kIp, 9, Magic(kMac)}},
        {"empty port",
         {kMac, kIp, "/port:"},
         {"message  is not a valid Port", "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"port messages in argument order",
         {kMac, kIp, "/port:a", "/port:0"},
         {"message a is not a valid Port", "message " + kOutOfRange, "close"},
         Expected{kIp, 26354, Magic(kMac)}},
        {"password then port in one argument",
         {kMac, kIp, "/pw:x/port:80"},
         {"close"},
         Expected{kIp, 80, Magic(kMac, "x/port:80")}},
        {"port then password in one argument",
         {kMac, kIp, "/port:80/pw:x"},
         {"message 80/pw:x is not a valid Port", "close"},
         Expected{kIp, 26354, Magic(kMac, "x")}},
    };
    for (const Row& row : rows) {
        Check(row);
    }
}

TEST(CommandLineWake, AddressesAreReportedAfterThePortMessages) {
    const Row rows[] = {
        {"bad MAC", {"00:11:22:33:44:55", kIp}, {"message Invalid MAC-Address"}, std::nullopt},
        {"bad IP", {kMac, "192.168.0.0"}, {"message Invalid IP-Address"}, std::nullopt},
        {"both bad", {"bad", "bad"}, {"message Invalid IP-Address"}, std::nullopt},
        {"bad MAC after a port message",
         {"bad", kIp, "/port:abc"},
         {"message abc is not a valid Port", "message Invalid MAC-Address"},
         std::nullopt},
        {"bad IP after an out-of-range port",
         {kMac, "1.2.3", "/port:0", "/pw:x"},
         {"message " + kOutOfRange, "message Invalid IP-Address"},
         std::nullopt},
        {"character before the address",
         {"a00-11-22-33-44-55", kIp},
         {"close"},
         Expected{kIp, 26354, Magic("a0-01-12-23-34-45")}},
        {"unicast address",
         {kMac, "127.0.0.1"},
         {"close"},
         Expected{"127.0.0.1", 26354, Magic(kMac)}},
    };
    for (const Row& row : rows) {
        Check(row);
    }
}

TEST(CommandLineWake, ConversionErrorPropagatesAndNothingIsSent) {
    ScopedRecordingStack stack;
    TFakeHost host;
    try {
        host.Run({"x00-11-22-33-44-55", kIp, "/port:abc"});
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'$x0' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(host.events, std::vector<std::string>{"message abc is not a valid Port"});
    EXPECT_TRUE(stack.Sent().empty());
}

TEST(CommandLineWake, SendFailurePropagatesAndTheWindowStays) {
    ScopedRecordingStack stack;
    stack.FailSendsWith(10013);
    TFakeHost host;
    try {
        host.Run({kMac, kIp});
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 10013);
    }
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(stack.Sent().empty());
}

// Anything may arrive as an argument: empty, huge, zero bytes, bytes above 127. The decision
// must end with a message, a send, or an exception of ours; never a crash or a hang.
TEST(CommandLineWake, AnyTextIsSafeInEveryPosition) {
    const std::string texts[] = {
        "",
        std::string(1 << 20, 'A'),
        std::string(1 << 20, '-'),
        std::string("\0\0\0", 3),
        std::string("00-11-22-33-44-55\0", 18),
        "\xC3\xA4\xFF\x80 \x01",
        "/port:" + std::string(1 << 20, '9'),
        "/pw:" + std::string(1 << 20, '\xFF'),
        std::string("/port:\0", 7),
        "/pw:/port:/pw:/port:",
    };
    for (size_t position = 0; position < 4; ++position) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::to_string(position) + ": " + text.substr(0, 20));
            std::vector<std::string> arguments{kMac, kIp, "/pw:x", "/port:9"};
            arguments[position] = text;
            ScopedRecordingStack stack;
            TFakeHost host;
            try {
                host.Run(arguments);
            } catch (const Exception&) {
                EXPECT_TRUE(stack.Sent().empty());
                continue;
            }
            const bool closed = !host.events.empty() && host.events.back() == "close";
            EXPECT_EQ(stack.Sent().size(), closed ? 1u : 0u);
        }
    }
}

}  // namespace
