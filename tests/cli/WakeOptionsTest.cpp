#include <gtest/gtest.h>

#include "base/DottedText.h"
#include "cli/WakeOptions.h"

namespace {

TWakeOptions Parsed(const std::vector<std::string>& arguments) {
    TWakeOptions options;
    std::string error;
    EXPECT_TRUE(ParseWakeOptions(arguments, options, error)) << error;
    return options;
}

TEST(WakeOptions, ReadsTheSendingForm) {
    const TWakeOptions defaults = Parsed({"nas"});
    EXPECT_EQ(defaults.mode, TWakeMode::Send);
    EXPECT_FALSE(defaults.wait);
    EXPECT_EQ(defaults.timeoutMs, 120000);
    EXPECT_EQ(defaults.resendMs, 10000);
    EXPECT_EQ(defaults.delayMs, 0);
    EXPECT_EQ(defaults.targetOptions.port, 0);
    EXPECT_EQ(defaults.targets, std::vector<std::string>{"nas"});

    const TWakeOptions options = Parsed(
        {"--hosts",           "h",      "--wait", "--timeout=1.5", "--resend",          "0",
         "--delay",           "250",    "--to",   "10.0.0.5",      "--to=10.0.1.255:9", "--address",
         "10.0.0.7/24",       "--port", "7",      "--check",       "icmp,tcp:445",      "--json",
         "00-11-22-33-44-55", "@lab",   "all"});
    EXPECT_EQ(options.hostsPath, "h");
    EXPECT_TRUE(options.wait);
    EXPECT_TRUE(options.json);
    EXPECT_EQ(options.timeoutMs, 1500);
    EXPECT_EQ(options.resendMs, 0);
    EXPECT_EQ(options.delayMs, 250);
    const TTargetOptions& target = options.targetOptions;
    ASSERT_EQ(target.to.size(), 2u);
    EXPECT_EQ(DottedAddressText(target.to[0].address), "10.0.0.5");
    EXPECT_EQ(target.to[0].port, 0) << "no port: --port or the host's decides later";
    EXPECT_EQ(target.to[1].port, 9);
    EXPECT_TRUE(target.hasAddress);
    EXPECT_EQ(DottedAddressText(target.address), "10.0.0.7");
    EXPECT_EQ(target.prefix, 24);
    EXPECT_EQ(target.port, 7);
    EXPECT_TRUE(target.checksGiven);
    EXPECT_EQ(target.checks.size(), 2u);
    EXPECT_EQ(options.targets, (std::vector<std::string>{"00-11-22-33-44-55", "@lab", "all"}));
    EXPECT_EQ(Parsed({"--wait", "--resend", "2.5", "x"}).resendMs, 2500);
    EXPECT_EQ(Parsed({"--address", "10.0.0.7", "00:11:22:33:44:55"}).targetOptions.prefix, -1);
}

TEST(WakeOptions, ReadsStatusListAndLearn) {
    const TWakeOptions status = Parsed({"--status", "--json", "--address", "10.0.0.7", "--check",
                                        "tcp:22", "nas", "00-11-22-33-44-55"});
    EXPECT_EQ(status.mode, TWakeMode::Status);
    EXPECT_EQ(status.timeoutMs, 3000);
    EXPECT_TRUE(status.json);

    const TWakeOptions list = Parsed({"--hosts", "h", "--list"});
    EXPECT_EQ(list.mode, TWakeMode::List);
    EXPECT_TRUE(list.targets.empty()) << "every host by default";

    const TWakeOptions learn = Parsed({"--learn", "nas", "192.0.2.10/24", "--timeout", "5"});
    EXPECT_EQ(learn.mode, TWakeMode::Learn);
    EXPECT_EQ(learn.learnName, "nas");
    EXPECT_EQ(DottedAddressText(learn.learnAddress), "192.0.2.10");
    EXPECT_EQ(learn.learnPrefix, 24);
    EXPECT_EQ(learn.timeoutMs, 5000);
    EXPECT_TRUE(learn.targets.empty());
    EXPECT_EQ(Parsed({"--learn", "nas", "192.0.2.10"}).learnPrefix, -1);
    EXPECT_EQ(Parsed({"--learn", "nas", "192.0.2.10"}).timeoutMs, 3000);

    EXPECT_TRUE(Parsed({"--help"}).help) << "help needs no target";
    EXPECT_EQ(Parsed({"--", "--odd-name"}).targets, std::vector<std::string>{"--odd-name"});
}

TEST(WakeOptions, RefusesBadUsageWithOneLine) {
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {{}, "no TARGET given: a host name, @GROUP, all or a MAC address"},
        {{"--wait"}, "no TARGET given: a host name, @GROUP, all or a MAC address"},
        {{"--bogus", "nas"}, "unknown option '--bogus'"},
        {{"--wait=yes", "nas"}, "option --wait takes no value"},
        {{"nas", "--timeout"}, "option --timeout needs a value"},
        {{"--wait", "--resend", "1", "nas"},
         "--resend needs 0 (never) or a number of seconds above 2, not '1' (relays drop "
         "repeats within 2 s)"},
        {{"--wait", "--resend", "2", "nas"},
         "--resend needs 0 (never) or a number of seconds above 2, not '2' (relays drop "
         "repeats within 2 s)"},
        {{"--wait", "--resend", "0.5", "nas"},
         "--resend needs 0 (never) or a number of seconds above 2, not '0.5' (relays drop "
         "repeats within 2 s)"},
        {{"--wait", "--timeout", "0", "nas"},
         "--timeout needs a positive number of seconds, not '0'"},
        {{"--timeout", "5", "nas"}, "--timeout needs --wait"},
        {{"--resend", "5", "nas"}, "--resend needs --wait"},
        {{"--delay", "-1", "nas"},
         "--delay needs a number of milliseconds from 0 to 3600000, not '-1'"},
        {{"--delay", "3600001", "nas"},
         "--delay needs a number of milliseconds from 0 to 3600000, not '3600001'"},
        {{"--port", "0", "nas"}, "--port needs a number from 1 to 65535, not '0'"},
        {{"--to", "10.0.0.300", "00-11-22-33-44-55"},
         "--to needs an IPv4 address with an optional port from 1 to 65535 (ADDRESS[:PORT]), "
         "not '10.0.0.300'"},
        {{"--to", "10.0.0.3:0", "00-11-22-33-44-55"},
         "--to needs an IPv4 address with an optional port from 1 to 65535 (ADDRESS[:PORT]), "
         "not '10.0.0.3:0'"},
        {{"--address", "10.0.0.3/33", "00-11-22-33-44-55"},
         "--address needs an IPv4 address with an optional prefix from 0 to 32 "
         "(ADDRESS[/PREFIX]), not '10.0.0.3/33'"},
        {{"--check", "tcp:0", "00-11-22-33-44-55"},
         "--check: bad check 'tcp:0' (icmp, tcp:PORT or none)"},
        {{"--hosts=", "nas"}, "--hosts needs the path of a hosts file"},
        {{"--to", "10.0.0.5", "nas", "@lab"},
         "--to applies to MAC address targets only, and none is given"},
        {{"--address", "10.0.0.5", "nas"},
         "--address applies to MAC address targets only, and none is given"},
        {{"--check", "icmp", "all"},
         "--check applies to MAC address targets only, and none is given"},
        {{"--status", "--list"}, "--status, --list and --learn cannot be combined"},
        {{"--status", "--wait", "nas"}, "--wait cannot be used with --status"},
        {{"--status", "--delay", "5", "nas"}, "--delay cannot be used with --status"},
        {{"--list", "--json"}, "--json cannot be used with --list"},
        {{"--list", "--timeout", "3"}, "--timeout cannot be used with --list"},
        {{"--learn", "nas", "--json", "10.0.0.5"}, "--json cannot be used with --learn"},
        {{"--learn", "nas"}, "--learn needs NAME and one ADDRESS[/PREFIX]"},
        {{"--learn", "nas", "10.0.0.5", "10.0.0.6"}, "--learn needs NAME and one ADDRESS[/PREFIX]"},
        {{"--learn", "nas", "10.0.0.5/40"}, "--learn needs NAME and one ADDRESS[/PREFIX]"},
        {{"--learn="}, "--learn needs the NAME of the host to add"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        TWakeOptions options;
        std::string error;
        EXPECT_FALSE(ParseWakeOptions(row.arguments, options, error));
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(WakeOptions, KnowsMacTargets) {
    for (const char* mac : {"00-11-22-33-44-55", "AA:bb:CC:dd:EE:ff"}) {
        EXPECT_TRUE(IsMacTarget(mac)) << mac;
    }
    for (const char* other : {"nas", "@lab", "all", "00-11-22-33-44", "0:1:2:3:4:5",
                              "00-11:22-33-44-55", "00-11-22-33-44-5g"}) {
        EXPECT_FALSE(IsMacTarget(other)) << other;
    }
}

}  // namespace
