// corvane-wake: wakes machines by name from a hosts file, many at once, and waits until each
// answers.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/StopRequest.h"
#include "cli/Wake.h"
#include "cli/WakeOptions.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    TWakeOptions options;
    std::string error;
    if (!ParseWakeOptions(arguments, options, error)) {
        std::fprintf(stderr, "corvane-wake: %s\n%s", error.c_str(), kWakeUsage);
        return kWakeBadUsage;
    }
    if (options.help) {
        std::fputs(kWakeUsage, stdout);
        return 0;
    }
    InstallStopHandler();
    TWakeContext context = MachineWakeContext(stderr);
    return RunWake(options, context, stdout, stderr);
}
