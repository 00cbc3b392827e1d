#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/DottedText.h"

// Reads a dotted IPv4 text "a.b.c.d" (each piece in any form the integer conversion accepts).
// A piece that does not convert raises Exception, a piece outside 0..255 raises EIdException;
// both carry "The string <text> does not translate into a valid IP.".
uint32_t ParseDottedAddress(const std::string& text);

// One IPv4 value kept at once as four octets, a 32-bit number, a dotted text and a 32-character
// binary text. Every assignment refreshes all forms together (SetOctets) and raises OnChange
// when the 32-bit value changed.
class TIpProperty {
public:
    using ChangeEvent = std::function<void(TIpProperty& sender)>;

    uint8_t Byte1() const { return octets_[0]; }
    uint8_t Byte2() const { return octets_[1]; }
    uint8_t Byte3() const { return octets_[2]; }
    uint8_t Byte4() const { return octets_[3]; }
    void SetByte1(uint8_t value) { SetByte(0, value); }
    void SetByte2(uint8_t value) { SetByte(1, value); }
    void SetByte3(uint8_t value) { SetByte(2, value); }
    void SetByte4(uint8_t value) { SetByte(3, value); }

    uint32_t AsDoubleWord() const { return value_; }
    void SetAsDoubleWord(uint32_t value);

    // Empty until the first assignment of any form.
    const std::string& AsBinaryString() const { return binary_; }
    // Throws EIdException "Invalid value length: Should be 32." unless exactly 32 characters;
    // every character other than "0" counts as a one bit.
    void SetAsBinaryString(const std::string& bits);

    // Empty until the first assignment of any form.
    const std::string& AsString() const { return dotted_; }
    // Reads the text with ParseDottedAddress; a failed parse leaves the value unchanged.
    void SetAsString(const std::string& text);

    void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }

    // Stores the octets, refreshes every form (also when the value stays the same) and raises
    // OnChange when the 32-bit value changed.
    void SetOctets(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);

private:
    void SetByte(int index, uint8_t value);

    uint8_t octets_[4] = {0, 0, 0, 0};
    uint32_t value_ = 0;
    std::string binary_;
    std::string dotted_;
    ChangeEvent onChange_;
};
