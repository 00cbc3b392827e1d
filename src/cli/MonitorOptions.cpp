#include "cli/MonitorOptions.h"

namespace {

// Plain decimal digits within 1..maximum.
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

// Seconds as digits with an optional fraction ("5", "0.25"); kept in whole milliseconds.
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

}  // namespace

const char kMonitorUsage[] =
    "usage: corvane-monitor [--port N] [--count N] [--timeout SECONDS]\n"
    "Prints one line per UDP datagram that arrives on 0.0.0.0 at the port (default 26354).\n"
    "  --port N           UDP port to listen on, 1..65535\n"
    "  --count N          stop after N datagrams (exit status 0)\n"
    "  --timeout SECONDS  stop after this time when the count was not reached (exit status 1)\n";

bool ParseMonitorOptions(const std::vector<std::string>& arguments, TMonitorOptions& options,
                         std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name != "--port" && name != "--count" && name != "--timeout") {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 == arguments.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = arguments[++i];
        }

        int64_t number = 0;
        if (name == "--port") {
            if (!ParsePositive(value, 65535, number)) {
                error = "--port needs a number from 1 to 65535, not '" + value + "'";
                return false;
            }
            options.port = static_cast<int32_t>(number);
        } else if (name == "--count") {
            if (!ParsePositive(value, INT64_MAX / 10, number)) {
                error = "--count needs a positive number, not '" + value + "'";
                return false;
            }
            options.count = number;
        } else if (!ParseSeconds(value, options.timeoutMillis)) {
            error = "--timeout needs a positive number of seconds, not '" + value + "'";
            return false;
        }
    }
    return true;
}
