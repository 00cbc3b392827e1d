#include "relay/AllowList.h"

#include "base/DottedText.h"

bool ParseCidr(std::string_view text, TCidr& cidr) {
    const size_t slash = text.find('/');
    uint32_t address = 0;
    if (!ParseDottedQuad(text.substr(0, slash), address)) {
        return false;
    }
    uint32_t prefix = 32;
    if (slash != std::string_view::npos) {
        const std::string_view digits = text.substr(slash + 1);
        if (digits.empty() || digits.size() > 2) {
            return false;
        }
        prefix = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                return false;
            }
            prefix = prefix * 10 + static_cast<uint32_t>(c - '0');
        }
        if (prefix > 32) {
            return false;
        }
    }
    cidr.network = address & PrefixMask(prefix);
    cidr.prefix = prefix;
    return true;
}

uint32_t PrefixMask(uint32_t prefix) {
    // A shift by 32 is undefined: prefix 0 is the empty mask.
    return prefix == 0 ? 0 : 0xFFFFFFFFu << (32 - prefix);
}

bool TAllowList::Allows(uint32_t source) const {
    if (ranges_.empty()) {
        return true;
    }
    for (const TCidr& range : ranges_) {
        if ((source & PrefixMask(range.prefix)) == range.network) {
            return true;
        }
    }
    return false;
}
