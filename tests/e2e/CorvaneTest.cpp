// corvane and corvane-monitor run as a user runs them, with a receiver on the loopback network.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "ChildProcess.h"
#include "support/LoopbackReceiver.h"
#include "wake/CommandLineWake.h"
#include "wake/WakeRequest.h"

namespace {

const std::string kMac = "00-11-22-33-44-55";
const std::string kSent = "MagicPaket sent to:\nDevice: ";

std::string SentLines(const std::string& mac, const std::string& ip, bool password = false) {
    return kSent + mac + "\nBCast Domain: " + ip + "\n" +
           (password ? "Sent with WOL Password\n" : "");
}

std::string Hex(uint16_t value, const char* prefix) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%X", prefix, value);
    return text;
}

ProgramResult Corvane(const std::vector<std::string>& arguments) {
    return RunProgram(BuildProgram("corvane"), arguments);
}

// A port nobody listens on right now (for the monitor, which binds it itself).
uint16_t FreePort() {
    LoopbackReceiver probe("0.0.0.0", 0);
    return probe.Port();
}

struct SendRow {
    const char* name;
    std::vector<std::string> arguments;  // "{port}" is replaced by the receiver's port
    std::string out;
    std::string err;
    std::string data;
};

void RunSendRows(const std::string& bindAddress, const std::vector<SendRow>& rows) {
    for (const SendRow& row : rows) {
        SCOPED_TRACE(row.name);
        LoopbackReceiver receiver(bindAddress, 0);
        std::vector<std::string> arguments = row.arguments;
        for (std::string& argument : arguments) {
            const size_t at = argument.find("{port}");
            if (at != std::string::npos) {
                argument.replace(at, 6, std::to_string(receiver.Port()));
            }
        }
        const ProgramResult result = Corvane(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, row.out);
        EXPECT_EQ(result.err, row.err);
        const auto datagram = receiver.Receive();
        ASSERT_TRUE(datagram.has_value());
        EXPECT_EQ(datagram->data, row.data);
        EXPECT_EQ(datagram->address, "127.0.0.1");
    }
}

TEST(CorvaneEndToEnd, SendsTheMagicPacket) {
    const std::string ip = "127.0.0.1";
    const std::string magic = BuildMagicPacket(kMac, "");
    RunSendRows(
        "127.0.0.1",
        {
            {"two arguments and a port",
             {kMac, ip, "/port:{port}"},
             SentLines(kMac, ip),
             "",
             magic},
            {"password",
             {kMac, ip, "/pw:abc", "/port:{port}"},
             SentLines(kMac, ip, true),
             "",
             BuildMagicPacket(kMac, "abc")},
            {"empty password", {kMac, ip, "/pw:", "/port:{port}"}, SentLines(kMac, ip), "", magic},
            {"invalid port keeps the earlier one",
             {kMac, ip, "/port:{port}", "/port:abc"},
             SentLines(kMac, ip),
             "abc is not a valid Port\n",
             magic},
            {"character before the address",
             {"a00-11-22-33-44-55", ip, "/port:{port}"},
             SentLines("a00-11-22-33-44-55", ip),
             "",
             BuildMagicPacket("a0-01-12-23-34-45", "")},
        });
}

TEST(CorvaneEndToEnd, PortInHexadecimalAndPasswordInOneArgument) {
    const std::string ip = "127.0.0.1";
    for (const char* prefix : {"$", "0x", "0X", "x"}) {
        SCOPED_TRACE(prefix);
        LoopbackReceiver receiver("127.0.0.1", 0);
        const ProgramResult result = Corvane({kMac, ip, "/port:" + Hex(receiver.Port(), prefix)});
        EXPECT_EQ(result.status, 0);
        const auto datagram = receiver.Receive();
        ASSERT_TRUE(datagram.has_value());
        EXPECT_EQ(datagram->data, BuildMagicPacket(kMac, ""));
    }
    LoopbackReceiver receiver("127.0.0.1", 0);
    const std::string port = std::to_string(receiver.Port());
    const ProgramResult result = Corvane({kMac, ip, "/pw:x/port:" + port});
    EXPECT_EQ(result.status, 0);
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, BuildMagicPacket(kMac, "x/port:" + port));
}

TEST(CorvaneEndToEnd, LoopbackBroadcast) {
    LoopbackReceiver receiver("0.0.0.0", 0);
    const std::string ip = "127.255.255.255";
    const ProgramResult result =
        Corvane({kMac, ip, "/port:" + std::to_string(receiver.Port()), "/pw:\xFF\x01"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, SentLines(kMac, ip, true));
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data, BuildMagicPacket(kMac, "\xFF\x01"));
}

TEST(CorvaneEndToEnd, DefaultPortAndOutOfRangePorts) {
    if (!LoopbackReceiver::PortIsFree("127.0.0.1", kDefaultPort)) {
        GTEST_SKIP() << "port 26354 is in use on this machine";
    }
    LoopbackReceiver receiver("127.0.0.1", kDefaultPort);
    const std::string outOfRange =
        "Portnumber out of range (1..65535) - using default port 26354\n";
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } rows[] = {
        {{kMac, "127.0.0.1"}, ""},
        {{kMac, "127.0.0.1", "/port:0"}, outOfRange},
        {{kMac, "127.0.0.1", "/port:70000"}, outOfRange},
        {{kMac, "127.0.0.1", "/port:"}, " is not a valid Port\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.back());
        const ProgramResult result = Corvane(row.arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, row.err);
        const auto datagram = receiver.Receive();
        ASSERT_TRUE(datagram.has_value());
        EXPECT_EQ(datagram->data, BuildMagicPacket(kMac, ""));
    }
}

TEST(CorvaneEndToEnd, NothingIsSentOnBadInput) {
    const std::string usage = kUsageMessage + "\n";
    const std::string ip = "127.0.0.1";
    const std::string huge(100000, 'p');  // one argument may hold at most 128 KiB
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    } rows[] = {
        {"no arguments", {}, 2, "CorVane 1.0a\n------------------------\n", usage},
        {"one argument", {kMac}, 2, "", usage},
        {"five arguments", {kMac, ip, "/pw:a", "/port:1", "x"}, 2, "", usage},
        {"help", {"--help"}, 2, "", usage},
        {"invalid MAC", {"00:11:22:33:44:55", ip}, 1, "", "Invalid MAC-Address\n"},
        {"invalid MAC and IP", {"x", "1.2.3.0"}, 1, "", "Invalid IP-Address\n"},
        {"invalid MAC after a port message",
         {"x", ip, "/port:abc"},
         1,
         "",
         "abc is not a valid Port\nInvalid MAC-Address\n"},
        {"MAC that cannot be read",
         {"x00-11-22-33-44-55", ip},
         1,
         "",
         "'$x0' ist kein gültiger Integerwert.\n"},
        {"password too long for a datagram",
         {kMac, ip, "/pw:" + huge},
         1,
         "",
         "Package Size Too Big.\n"},
        {"huge MAC", {huge, ip}, 1, "", "Invalid MAC-Address\n"},
        {"huge IP", {kMac, huge}, 1, "", "Invalid IP-Address\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The row goes to the receiver's port where the argument count leaves room; a good send
        // after it must then be the first datagram that arrives.
        LoopbackReceiver receiver("127.0.0.1", 0);
        const std::string port = "/port:" + std::to_string(receiver.Port());
        std::vector<std::string> arguments = row.arguments;
        const bool aimed = arguments.size() >= 2 && arguments.size() < 4;
        if (aimed) {
            arguments.push_back(port);
        }
        const ProgramResult result = Corvane(arguments);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.out, row.out);
        EXPECT_EQ(result.err, row.err);
        if (aimed) {
            ASSERT_EQ(Corvane({kMac, ip, "/pw:marker", port}).status, 0);
            const auto datagram = receiver.Receive();
            ASSERT_TRUE(datagram.has_value());
            EXPECT_EQ(datagram->data, BuildMagicPacket(kMac, "marker"));
        }
    }
}

TEST(MonitorEndToEnd, PrintsOneLinePerDatagramAndStopsAtTheCount) {
    const std::string port = std::to_string(FreePort());
    ChildProcess monitor(BuildProgram("corvane-monitor"), {"--port", port, "--count", "2"});
    ASSERT_TRUE(monitor.WaitForErrorText("listening on 0.0.0.0:" + port)) << monitor.Err();
    ASSERT_EQ(Corvane({"aa-BB-cc-DD-ee-FF", "127.255.255.255", "/port:" + port}).status, 0);
    ASSERT_EQ(Corvane({kMac, "127.0.0.1", "/pw:ab", "/port:" + port}).status, 0);
    EXPECT_EQ(monitor.Finish(), 0);

    // The sender's port differs per run: blank it out.
    std::string out = monitor.Out();
    for (size_t at = 0; (at = out.find("127.0.0.1:", at)) != std::string::npos;) {
        at += 10;
        const size_t end = out.find(',', at);
        out.replace(at, end - at, "N");
    }
    EXPECT_EQ(out,
              "from 127.0.0.1:N, 102 bytes: magic packet for aa-bb-cc-dd-ee-ff\n"
              "from 127.0.0.1:N, 104 bytes: magic packet for 00-11-22-33-44-55, password 2 "
              "bytes: 61 62\n");
}

TEST(MonitorEndToEnd, StatusForTimeoutBadOptionsAndHelp) {
    const std::string port = std::to_string(FreePort());
    const ProgramResult timeout = RunProgram(BuildProgram("corvane-monitor"),
                                             {"--port", port, "--count", "1", "--timeout", "0.1"});
    EXPECT_EQ(timeout.status, 1);
    EXPECT_EQ(timeout.out, "");

    const ProgramResult bad = RunProgram(BuildProgram("corvane-monitor"), {"--port", "0"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("corvane-monitor: --port needs a number from 1 to 65535, not '0'\n", 0),
              0u)
        << bad.err;

    const ProgramResult help = RunProgram(BuildProgram("corvane-monitor"), {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: corvane-monitor", 0), 0u);
}

TEST(MonitorEndToEnd, PortInUseIsAnError) {
    LoopbackReceiver holder("0.0.0.0", 0);
    const ProgramResult result =
        RunProgram(BuildProgram("corvane-monitor"), {"--port", std::to_string(holder.Port())});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("cannot listen on 0.0.0.0:"), std::string::npos) << result.err;
}

TEST(RelayEndToEnd, StatusForTimeoutBadOptionsAndSetupErrors) {
    const std::string relay = BuildProgram("corvane-relay");
    const std::string port = std::to_string(FreePort());
    const ProgramResult timeout =
        RunProgram(relay, {"--port", port, "--to", "127.0.0.1:9", "--timeout", "0.1"});
    EXPECT_EQ(timeout.status, 1);
    EXPECT_EQ(timeout.out, "");
    EXPECT_EQ(timeout.err,
              "corvane-relay: listening on 0.0.0.0:" + port + ", forwarding to 127.0.0.1:9\n");

    const ProgramResult bad = RunProgram(relay, {"--to", "127.0.0.1:0"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.find("usage: corvane-relay"), bad.err.find('\n') + 1) << bad.err;

    LoopbackReceiver holder("127.0.0.1", 0);
    const std::string held = std::to_string(holder.Port());
    const ProgramResult inUse =
        RunProgram(relay, {"--listen", "127.0.0.1", "--port", held, "--to", "127.0.0.1:9"});
    EXPECT_EQ(inUse.status, 3);
    EXPECT_EQ(inUse.err, "corvane-relay: cannot listen on 127.0.0.1:" + held +
                             ": Socket Error # 10048: Address already in use.\n");

    const ProgramResult noInterface = RunProgram(relay, {"--interface", "no-such-if0"});
    EXPECT_EQ(noInterface.status, 3);
    EXPECT_EQ(noInterface.err, "corvane-relay: no interface 'no-such-if0' with an IPv4 address\n");
}

}  // namespace
