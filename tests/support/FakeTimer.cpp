#include "support/FakeTimer.h"

#include <algorithm>
#include <memory>

FakeTimer::~FakeTimer() {
    if (owner_ != nullptr) {
        auto& timers = owner_->timers_;
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }
}

void FakeTimer::Start(uint32_t intervalMs) {
    intervalMs_ = intervalMs;
    running_ = true;
    ++starts_;
}

void FakeTimer::Fire() {
    if (running_ && onTimer) {
        onTimer();
    }
}

FakeTimers::FakeTimers() {
    SetTimerFactory([this]() -> std::unique_ptr<TPlatformTimer> {
        auto timer = std::make_unique<FakeTimer>();
        timer->owner_ = this;
        timers_.push_back(timer.get());
        return timer;
    });
}

FakeTimers::~FakeTimers() {
    SetTimerFactory(nullptr);
    for (FakeTimer* timer : timers_) {
        timer->owner_ = nullptr;
    }
}

void FakeTimers::FireAll() {
    const std::vector<FakeTimer*> timers = timers_;  // a callback may create or delete timers
    for (FakeTimer* timer : timers) {
        if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end()) {
            timer->Fire();
        }
    }
}
