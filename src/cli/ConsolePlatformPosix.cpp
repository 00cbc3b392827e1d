#include <unistd.h>

#include "cli/ConsolePlatform.h"

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

std::string ExecutableFolder() {
    // The POSIX rules never look beside the program.
    return "";
}
