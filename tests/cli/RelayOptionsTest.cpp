#include <gtest/gtest.h>

#include "base/DottedText.h"
#include "cli/RelayOptions.h"

namespace {

TEST(RelayOptions, ReadsEveryOption) {
    TRelayOptions defaults;
    std::string error;
    ASSERT_TRUE(ParseRelayOptions({"--to", "10.0.2.255"}, defaults, error)) << error;
    EXPECT_EQ(defaults.port, 26354);
    EXPECT_EQ(defaults.listen, 0u);
    EXPECT_EQ(defaults.windowMillis, 2000);
    EXPECT_EQ(defaults.rate, 20);
    EXPECT_EQ(defaults.count, 0);
    EXPECT_EQ(defaults.timeoutMillis, 0);
    ASSERT_EQ(defaults.targets.size(), 1u);
    EXPECT_EQ(DottedAddressText(defaults.targets[0].address), "10.0.2.255");
    EXPECT_EQ(defaults.targets[0].port, 9);

    TRelayOptions options;
    ASSERT_TRUE(ParseRelayOptions({"--port=9",     "--listen",    "10.0.1.1",  "--to",
                                   "10.0.2.255:7", "--interface", "eth1",      "--to=10.0.3.255",
                                   "--allow",      "10.8.0.0/16", "--allow",   "10.0.1.5",
                                   "--window",     "0.5",         "--rate",    "10000",
                                   "--count",      "3",           "--timeout", "1.25"},
                                  options, error))
        << error;
    EXPECT_EQ(options.port, 9);
    EXPECT_EQ(DottedAddressText(options.listen), "10.0.1.1");
    ASSERT_EQ(options.targets.size(), 3u);
    EXPECT_EQ(options.targets[0].port, 7);
    EXPECT_EQ(options.targets[1].interfaceName, "eth1");
    EXPECT_EQ(options.targets[1].port, 9);
    EXPECT_EQ(DottedAddressText(options.targets[2].address), "10.0.3.255");
    ASSERT_EQ(options.allow.size(), 2u);
    EXPECT_EQ(options.allow[1].prefix, 32u);
    EXPECT_EQ(options.windowMillis, 500);
    EXPECT_EQ(options.rate, 10000);
    EXPECT_EQ(options.count, 3);
    EXPECT_EQ(options.timeoutMillis, 1250);

    for (const char* zero : {"0", "0.0", ".000"}) {
        SCOPED_TRACE(zero);
        TRelayOptions off;
        ASSERT_TRUE(ParseRelayOptions({"--to", "10.0.2.255", "--window", zero}, off, error));
        EXPECT_EQ(off.windowMillis, 0);
    }
    TRelayOptions help;
    EXPECT_TRUE(ParseRelayOptions({"--help"}, help, error)) << "help needs no destination";
    EXPECT_TRUE(help.help);
}

TEST(RelayOptions, RejectsBadOptionsWithAReason) {
    const std::string to =
        "--to needs an IPv4 address with an optional port from 1 to 65535 "
        "(ADDRESS[:PORT]), not '";
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {{}, "at least one destination is needed: --to ADDRESS[:PORT] or --interface NAME"},
        {{"--port", "9"},
         "at least one destination is needed: --to ADDRESS[:PORT] or --interface NAME"},
        {{"--to"}, "option --to needs a value"},
        {{"--to", "10.0.2"}, to + "10.0.2'"},
        {{"--to", "10.0.2.255:0"}, to + "10.0.2.255:0'"},
        {{"--to", "10.0.2.255:65536"}, to + "10.0.2.255:65536'"},
        {{"--to", "10.0.2.255:"}, to + "10.0.2.255:'"},
        {{"--to", "router.example"}, to + "router.example'"},
        {{"--interface", ""}, "--interface needs the name of a network interface"},
        {{"--listen", "any"}, "--listen needs an IPv4 address such as 0.0.0.0, not 'any'"},
        {{"--port", "0"}, "--port needs a number from 1 to 65535, not '0'"},
        {{"--allow", "10.0.0.0/33"},
         "--allow needs ADDRESS/PREFIX with a prefix from 0 to 32, not '10.0.0.0/33'"},
        {{"--window", "-1"}, "--window needs a number of seconds from 0 to 3600, not '-1'"},
        {{"--window", "3600.001"},
         "--window needs a number of seconds from 0 to 3600, not '3600.001'"},
        {{"--rate", "0"}, "--rate needs a number from 1 to 10000, not '0'"},
        {{"--rate", "10001"}, "--rate needs a number from 1 to 10000, not '10001'"},
        {{"--count", "0"}, "--count needs a positive number, not '0'"},
        {{"--timeout", "0"}, "--timeout needs a positive number of seconds, not '0'"},
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"10.0.2.255"}, "unknown option '10.0.2.255'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        std::vector<std::string> arguments = row.arguments;
        if (row.error.rfind("at least", 0) != 0 && row.error.rfind("option ", 0) != 0) {
            arguments.insert(arguments.begin(), {"--to", "10.0.2.255"});
        }
        TRelayOptions options;
        std::string error;
        EXPECT_FALSE(ParseRelayOptions(arguments, options, error));
        EXPECT_EQ(error, row.error);
    }
}

}  // namespace
