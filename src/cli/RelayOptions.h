#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "relay/AllowList.h"
#include "relay/RelayTargets.h"

// corvane-relay [--port N] [--listen ADDRESS] (--to ADDRESS[:PORT] | --interface NAME)...
//               [--allow CIDR]... [--window SECONDS] [--rate N] [--count N] [--timeout SECONDS]
struct TRelayOptions {
    int32_t port = 26354;
    uint32_t listen = 0;                // 0.0.0.0
    std::vector<TRelayTarget> targets;  // in the order given
    std::vector<TCidr> allow;           // empty: every source
    int64_t windowMillis = 2000;        // 0: no repeat check
    int32_t rate = 20;                  // forwards per second
    int64_t count = 0;                  // datagrams to receive; 0 = no limit
    int64_t timeoutMillis = 0;          // 0 = run until stopped
    bool help = false;
};

// Exit statuses of the relay.
constexpr int kRelayCountReached = 0;  // also: stopped with Ctrl-C
constexpr int kRelayTimedOut = 1;
constexpr int kRelayBadOptions = 2;
constexpr int kRelaySetupError = 3;  // cannot listen, or a bad --interface

// The default destination port: the discard port, where adapters commonly listen.
constexpr int32_t kRelayTargetPort = 9;
constexpr int64_t kRelayMaxWindowMillis = 3600 * 1000;
constexpr int32_t kRelayMaxRate = 10000;

extern const char kRelayUsage[];

// Reads the arguments after the program name. Options take their value as the next argument
// or after '=' (--port=9). On failure `error` says what is wrong and false is returned.
bool ParseRelayOptions(const std::vector<std::string>& arguments, TRelayOptions& options,
                       std::string& error);
