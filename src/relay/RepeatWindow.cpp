#include "relay/RepeatWindow.h"

#include <algorithm>
#include <bit>
#include <cstring>

TRepeatWindow::TRepeatWindow(int64_t windowMs, size_t capacity)
    : windowMs_(windowMs),
      entries_(std::clamp<size_t>(capacity, 1, kMaxCapacity)),
      slots_(std::bit_ceil(2 * entries_.size()), kEmpty),
      slotMask_(slots_.size() - 1) {}

bool TRepeatWindow::IsRepeat(std::string_view data, int64_t nowMs) {
    if (windowMs_ <= 0) {
        return false;
    }
    Expire(nowMs);
    const uint64_t digest = Digest(data);
    // The index is never more than half full, so an empty slot ends every probe.
    for (size_t slot = Home(digest); slots_[slot] != kEmpty; slot = (slot + 1) & slotMask_) {
        const Entry& entry = entries_[static_cast<size_t>(slots_[slot])];
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
        DropOldest();
    }
    const size_t position = (oldest_ + count_) % entries_.size();
    entries_[position] = Entry{Digest(data), data.size(), nowMs};
    ++count_;
    size_t slot = Home(entries_[position].digest);
    while (slots_[slot] != kEmpty) {
        slot = (slot + 1) & slotMask_;
    }
    slots_[slot] = static_cast<int32_t>(position);
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
    // The low bits pick the slot: fold the well-mixed high bits into them.
    return hash ^ (hash >> 32);
}

void TRepeatWindow::Expire(int64_t nowMs) {
    while (count_ > 0 && nowMs - entries_[oldest_].atMs >= windowMs_) {
        DropOldest();
    }
}

void TRepeatWindow::DropOldest() {
    const auto position = static_cast<int32_t>(oldest_);
    size_t hole = Home(entries_[oldest_].digest);
    while (slots_[hole] != position) {
        hole = (hole + 1) & slotMask_;
    }
    // Backward-shift deletion: move up every later entry of the run whose home slot does not lie
    // between the hole and its own slot, so no probe meets an empty slot before its entry.
    slots_[hole] = kEmpty;
    for (size_t slot = (hole + 1) & slotMask_; slots_[slot] != kEmpty;
         slot = (slot + 1) & slotMask_) {
        const size_t home = Home(entries_[static_cast<size_t>(slots_[slot])].digest);
        const bool stays = ((slot - home) & slotMask_) < ((slot - hole) & slotMask_);
        if (!stays) {
            slots_[hole] = slots_[slot];
            slots_[slot] = kEmpty;
            hole = slot;
        }
    }
    oldest_ = (oldest_ + 1) % entries_.size();
    --count_;
}
