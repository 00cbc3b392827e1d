#include "cli/MonitorOptions.h"

#include "cli/OptionNumbers.h"

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
