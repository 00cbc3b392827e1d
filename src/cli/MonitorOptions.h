#pragma once

#include <cstdint>
#include <string>
#include <vector>

// corvane-monitor [--port N] [--count N] [--timeout SECONDS]
struct TMonitorOptions {
    int32_t port = 26354;
    int64_t count = 0;          // datagrams to wait for; 0 = no limit
    int64_t timeoutMillis = 0;  // 0 = wait for ever
    bool help = false;
};

// Exit statuses of the monitor.
constexpr int kMonitorCountReached = 0;
constexpr int kMonitorTimedOut = 1;
constexpr int kMonitorBadOptions = 2;
constexpr int kMonitorSocketError = 3;

extern const char kMonitorUsage[];

// Reads the arguments after the program name. Options take their value as the next argument
// or after '=' (--port=9). On failure `error` says what is wrong and false is returned.
bool ParseMonitorOptions(const std::vector<std::string>& arguments, TMonitorOptions& options,
                         std::string& error);
