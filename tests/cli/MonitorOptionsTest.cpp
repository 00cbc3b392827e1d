#include <gtest/gtest.h>

#include "cli/MonitorOptions.h"

namespace {

TEST(MonitorOptions, ReadsEveryOption) {
    const struct {
        std::vector<std::string> arguments;
        int32_t port;
        int64_t count;
        int64_t timeoutMillis;
    } rows[] = {
        {{}, 26354, 0, 0},
        {{"--port", "9"}, 9, 0, 0},
        {{"--port=65535", "--count=3"}, 65535, 3, 0},
        {{"--count", "1", "--timeout", "5"}, 26354, 1, 5000},
        {{"--timeout", "0.25"}, 26354, 0, 250},
        {{"--timeout", ".5"}, 26354, 0, 500},
        {{"--timeout", "1.0009"}, 26354, 0, 1000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.empty() ? "" : row.arguments[0]);
        TMonitorOptions options;
        std::string error;
        ASSERT_TRUE(ParseMonitorOptions(row.arguments, options, error)) << error;
        EXPECT_EQ(options.port, row.port);
        EXPECT_EQ(options.count, row.count);
        EXPECT_EQ(options.timeoutMillis, row.timeoutMillis);
    }
}

TEST(MonitorOptions, RejectsBadOptionsWithAReason) {
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {{"--port"}, "option --port needs a value"},
        {{"--port", "0"}, "--port needs a number from 1 to 65535, not '0'"},
        {{"--port", "65536"}, "--port needs a number from 1 to 65535, not '65536'"},
        {{"--port", "-1"}, "--port needs a number from 1 to 65535, not '-1'"},
        {{"--port", "9x"}, "--port needs a number from 1 to 65535, not '9x'"},
        {{"--count", "0"}, "--count needs a positive number, not '0'"},
        {{"--count", std::string(1 << 20, '9')},
         "--count needs a positive number, not '" + std::string(1 << 20, '9') + "'"},
        {{"--timeout", "0"}, "--timeout needs a positive number of seconds, not '0'"},
        {{"--timeout", "."}, "--timeout needs a positive number of seconds, not '.'"},
        {{"--timeout", "1.2.3"}, "--timeout needs a positive number of seconds, not '1.2.3'"},
        {{"--timeout", ""}, "--timeout needs a positive number of seconds, not ''"},
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"9"}, "unknown option '9'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error.substr(0, 60));
        TMonitorOptions options;
        std::string error;
        EXPECT_FALSE(ParseMonitorOptions(row.arguments, options, error));
        EXPECT_EQ(error, row.error);
    }
}

TEST(MonitorOptions, HelpIsAnOption) {
    TMonitorOptions options;
    std::string error;
    EXPECT_TRUE(ParseMonitorOptions({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

}  // namespace
