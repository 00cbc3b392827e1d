#include "cli/OptionNumbers.h"

bool ParsePositive(const std::string& text, int64_t maximum, int64_t& value) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    int64_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    if (result < 1 || result > maximum) {
        return false;
    }
    value = result;
    return true;
}

bool ParseSeconds(const std::string& text, int64_t& millis) {
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    int64_t seconds = 0;
    if (!whole.empty() && !(whole == "0" || ParsePositive(whole, 1000000000, seconds))) {
        return false;
    }
    if (whole.empty() && fraction.empty()) {
        return false;
    }
    int64_t fractionMillis = 0;
    for (size_t i = 0; i < fraction.size(); ++i) {
        if (fraction[i] < '0' || fraction[i] > '9') {
            return false;
        }
        if (i < 3) {
            fractionMillis = fractionMillis * 10 + (fraction[i] - '0');
        }
    }
    for (size_t i = fraction.size(); i < 3; ++i) {
        fractionMillis *= 10;
    }
    millis = seconds * 1000 + fractionMillis;
    return millis > 0;
}
