#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

// Failed logins per source address: after kMaxFailures within a minute, that address is refused
// until the oldest of them is a minute old.
class TLoginLimit {
public:
    static constexpr int32_t kMaxFailures = 5;
    static constexpr int64_t kWindowMs = 60 * 1000;

    // True when the address may try now; otherwise false with the whole seconds to wait.
    bool Allowed(const std::string& address, int64_t nowMs, int64_t& waitSeconds);

    void Failed(const std::string& address, int64_t nowMs);
    void Succeeded(const std::string& address);

private:
    void Forget(int64_t nowMs);

    std::map<std::string, std::deque<int64_t>> failures_;  // times, oldest first
};
