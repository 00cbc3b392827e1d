#include <gtest/gtest.h>

#include <cstdio>

#include "cli/ConsoleHost.h"
#include "support/RecordingStack.h"

namespace {

const std::string kMac = "00-11-22-33-44-55";
const std::string kIp = "192.168.0.255";
const std::string kSentLines =
    "MagicPaket sent to:\nDevice: " + kMac + "\nBCast Domain: " + kIp + "\n";

std::string ReadAll(std::FILE* stream) {
    std::string text;
    std::rewind(stream);
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        text.append(buffer, got);
    }
    std::fclose(stream);
    return text;
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
    size_t sent;
};

Outcome Wake(const std::vector<std::string>& arguments, int32_t failSendsWith = 0) {
    ScopedRecordingStack stack;
    stack.FailSendsWith(failSendsWith);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunConsoleWake(arguments, out, err);
    return {status, ReadAll(out), ReadAll(err), stack.Sent().size()};
}

TEST(ConsoleHost, StatusAndStreamsForEachOutcome) {
    const std::string usage = kUsageMessage + "\n";
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        Outcome expected;
    } rows[] = {
        {"no arguments", {}, {2, "CorVane 1.0a\n------------------------\n", usage, 0}},
        {"one argument", {kMac}, {2, "", usage, 0}},
        {"five arguments", {kMac, kIp, "a", "b", "c"}, {2, "", usage, 0}},
        {"six arguments", {kMac, kIp, "a", "b", "c", "d"}, {2, "", usage, 0}},
        // One argument is one argument, whatever it says.
        {"help", {"--help"}, {2, "", usage, 0}},
        {"sent", {kMac, kIp}, {0, kSentLines, "", 1}},
        {"sent with password",
         {kMac, kIp, "/pw:secret"},
         {0, kSentLines + "Sent with WOL Password\n", "", 1}},
        {"empty password", {kMac, kIp, "/pw:"}, {0, kSentLines, "", 1}},
        {"port messages, then sent",
         {kMac, kIp, "/port:abc", "/port:0"},
         {0, kSentLines,
          "abc is not a valid Port\nPortnumber out of range (1..65535) - using default port "
          "26354\n",
          1}},
        {"invalid MAC", {"00:11:22:33:44:55", kIp}, {1, "", "Invalid MAC-Address\n", 0}},
        {"invalid IP", {kMac, "1.2.3"}, {1, "", "Invalid IP-Address\n", 0}},
        {"MAC that cannot be read",
         {"x00-11-22-33-44-55", kIp},
         {1, "", "'$x0' ist kein gültiger Integerwert.\n", 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = Wake(row.arguments);
        EXPECT_EQ(outcome.status, row.expected.status);
        EXPECT_EQ(outcome.out, row.expected.out);
        EXPECT_EQ(outcome.err, row.expected.err);
        EXPECT_EQ(outcome.sent, row.expected.sent);
    }
}

TEST(ConsoleHost, SendFailureReportsTheSocketError) {
    const Outcome outcome = Wake({kMac, kIp, "/pw:secret"}, 10013);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.sent, 0u);
    // The exception's message as it is (the socket error's own line break included).
    EXPECT_EQ(outcome.err, "Socket Error # 10013\r\nAccess denied.\n");
}

TEST(ConsoleHost, PasswordIsNeverPrinted) {
    const Outcome outcome = Wake({kMac, kIp, "/pw:hunter2", "/port:x"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ((outcome.out + outcome.err).find("hunter2"), std::string::npos);
}

}  // namespace
