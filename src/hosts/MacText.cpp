#include "hosts/MacText.h"

#include "base/IntConv.h"

bool NormaliseMacAddress(std::string_view text, bool shortGroups, std::string& mac) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (text.size() < 11 || text.size() > 17) {
        return false;
    }
    const size_t firstSeparator = text.find_first_of("-:");
    if (firstSeparator == std::string_view::npos) {
        return false;
    }
    const char separator = text[firstSeparator];
    const size_t minDigits = shortGroups && separator == ':' ? 1 : 2;
    char result[17];
    size_t at = 0;
    for (int group = 0; group < 6; ++group) {
        if (group > 0) {
            if (at == text.size() || text[at] != separator) {
                return false;
            }
            ++at;
        }
        int value = 0;
        size_t digits = 0;
        while (at < text.size() && digits < 3 && HexDigitValue(text[at]) >= 0) {
            value = value * 16 + HexDigitValue(text[at]);
            ++at;
            ++digits;
        }
        if (digits < minDigits || digits > 2) {
            return false;
        }
        result[group * 3] = kHex[value >> 4];
        result[group * 3 + 1] = kHex[value & 15];
        if (group < 5) {
            result[group * 3 + 2] = '-';
        }
    }
    if (at != text.size()) {
        return false;
    }
    mac.assign(result, sizeof result);
    return true;
}
