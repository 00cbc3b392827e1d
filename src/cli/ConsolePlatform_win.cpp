#include <io.h>

#include "cli/ConsolePlatform.h"

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}
