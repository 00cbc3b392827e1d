#include "cli/CommonOptions.h"

#include "cli/OptionNumbers.h"

namespace {

// The relay drops a repeat of the same packet within this time, so resends must be further
// apart.
constexpr int64_t kRelayRepeatWindowMs = 2000;

}  // namespace

bool ReadPortOption(const std::string& value, int32_t& port, std::string& error) {
    int64_t number = 0;
    if (!ParsePositive(value, 65535, number)) {
        error = "--port needs a number from 1 to 65535, not '" + value + "'";
        return false;
    }
    port = static_cast<int32_t>(number);
    return true;
}

bool ReadCountOption(const std::string& value, int64_t& count, std::string& error) {
    if (!ParsePositive(value, INT64_MAX / 10, count)) {
        error = "--count needs a positive number, not '" + value + "'";
        return false;
    }
    return true;
}

bool ReadTimeoutOption(const std::string& value, int64_t& millis, std::string& error) {
    if (!ParseSeconds(value, millis)) {
        error = "--timeout needs a positive number of seconds, not '" + value + "'";
        return false;
    }
    return true;
}

bool ReadResendOption(const std::string& value, int64_t& millis, std::string& error) {
    int64_t number = 0;
    if (value != "0" && (!ParseSeconds(value, number) || number <= kRelayRepeatWindowMs)) {
        error = "--resend needs 0 (never) or a number of seconds above 2, not '" + value +
                "' (relays drop repeats within 2 s)";
        return false;
    }
    millis = number;
    return true;
}
