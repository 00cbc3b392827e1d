#include "calc/IpProperty.h"

#include "base/DottedText.h"
#include "base/Exception.h"
#include "base/IntConv.h"
#include "net/IdException.h"

namespace {

std::string InvalidIpMessage(const std::string& text) {
    return "The string " + text + " does not translate into a valid IP.";
}

}  // namespace

uint32_t ParseDottedAddress(const std::string& text) {
    const std::array<std::string, 4> pieces = DottedAddressPieces(text);

    // All pieces are converted before any is range-checked, so a piece that does not convert
    // wins over an earlier one that is out of range.
    int32_t numbers[4];
    for (int i = 0; i < 4; ++i) {
        if (!TryStrToInt(pieces[i], numbers[i])) {
            throw Exception(InvalidIpMessage(text));
        }
    }
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i) {
        // The unsigned comparison rejects negative pieces as well.
        if (static_cast<uint32_t>(numbers[i]) >= 256) {
            throw EIdException(InvalidIpMessage(text));
        }
        result = (result << 8) | static_cast<uint32_t>(numbers[i]);
    }
    return result;
}

void TIpProperty::SetAsDoubleWord(uint32_t value) {
    SetOctets(static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
              static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value));
}

void TIpProperty::SetAsBinaryString(const std::string& bits) {
    if (bits.size() != 32) {
        throw EIdException("Invalid value length: Should be 32.");
    }
    if (bits == binary_) {
        return;
    }
    uint32_t value = 0;
    for (char c : bits) {
        value = (value << 1) | (c != '0' ? 1u : 0u);
    }
    SetAsDoubleWord(value);
}

void TIpProperty::SetAsString(const std::string& text) {
    SetAsDoubleWord(ParseDottedAddress(text));
}

void TIpProperty::SetOctets(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    const uint32_t old = value_;
    octets_[0] = b1;
    octets_[1] = b2;
    octets_[2] = b3;
    octets_[3] = b4;
    value_ = (uint32_t{b1} << 24) | (uint32_t{b2} << 16) | (uint32_t{b3} << 8) | uint32_t{b4};
    binary_.assign(32, '0');
    for (int i = 0; i < 32; ++i) {
        if (value_ & (0x80000000u >> i)) {
            binary_[i] = '1';
        }
    }
    dotted_ = DottedAddressText(value_);
    // Last step: the handler may re-enter and assign this value again (the calculator's mask
    // check does), so nothing may be touched after it.
    if (value_ != old && onChange_) {
        onChange_(*this);
    }
}

void TIpProperty::SetByte(int index, uint8_t value) {
    if (octets_[index] == value) {
        return;
    }
    uint8_t octets[4] = {octets_[0], octets_[1], octets_[2], octets_[3]};
    octets[index] = value;
    SetOctets(octets[0], octets[1], octets[2], octets[3]);
}
