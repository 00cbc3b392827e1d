#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// At most `perSecond` events in any one second: the times of the last `perSecond` events are
// kept in a ring allocated once, and a new event is allowed when the oldest of them lies a
// second or more back. Unlike a token bucket or a counter reset each second, this never lets
// twice the rate through around a boundary.
class TRateLimit {
public:
    explicit TRateLimit(int32_t perSecond);

    // True (and the event counted) when one more event at nowMs stays within the rate. Times
    // must not go backwards between calls.
    bool Allow(int64_t nowMs);

private:
    std::vector<int64_t> times_;
    size_t next_ = 0;   // where the next event goes; once the ring is full, the oldest event
    size_t count_ = 0;  // events in the ring
};
