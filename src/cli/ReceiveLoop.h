#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/IdStack.h"

// How a receive loop ended.
enum class EReceiveEnd {
    CountReached,
    TimedOut,
    Stopped,
};

struct TReceiveLimits {
    int64_t count = 0;          // datagrams to receive; 0 = no limit
    int64_t timeoutMillis = 0;  // 0 = no deadline
    // The longest single wait; none: a wait lasts until a datagram comes or the deadline.
    std::optional<int32_t> longestWaitMillis;
    // Asked before every wait; empty: nothing stops the loop.
    std::function<bool()> stopRequested;
};

// The line to print for one received datagram.
using TDatagramLine = std::function<std::string(std::string_view data, const std::string& sender,
                                                int32_t senderPort)>;

// Waits and receives on `socket` until the count is reached, the deadline passes or a stop is
// requested, and writes each datagram's line to `out`, flushed at once. An interrupted call and
// an ICMP-reported failure of an earlier send only end that wait or receive; any other failure
// of the stack raises.
EReceiveEnd ReceiveDatagrams(TIdStack& stack, TIdStackSocketHandle socket,
                             const TReceiveLimits& limits, const TDatagramLine& lineFor,
                             std::FILE* out);
