#include "cli/RelayOptions.h"

#include "base/DottedText.h"
#include "cli/CommonOptions.h"
#include "cli/OptionNumbers.h"
#include "cli/OptionWalk.h"

namespace {

const char* const kValueOptions[] = {"--port",   "--listen", "--to",    "--interface", "--allow",
                                     "--window", "--rate",   "--count", "--timeout"};

// ADDRESS or ADDRESS:PORT.
bool ParseTarget(const std::string& text, TRelayTarget& target) {
    const size_t colon = text.find(':');
    if (!ParseDottedQuad(std::string_view(text).substr(0, colon), target.address)) {
        return false;
    }
    int64_t port = kRelayTargetPort;
    if (colon != std::string::npos && !ParsePositive(text.substr(colon + 1), 65535, port)) {
        return false;
    }
    target.port = static_cast<int32_t>(port);
    return true;
}

// "0", "0.0", ".00": a window of no time, which ParseSeconds refuses.
bool IsZeroSeconds(const std::string& text) {
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    return (whole == "0" || (whole.empty() && !fraction.empty())) &&
           fraction.find_first_not_of('0') == std::string::npos;
}

// The window may be 0 (no repeat check), unlike the other durations.
bool ParseWindow(const std::string& text, int64_t& millis) {
    if (IsZeroSeconds(text)) {
        millis = 0;
        return true;
    }
    int64_t value = 0;
    if (!ParseSeconds(text, value) || value > kRelayMaxWindowMillis) {
        return false;
    }
    millis = value;
    return true;
}

// Checks one option's value and stores it; false with `error` set when it is bad.
bool ReadValue(const std::string& name, const std::string& value, TRelayOptions& options,
               std::string& error) {
    if (name == "--port") {
        return ReadPortOption(value, options.port, error);
    } else if (name == "--listen") {
        if (!ParseDottedQuad(value, options.listen)) {
            error = "--listen needs an IPv4 address such as 0.0.0.0, not '" + value + "'";
            return false;
        }
    } else if (name == "--to") {
        TRelayTarget target;
        if (!ParseTarget(value, target)) {
            error =
                "--to needs an IPv4 address with an optional port from 1 to 65535 "
                "(ADDRESS[:PORT]), not '" +
                value + "'";
            return false;
        }
        options.targets.push_back(target);
    } else if (name == "--interface") {
        if (value.empty()) {
            error = "--interface needs the name of a network interface";
            return false;
        }
        options.targets.push_back(TRelayTarget{value, 0, kRelayTargetPort});
    } else if (name == "--allow") {
        TCidr range;
        if (!ParseCidr(value, range)) {
            error = "--allow needs ADDRESS/PREFIX with a prefix from 0 to 32, not '" + value + "'";
            return false;
        }
        options.allow.push_back(range);
    } else if (name == "--window") {
        if (!ParseWindow(value, options.windowMillis)) {
            error = "--window needs a number of seconds from 0 to 3600, not '" + value + "'";
            return false;
        }
    } else if (name == "--rate") {
        int64_t number = 0;
        if (!ParsePositive(value, kRelayMaxRate, number)) {
            error = "--rate needs a number from 1 to 10000, not '" + value + "'";
            return false;
        }
        options.rate = static_cast<int32_t>(number);
    } else if (name == "--count") {
        return ReadCountOption(value, options.count, error);
    } else {
        return ReadTimeoutOption(value, options.timeoutMillis, error);
    }
    return true;
}

}  // namespace

const char kRelayUsage[] =
    "usage: corvane-relay [--port N] [--listen ADDRESS] (--to ADDRESS[:PORT] | --interface "
    "NAME)...\n"
    "                     [--allow CIDR]... [--window SECONDS] [--rate N] [--count N]\n"
    "                     [--timeout SECONDS]\n"
    "Receives magic packets sent to it and sends each one on to every destination unchanged.\n"
    "  --port N             UDP port to listen on, 1..65535 (default 26354)\n"
    "  --listen ADDRESS     local IPv4 address to listen on (default 0.0.0.0)\n"
    "  --to ADDRESS[:PORT]  a destination, normally a directed broadcast (port default 9)\n"
    "  --interface NAME     a destination: the directed broadcast of that interface (port 9)\n"
    "  --allow CIDR         forward only from sources in this range, e.g. 10.8.0.0/24\n"
    "  --window SECONDS     forward the same packet at most once in this time (default 2)\n"
    "  --rate N             forward at most N packets per second in total (default 20)\n"
    "  --count N            stop after N datagrams received (exit status 0)\n"
    "  --timeout SECONDS    stop after this time when the count was not reached (exit status 1)\n";

bool ParseRelayOptions(const std::vector<std::string>& arguments, TRelayOptions& options,
                       std::string& error) {
    const auto readValue = [&options](const std::string& name, const std::string& value,
                                      std::string& valueError) {
        return ReadValue(name, value, options, valueError);
    };
    if (!WalkOptions(arguments, kValueOptions, readValue, options.help, error)) {
        return false;
    }
    if (options.targets.empty() && !options.help) {
        error = "at least one destination is needed: --to ADDRESS[:PORT] or --interface NAME";
        return false;
    }
    return true;
}
