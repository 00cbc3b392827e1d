#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The datagrams forwarded within the last few seconds, so that the same bytes go out at most
// once in that time. Memory is fixed at construction and never grows: a ring of at most
// `capacity` entries (a 64-bit digest of the bytes, their length and the time) and a hash index
// over it of twice that many slots, both allocated once. Entries leave when they are older than
// the window; when the ring is full, the oldest is forgotten first. Lookups, insertions and
// removals take constant time on average, however many entries are live.
class TRepeatWindow {
public:
    // The relay's ring never holds more than this, whatever its options (about 160 KiB).
    static constexpr size_t kMaxCapacity = 4096;

    // windowMs 0: nothing is ever a repeat. capacity is clamped to 1..kMaxCapacity.
    TRepeatWindow(int64_t windowMs, size_t capacity);

    // True when the same bytes were remembered less than windowMs before nowMs. Times must not
    // go backwards between calls.
    bool IsRepeat(std::string_view data, int64_t nowMs);
    void Remember(std::string_view data, int64_t nowMs);

    size_t Size() const { return count_; }
    size_t Capacity() const { return entries_.size(); }

    // A multiplicative hash over the bytes (FNV-style, a word at a time): cheap for a 102-byte
    // packet, and two different datagrams of one length match by chance about 1 in 2^64.
    static uint64_t Digest(std::string_view data);

private:
    struct Entry {
        uint64_t digest;
        uint64_t length;
        int64_t atMs;
    };
    static constexpr int32_t kEmpty = -1;

    void Expire(int64_t nowMs);
    // Forgets the oldest entry: out of the index, then out of the ring.
    void DropOldest();
    size_t Home(uint64_t digest) const { return static_cast<size_t>(digest) & slotMask_; }

    int64_t windowMs_;
    std::vector<Entry> entries_;  // the ring, oldest at oldest_
    size_t oldest_ = 0;
    size_t count_ = 0;
    // Open addressing with linear probing: each slot holds a ring position or kEmpty.
    std::vector<int32_t> slots_;
    size_t slotMask_;
};
