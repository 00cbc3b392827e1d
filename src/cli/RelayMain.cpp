// corvane-relay: receives magic packets sent to it and broadcasts them on its own subnet.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Relay.h"
#include "cli/RelayOptions.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    TRelayOptions options;
    std::string error;
    if (!ParseRelayOptions(arguments, options, error)) {
        std::fprintf(stderr, "corvane-relay: %s\n%s", error.c_str(), kRelayUsage);
        return kRelayBadOptions;
    }
    if (options.help) {
        std::fputs(kRelayUsage, stdout);
        return 0;
    }
    return RunRelay(options, stdout, stderr);
}
