// corvane-monitor: prints every UDP datagram that arrives on a port and decodes magic packets.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Monitor.h"
#include "cli/MonitorOptions.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    TMonitorOptions options;
    std::string error;
    if (!ParseMonitorOptions(arguments, options, error)) {
        std::fprintf(stderr, "corvane-monitor: %s\n%s", error.c_str(), kMonitorUsage);
        return kMonitorBadOptions;
    }
    if (options.help) {
        std::fputs(kMonitorUsage, stdout);
        return 0;
    }
    return RunMonitor(options, stdout, stderr);
}
