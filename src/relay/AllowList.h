#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The sources the relay forwards from: IPv4 ranges in CIDR form ("10.0.1.0/24").
struct TCidr {
    uint32_t network = 0;  // the address with its host bits cleared
    uint32_t prefix = 32;  // leading bits that must match, 0..32
};

// "ADDRESS/PREFIX" with a dotted address and a prefix of 0..32, or a bare address (/32). Host
// bits in the address are allowed and ignored (10.0.1.7/24 is 10.0.1.0/24).
bool ParseCidr(std::string_view text, TCidr& cidr);

// The mask of a prefix length: its leading `prefix` bits set.
uint32_t PrefixMask(uint32_t prefix);

// An empty list allows every source; otherwise a source must lie in one of the ranges.
class TAllowList {
public:
    TAllowList() = default;
    explicit TAllowList(std::vector<TCidr> ranges) : ranges_(std::move(ranges)) {}

    bool Allows(uint32_t source) const;

private:
    std::vector<TCidr> ranges_;
};
