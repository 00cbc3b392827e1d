#include "web/LoginLimit.h"

namespace {

// Addresses remembered at most; past it the expired ones are dropped first, then everything
// (a flood from many addresses must not grow the memory without bound).
constexpr size_t kMaxAddresses = 10000;

}  // namespace

bool TLoginLimit::Allowed(const std::string& address, int64_t nowMs, int64_t& waitSeconds) {
    const auto found = failures_.find(address);
    if (found == failures_.end()) {
        return true;
    }
    std::deque<int64_t>& times = found->second;
    while (!times.empty() && nowMs - times.front() >= kWindowMs) {
        times.pop_front();
    }
    if (static_cast<int32_t>(times.size()) < kMaxFailures) {
        return true;
    }
    const int64_t waitMs = times.front() + kWindowMs - nowMs;
    waitSeconds = (waitMs + 999) / 1000;
    return false;
}

void TLoginLimit::Failed(const std::string& address, int64_t nowMs) {
    if (failures_.size() >= kMaxAddresses && failures_.find(address) == failures_.end()) {
        Forget(nowMs);
    }
    std::deque<int64_t>& times = failures_[address];
    times.push_back(nowMs);
    while (static_cast<int32_t>(times.size()) > kMaxFailures) {
        times.pop_front();
    }
}

void TLoginLimit::Succeeded(const std::string& address) {
    failures_.erase(address);
}

void TLoginLimit::Forget(int64_t nowMs) {
    std::erase_if(failures_, [&](const auto& entry) {
        return entry.second.empty() || nowMs - entry.second.back() >= kWindowMs;
    });
    if (failures_.size() >= kMaxAddresses) {
        failures_.clear();
    }
}
