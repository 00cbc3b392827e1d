#include "base/DottedText.h"

std::array<std::string, 4> DottedAddressPieces(const std::string& text) {
    std::array<std::string, 4> pieces;
    std::string rest = text;
    for (int i = 0; i < 3; ++i) {
        const size_t dot = rest.find('.');
        if (dot == std::string::npos) {
            pieces[i] = std::move(rest);
            rest.clear();
        } else {
            pieces[i] = rest.substr(0, dot);
            rest.erase(0, dot + 1);
        }
    }
    pieces[3] = std::move(rest);
    return pieces;
}

std::string DottedAddressText(uint32_t value) {
    return std::to_string(value >> 24) + "." + std::to_string((value >> 16) & 0xFF) + "." +
           std::to_string((value >> 8) & 0xFF) + "." + std::to_string(value & 0xFF);
}

std::array<uint8_t, 4> AddressOctets(uint32_t address) {
    return {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
            static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
}

uint32_t OctetsAddress(const std::array<uint8_t, 4>& octets) {
    return (uint32_t{octets[0]} << 24) | (uint32_t{octets[1]} << 16) | (uint32_t{octets[2]} << 8) |
           uint32_t{octets[3]};
}

bool ParseDottedQuad(std::string_view text, uint32_t& value) {
    uint32_t result = 0;
    size_t at = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (at == text.size() || text[at] != '.') {
                return false;
            }
            ++at;
        }
        uint32_t number = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            number = number * 10 + static_cast<uint32_t>(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || number > 255) {
            return false;
        }
        result = (result << 8) | number;
    }
    if (at != text.size()) {
        return false;
    }
    value = result;
    return true;
}
