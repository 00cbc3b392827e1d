#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "support/FakeMainWindow.h"
#include "support/RecordingStack.h"
#include "ui/Unit1.h"
#include "wake/CommandLineArgs.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kMac = "00-11-22-33-44-55";
const std::string kIp = "192.168.0.255";
const Lines kSentLog = {"MagicPaket sent to:", "Device: 00-11-22-33-44-55",
                        "BCast Domain: 192.168.0.255"};

std::string PacketFor(const std::string& macBytes, const std::string& password = "") {
    std::string packet(6, '\xFF');
    for (int i = 0; i < 16; ++i) {
        packet += macBytes;
    }
    return packet + password;
}
const std::string kMacBytes("\x00\x11\x22\x33\x44\x55", 6);
const std::string kPacket = PacketFor(kMacBytes);

struct PowerOnFixture : ::testing::Test {
    ScopedRecordingStack stack;
    FakeMainWindow window;

    void Fill(const std::string& mac, const std::string& ip, const std::string& password = "",
              const std::string& port = "26354") {
        window.mac = mac;
        window.ip = ip;
        window.password = password;
        window.port = port;
    }
};

TEST_F(PowerOnFixture, AddressChecksShowOneMessageAndSendNothing) {
    struct Case {
        std::string mac;
        std::string ip;
        std::string message;
    };
    const Case cases[] = {
        {"", "", "Invalid IP-Address"},
        {kMac, "", "Invalid IP-Address"},
        {"", kIp, "Invalid MAC-Address"},
        {"00-11-22-33-44", kIp, "Invalid MAC-Address"},
        {"bad", "192.168.0.256", "Invalid IP-Address"},
        {kMac, "192.168.0.0", "Invalid IP-Address"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mac + " / " + c.ip);
        window.ClearJournal();
        Fill(c.mac, c.ip, "pw", "abc");
        PowerOn(window);
        EXPECT_EQ(window.Journal(), (Lines{"clear", "message: " + c.message}));
    }
    EXPECT_TRUE(stack.Sent().empty());
}

TEST_F(PowerOnFixture, SendsThePacketAndLogsThreeLines) {
    Fill(kMac, kIp);
    PowerOn(window);
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].address, kIp);
    EXPECT_EQ(stack.Sent()[0].port, 26354);
    EXPECT_EQ(stack.Sent()[0].data.size(), 102u);
    EXPECT_EQ(stack.Sent()[0].data, kPacket);
    EXPECT_TRUE(window.Messages().empty());
    EXPECT_EQ(window.Log(), kSentLog);
    EXPECT_EQ(window.Journal().front(), "clear");
    EXPECT_EQ(window.UdpClient().Host(), kIp);
    EXPECT_EQ(window.UdpClient().Port(), 26354);
}

TEST_F(PowerOnFixture, PasswordIsAppendedAndMentionedButNeverLogged) {
    Fill(kMac, kIp, "s3cret!");
    PowerOn(window);
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].data, PacketFor(kMacBytes, "s3cret!"));
    Lines expected = kSentLog;
    expected.push_back("Sent with WOL Password");
    EXPECT_EQ(window.Log(), expected);
}

TEST(PowerOn, PortFieldIsConvertedWithoutRangeCheck) {
    struct Case {
        std::string portText;
        int32_t port;       // what the client is given
        uint16_t wirePort;  // the low 16 bits of it
        Lines messages;
    };
    const std::string suffix = " is not a valid integer value.\r\nNow using default Port udp/26354";
    const Case cases[] = {
        {"26354", 26354, 26354, {}},
        {"9", 9, 9, {}},
        {"$1F90", 8080, 8080, {}},
        {"0x1F90", 8080, 8080, {}},
        {"  80", 80, 80, {}},
        {"70000", 70000, 4464, {}},
        {"-1", -1, 65535, {}},
        {"abc", 26354, 26354, {"abc" + suffix}},
        {"", 26354, 26354, {suffix}},
        {"80 ", 26354, 26354, {"80 " + suffix}},
        {"99999999999", 26354, 26354, {"99999999999" + suffix}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("port field [" + c.portText + "]");
        ScopedRecordingStack recording;
        FakeMainWindow fresh;
        fresh.mac = kMac;
        fresh.ip = kIp;
        fresh.port = c.portText;
        PowerOn(fresh);
        EXPECT_EQ(fresh.Messages(), c.messages);
        ASSERT_EQ(recording.Sent().size(), 1u);
        EXPECT_EQ(fresh.UdpClient().Port(), c.port);
        EXPECT_EQ(recording.Sent()[0].port, c.wirePort);
        EXPECT_EQ(fresh.Log(), kSentLog);
    }
}

TEST_F(PowerOnFixture, PortMessageComesBeforeTheSendAndTheLog) {
    Fill(kMac, kIp, "", "abc");
    PowerOn(window);
    EXPECT_EQ(window.Journal(),
              (Lines{"clear", "message: " + PortFieldMessage("abc"), "log: " + kSentLog[0],
                     "log: " + kSentLog[1], "log: " + kSentLog[2]}));
    EXPECT_EQ(PortFieldMessage("abc"),
              "abc is not a valid integer value.\r\nNow using default Port udp/26354");
}

TEST_F(PowerOnFixture, SecondPressClearsTheFirstLog) {
    Fill(kMac, kIp, "pw");
    PowerOn(window);
    ASSERT_EQ(window.Log().size(), 4u);
    Fill(kMac, kIp);
    PowerOn(window);
    EXPECT_EQ(window.Log(), kSentLog);
    Fill(kMac, "");
    PowerOn(window);
    EXPECT_TRUE(window.Log().empty());
}

TEST_F(PowerOnFixture, BuildFailurePropagatesBeforeThePortIsRead) {
    // The check finds the address anywhere in the text; the leading x is not a hex digit.
    Fill("x00-11-22-33-44-55", kIp, "", "abc");
    window.AddLogLine("old line");
    try {
        PowerOn(window);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "'$x0' ist kein gültiger Integerwert");
    }
    EXPECT_TRUE(window.Messages().empty());  // the port message would come after the build
    EXPECT_TRUE(window.Log().empty());
    EXPECT_TRUE(stack.Sent().empty());
}

TEST_F(PowerOnFixture, LeadingCharacterShiftsTheAddressPairs) {
    Fill("a00-11-22-33-44-55", kIp);
    PowerOn(window);
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].data, PacketFor("\xA0\x01\x12\x23\x34\x45"));
    EXPECT_EQ(window.Log()[1], "Device: a00-11-22-33-44-55");
}

TEST_F(PowerOnFixture, SendFailurePropagatesAndNothingIsLogged) {
    Fill(kMac, kIp, "", "abc");
    stack.FailSendsWith(10013);
    EXPECT_THROW(PowerOn(window), Exception);
    EXPECT_EQ(window.Messages(), Lines{PortFieldMessage("abc")});
    EXPECT_TRUE(window.Log().empty());
    EXPECT_EQ(window.Journal().front(), "clear");
}

// FormShow hands the split process command line to the command-line decision.
TEST_F(PowerOnFixture, QuotedCommandLineArgumentsReachTheWake) {
    StartFromCommandLine(window,
                         CommandLineArguments("\"C:\\Corvane\\corvane.exe\" \"\" 00-11-22-33-44-55 "
                                              "192.168.0.255 \"/pw:a b\" /port:9"));
    ASSERT_EQ(stack.Sent().size(), 1u);
    EXPECT_EQ(stack.Sent()[0].port, 9);
    EXPECT_EQ(stack.Sent()[0].data, PacketFor(kMacBytes, "a b"));
    EXPECT_EQ(window.Journal(), Lines{"close"});
}

TEST(StartFromCommandLine, ClosesTheWindowOnlyAfterASend) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        Lines journal;
    } rows[] = {
        {"banner", {}, {"log: CorVane 1.0a", "log: ------------------------"}},
        {"usage", {kMac}, {"message: " + kUsageMessage}},
        {"check failed", {kMac, "1.2.3"}, {"message: Invalid IP-Address"}},
        {"sent", {kMac, kIp, "/pw:x"}, {"close"}},  // a command-line send logs nothing
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedRecordingStack recording;
        FakeMainWindow window;
        StartFromCommandLine(window, row.arguments);
        EXPECT_EQ(window.Journal(), row.journal);
    }

    ScopedRecordingStack recording;
    recording.FailSendsWith(10013);
    FakeMainWindow window;
    EXPECT_THROW(StartFromCommandLine(window, {kMac, kIp}), Exception);
    EXPECT_TRUE(window.Journal().empty());  // the window stays open
}

TEST(HelpFilePath, KeepsTheDirectoryUpToTheLastSeparator) {
    struct Case {
        std::string exePath;
        std::string helpPath;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Corvane\\corvane.exe", "C:\\Program Files\\Corvane\\help/index.html"},
        {"Z:\\work\\build\\corvane.exe", "Z:\\work\\build\\help/index.html"},
        {"C:corvane.exe", "C:help/index.html"},
        {"\\\\server\\share\\corvane.exe", "\\\\server\\share\\help/index.html"},
        {"corvane.exe", "help/index.html"},
        {"C:\\a:b\\c", "C:\\a:b\\help/index.html"},
        {"C:\\dir.with:colon", "C:\\dir.with:help/index.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exePath);
        EXPECT_EQ(HelpFilePath(c.exePath), c.helpPath);
    }
}

}  // namespace
