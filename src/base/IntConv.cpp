#include "base/IntConv.h"

#include "base/Exception.h"

namespace {

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses text into a value of `bits` width (32 or 64). Decimal must lie in the signed range;
// hex must fit the width and is taken as two's complement.
bool ParseInteger(const std::string& text, int bits, bool bareXPrefix, int64_t& value) {
    size_t pos = 0;
    const size_t end = text.size();
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    if (pos == end) {
        return false;
    }

    size_t hexStart = std::string::npos;
    if (text[pos] == '$') {
        hexStart = pos + 1;
    } else if (bareXPrefix && (text[pos] == 'x' || text[pos] == 'X')) {
        hexStart = pos + 1;
    } else if (text[pos] == '0' && pos + 1 < end &&
               (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        hexStart = pos + 2;
    }

    if (hexStart != std::string::npos) {
        if (hexStart == end) {
            return false;
        }
        const int maxDigits = bits / 4;
        uint64_t magnitude = 0;
        int significant = 0;
        for (size_t i = hexStart; i < end; ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0) {
                return false;
            }
            if (significant > 0 || digit != 0) {
                if (++significant > maxDigits) {
                    return false;
                }
            }
            magnitude = (magnitude << 4) | static_cast<uint64_t>(digit);
        }
        if (bits == 32) {
            value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
        } else {
            value = static_cast<int64_t>(magnitude);
        }
        return true;
    }

    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == end) {
        return false;
    }
    // The limit of the magnitude: 2^(bits-1) for negative values, one less for positive ones.
    const uint64_t limit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
    uint64_t magnitude = 0;
    for (size_t i = pos; i < end; ++i) {
        if (!IsDecimalDigit(text[i])) {
            return false;
        }
        const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

}  // namespace

std::string ConvertErrorMessage(const std::string& text) {
    return "'" + text + "' ist kein gültiger Integerwert";
}

bool TryStrToInt(const std::string& text, int32_t& value) {
    int64_t wide = 0;
    if (!ParseInteger(text, 32, true, wide)) {
        return false;
    }
    value = static_cast<int32_t>(wide);
    return true;
}

bool TryStrToInt64(const std::string& text, int64_t& value) {
    return ParseInteger(text, 64, false, value);
}

int32_t StrToInt(const std::string& text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value)) {
        throw EConvertError(ConvertErrorMessage(text));
    }
    return value;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
