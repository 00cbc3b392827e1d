#include "cli/MonitorOptions.h"

#include "cli/CommonOptions.h"
#include "cli/OptionWalk.h"

namespace {

const char* const kValueOptions[] = {"--port", "--count", "--timeout"};

// Checks one option's value and stores it; false with `error` set when it is bad.
bool ReadValue(const std::string& name, const std::string& value, TMonitorOptions& options,
               std::string& error) {
    if (name == "--port") {
        return ReadPortOption(value, options.port, error);
    }
    if (name == "--count") {
        return ReadCountOption(value, options.count, error);
    }
    return ReadTimeoutOption(value, options.timeoutMillis, error);
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
    const auto readValue = [&options](const std::string& name, const std::string& value,
                                      std::string& valueError) {
        return ReadValue(name, value, options, valueError);
    };
    return WalkOptions(arguments, kValueOptions, readValue, options.help, error);
}
