#include "relay/RateLimit.h"

namespace {

constexpr int64_t kSecondMs = 1000;

}  // namespace

TRateLimit::TRateLimit(int32_t perSecond) : times_(perSecond < 1 ? 1 : perSecond) {}

bool TRateLimit::Allow(int64_t nowMs) {
    if (count_ == times_.size()) {
        if (nowMs - times_[next_] < kSecondMs) {
            return false;
        }
    } else {
        ++count_;
    }
    times_[next_] = nowMs;
    next_ = (next_ + 1) % times_.size();
    return true;
}
