#include "cli/WakeOptions.h"

#include <algorithm>
#include <set>

#include "base/DottedText.h"
#include "check/CheckSpec.h"
#include "cli/CommonOptions.h"
#include "cli/OptionNumbers.h"
#include "cli/OptionWalk.h"
#include "hosts/MacText.h"

namespace {

const char* const kValueOptions[] = {"--hosts",   "--timeout", "--resend", "--delay", "--to",
                                     "--address", "--port",    "--check",  "--learn"};
const char* const kFlagOptions[] = {"--wait", "--status", "--list", "--json"};

// ADDRESS or ADDRESS:PORT; the port is 0 when none is given.
bool ParseDestination(const std::string& text, THostDestination& destination) {
    const size_t colon = text.find(':');
    if (!ParseDottedQuad(std::string_view(text).substr(0, colon), destination.address)) {
        return false;
    }
    int64_t port = 0;
    if (colon != std::string::npos && !ParsePositive(text.substr(colon + 1), 65535, port)) {
        return false;
    }
    destination.port = static_cast<int32_t>(port);
    return true;
}

// ADDRESS or ADDRESS/PREFIX with a prefix 0..32; the prefix is -1 when none is given.
bool ParseAddressPrefix(const std::string& text, uint32_t& address, int32_t& prefix) {
    const size_t slash = text.find('/');
    if (!ParseDottedQuad(std::string_view(text).substr(0, slash), address)) {
        return false;
    }
    prefix = -1;
    if (slash != std::string::npos) {
        const std::string digits = text.substr(slash + 1);
        int64_t number = 0;
        if (digits == "0") {
            number = 0;
        } else if (!ParsePositive(digits, 32, number) || digits[0] == '0') {
            return false;
        }
        prefix = static_cast<int32_t>(number);
    }
    return true;
}

// "0" or plain digits up to maximum.
bool ParseCount(const std::string& text, int64_t maximum, int64_t& value) {
    if (text == "0") {
        value = 0;
        return true;
    }
    return ParsePositive(text, maximum, value);
}

// What the options said beyond their values, for the checks after the walk.
struct TSeen {
    std::set<std::string> names;
    bool Has(const char* name) const { return names.count(name) != 0; }
};

bool ReadValue(const std::string& name, const std::string& value, TWakeOptions& options,
               TSeen& seen, std::string& error) {
    seen.names.insert(name);
    TTargetOptions& targetOptions = options.targetOptions;
    if (name == "--wait") {
        options.wait = true;
    } else if (name == "--status") {
        options.mode = TWakeMode::Status;
    } else if (name == "--list") {
        options.mode = TWakeMode::List;
    } else if (name == "--json") {
        options.json = true;
    } else if (name == "--hosts") {
        if (value.empty()) {
            error = "--hosts needs the path of a hosts file";
            return false;
        }
        options.hostsPath = value;
    } else if (name == "--timeout") {
        return ReadTimeoutOption(value, options.timeoutMs, error);
    } else if (name == "--resend") {
        return ReadResendOption(value, options.resendMs, error);
    } else if (name == "--delay") {
        if (!ParseCount(value, kWakeMaxDelayMs, options.delayMs)) {
            error = "--delay needs a number of milliseconds from 0 to 3600000, not '" + value + "'";
            return false;
        }
    } else if (name == "--to") {
        THostDestination destination;
        if (!ParseDestination(value, destination)) {
            error =
                "--to needs an IPv4 address with an optional port from 1 to 65535 "
                "(ADDRESS[:PORT]), not '" +
                value + "'";
            return false;
        }
        targetOptions.to.push_back(destination);
    } else if (name == "--address") {
        if (!ParseAddressPrefix(value, targetOptions.address, targetOptions.prefix)) {
            error =
                "--address needs an IPv4 address with an optional prefix from 0 to 32 "
                "(ADDRESS[/PREFIX]), not '" +
                value + "'";
            return false;
        }
        targetOptions.hasAddress = true;
    } else if (name == "--port") {
        return ReadPortOption(value, targetOptions.port, error);
    } else if (name == "--check") {
        std::string reason;
        if (!ParseCheckList(value, targetOptions.checks, reason)) {
            error = "--check: " + reason;
            return false;
        }
        targetOptions.checksGiven = true;
    } else {
        if (value.empty()) {
            error = "--learn needs the NAME of the host to add";
            return false;
        }
        options.mode = TWakeMode::Learn;
        options.learnName = value;
    }
    return true;
}

// The first option of `names` that was given, or nullptr.
const char* FirstGiven(const TSeen& seen, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (seen.Has(name)) {
            return name;
        }
    }
    return nullptr;
}

// The options that go with each syntax, and what each needs.
bool CheckCombination(const TSeen& seen, TWakeOptions& options, std::string& error) {
    const int modes = seen.Has("--status") + seen.Has("--list") + seen.Has("--learn");
    if (modes > 1) {
        error = "--status, --list and --learn cannot be combined";
        return false;
    }
    const char* refused = nullptr;
    switch (options.mode) {
    case TWakeMode::Send:
        refused = options.wait ? nullptr : FirstGiven(seen, {"--timeout", "--resend"});
        if (refused != nullptr) {
            error = std::string(refused) + " needs --wait";
            return false;
        }
        break;
    case TWakeMode::Status:
        refused = FirstGiven(seen, {"--wait", "--resend", "--delay", "--to", "--port"});
        break;
    case TWakeMode::List:
        refused = FirstGiven(seen, {"--wait", "--timeout", "--resend", "--delay", "--to",
                                    "--address", "--port", "--check", "--json"});
        break;
    case TWakeMode::Learn:
        refused = FirstGiven(seen, {"--wait", "--resend", "--delay", "--to", "--address", "--port",
                                    "--check", "--json"});
        break;
    }
    if (refused != nullptr) {
        const char* mode = options.mode == TWakeMode::Status ? "--status"
                           : options.mode == TWakeMode::List ? "--list"
                                                             : "--learn";
        error = std::string(refused) + " cannot be used with " + mode;
        return false;
    }
    if (options.mode == TWakeMode::Learn) {
        if (options.targets.size() != 1 ||
            !ParseAddressPrefix(options.targets[0], options.learnAddress, options.learnPrefix)) {
            error = "--learn needs NAME and one ADDRESS[/PREFIX]";
            return false;
        }
        options.targets.clear();
    } else if (options.mode != TWakeMode::List && options.targets.empty()) {
        error = "no TARGET given: a host name, @GROUP, all or a MAC address";
        return false;
    }
    const char* macOnly = FirstGiven(seen, {"--to", "--address", "--check"});
    if (macOnly != nullptr &&
        std::none_of(options.targets.begin(), options.targets.end(), IsMacTarget)) {
        error = std::string(macOnly) + " applies to MAC address targets only, and none is given";
        return false;
    }
    if (options.timeoutMs == 0) {
        options.timeoutMs =
            options.mode == TWakeMode::Send ? kWakeDefaultWaitMs : kWakeDefaultCheckMs;
    }
    return true;
}

}  // namespace

const char kWakeUsage[] =
    "usage: corvane-wake [--hosts FILE] [--wait] [--timeout SECONDS] [--resend SECONDS]\n"
    "                    [--delay MS] [--to ADDRESS[:PORT]]... [--address ADDRESS[/PREFIX]]\n"
    "                    [--port N] [--check CHECKS] [--json] TARGET...\n"
    "       corvane-wake [--hosts FILE] --status [--timeout SECONDS] [--json] TARGET...\n"
    "       corvane-wake [--hosts FILE] --list [TARGET...]\n"
    "       corvane-wake [--hosts FILE] --learn NAME ADDRESS[/PREFIX]\n"
    "Wakes machines by name from a hosts file and tells whether they woke.\n"
    "TARGET: a host name, @GROUP, all, or a MAC address (xx-xx-xx-xx-xx-xx).\n"
    "  --hosts FILE          the hosts file (default: $CORVANE_HOSTS, then the user's, then\n"
    "                        the system's)\n"
    "  --wait                after sending, check each target until it answers\n"
    "  --timeout SECONDS     how long to wait for a target (default 120; --status and\n"
    "                        --learn: 3)\n"
    "  --resend SECONDS      send again while waiting, this often (default 10; 0: never)\n"
    "  --delay MS            between consecutive targets' first packets (default 0)\n"
    "  --to ADDRESS[:PORT]   a destination of the MAC targets\n"
    "  --address ADDRESS[/PREFIX]  the MAC targets' address (checks; directed broadcast)\n"
    "  --port N              the port of destinations that name none (default 26354)\n"
    "  --check CHECKS        the MAC targets' checks: icmp, tcp:PORT or none, joined by ','\n"
    "  --json                one JSON object per target instead of the lines\n"
    "  --status              only check whether the targets are up; nothing is sent\n"
    "  --list                print the hosts as resolved\n"
    "  --learn NAME ADDRESS  add the machine at ADDRESS to the hosts file as NAME\n"
    "Exit status: 0 done (and every target up), 1 a send failed, 2 bad usage or hosts file,\n"
    "3 a check cannot run, 4 a target did not answer or is down.\n";

bool IsMacTarget(const std::string& word) {
    std::string mac;
    return NormaliseMacAddress(word, false, mac);
}

bool ParseWakeOptions(const std::vector<std::string>& arguments, TWakeOptions& options,
                      std::string& error) {
    TSeen seen;
    const auto readValue = [&options, &seen](const std::string& name, const std::string& value,
                                             std::string& valueError) {
        return ReadValue(name, value, options, seen, valueError);
    };
    if (!WalkArguments(arguments, kValueOptions, kFlagOptions, readValue, options.targets,
                       options.help, error)) {
        return false;
    }
    if (options.help) {
        return true;
    }
    return CheckCombination(seen, options, error);
}
