#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

// A timer that fires only when a test calls Fire().
class FakeTimer : public TPlatformTimer {
public:
    ~FakeTimer() override;
    void Start(uint32_t intervalMs) override;
    void Stop() override { running_ = false; }

    bool Running() const { return running_; }
    uint32_t IntervalMs() const { return intervalMs_; }
    int32_t Starts() const { return starts_; }
    bool Destroyed() const { return destroyed_; }
    // Runs onTimer once if the timer is running.
    void Fire();

private:
    friend class FakeTimers;
    bool running_ = false;
    uint32_t intervalMs_ = 0;
    int32_t starts_ = 0;
    bool destroyed_ = false;
    class FakeTimers* owner_ = nullptr;
};

// Installs a timer factory that makes FakeTimers for its lifetime and keeps track of them.
class FakeTimers {
public:
    FakeTimers();
    ~FakeTimers();
    FakeTimers(const FakeTimers&) = delete;
    FakeTimers& operator=(const FakeTimers&) = delete;

    // Every timer made so far that still exists, oldest first.
    const std::vector<FakeTimer*>& Timers() const { return timers_; }
    // Fires every running timer once.
    void FireAll();

private:
    friend class FakeTimer;
    std::vector<FakeTimer*> timers_;
};
