#include "cli/RepeatWindow.h"

#include <algorithm>
#include <cstring>

TRepeatWindow::TRepeatWindow(int64_t windowMs, size_t capacity)
    : windowMs_(windowMs), entries_(std::clamp<size_t>(capacity, 1, kMaxCapacity)) {}

bool TRepeatWindow::IsRepeat(std::string_view data, int64_t nowMs) {
    if (windowMs_ <= 0) {
        return false;
    }
    Expire(nowMs);
    const uint64_t digest = Digest(data);
    for (size_t age = 0; age < count_; ++age) {
        const Entry& entry = At(age);
        if (entry.digest == digest && entry.length == data.size()) {
            return true;
        }
    }
    return false;
}

void TRepeatWindow::Remember(std::string_view data, int64_t nowMs) {
    if (windowMs_ <= 0) {
        return;
    }
    Expire(nowMs);
    if (count_ == entries_.size()) {
        oldest_ = (oldest_ + 1) % entries_.size();
        --count_;
    }
    At(count_) = Entry{Digest(data), data.size(), nowMs};
    ++count_;
}

uint64_t TRepeatWindow::Digest(std::string_view data) {
    // Eight bytes per step, so a datagram of 64 KiB costs microseconds, not a millisecond.
    constexpr uint64_t kPrime = 0x100000001b3u;
    uint64_t hash = 0xcbf29ce484222325u ^ data.size();
    size_t at = 0;
    for (; at + 8 <= data.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, data.data() + at, sizeof(word));
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 29;
    }
    for (; at < data.size(); ++at) {
        hash = (hash ^ static_cast<unsigned char>(data[at])) * kPrime;
    }
    return hash;
}

void TRepeatWindow::Expire(int64_t nowMs) {
    while (count_ > 0 && nowMs - At(0).atMs >= windowMs_) {
        oldest_ = (oldest_ + 1) % entries_.size();
        --count_;
    }
}
