#include "web/SessionStore.h"

#include <algorithm>

#include "web/Secrets.h"

namespace {

constexpr size_t kSessionBytes = 32;
// More sessions than anyone logs in with: past it the least recently used one goes first, so a
// flood of logins cannot grow the memory without bound.
constexpr size_t kMaxSessions = 1000;

}  // namespace

TSessionStore::TSessionStore(int64_t idleMs) : idleMs_(idleMs) {}

std::string TSessionStore::Create(int64_t nowMs) {
    ForgetExpired(nowMs);
    if (lastUse_.size() >= kMaxSessions) {
        const auto oldest =
            std::min_element(lastUse_.begin(), lastUse_.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        lastUse_.erase(oldest);
    }
    const std::string id = RandomHex(kSessionBytes);
    lastUse_[SecretHash(id)] = nowMs;
    return id;
}

bool TSessionStore::Use(const std::string& id, int64_t nowMs) {
    const auto found = lastUse_.find(SecretHash(id));
    if (found == lastUse_.end()) {
        return false;
    }
    if (nowMs - found->second >= idleMs_) {
        lastUse_.erase(found);
        return false;
    }
    found->second = nowMs;
    return true;
}

bool TSessionStore::Alive(const std::string& id, int64_t nowMs) const {
    const auto found = lastUse_.find(SecretHash(id));
    return found != lastUse_.end() && nowMs - found->second < idleMs_;
}

void TSessionStore::End(const std::string& id) {
    lastUse_.erase(SecretHash(id));
}

void TSessionStore::ForgetExpired(int64_t nowMs) {
    std::erase_if(lastUse_, [&](const auto& entry) { return nowMs - entry.second >= idleMs_; });
}
