#include <unistd.h>

#include "cli/ConsolePlatform.h"

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}
