// corvane-web: a web page and a JSON API to wake and watch the hosts file's machines.
#include <cstdio>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "cli/Web.h"
#include "cli/WebOptions.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    TWebOptions options;
    std::string error;
    if (!ParseWebOptions(arguments, options, error)) {
        std::fprintf(stderr, "corvane-web: %s\n%s", error.c_str(), kWebUsage);
        return kWebBadUsage;
    }
    if (options.help) {
        std::fputs(kWebUsage, stdout);
        return kWebDone;
    }
    try {
        return RunWebCommand(options, stdin, stdout, stderr);
    } catch (const Exception& failure) {
        std::fprintf(stderr, "corvane-web: %s\n", failure.Message().c_str());
        return kWebWriteFailed;
    }
}
