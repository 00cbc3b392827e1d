#pragma once

#include <cstdint>

#include "platform/Platform.h"

// A clock that moves only when told; installs itself for its lifetime.
class FakeClock : public TClock {
public:
    FakeClock() { SetClock(this); }
    ~FakeClock() override { SetClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    int64_t NowMs() override { return nowMs_; }
    int64_t UtcTimeOfDayMs() override { return timeOfDayMs_; }

    void Advance(int64_t ms) {
        nowMs_ += ms;
        timeOfDayMs_ = (timeOfDayMs_ + ms) % (24 * 60 * 60 * 1000);
    }
    void SetUtcTimeOfDayMs(int64_t ms) { timeOfDayMs_ = ms; }

private:
    int64_t nowMs_ = 0;
    int64_t timeOfDayMs_ = 0;
};
