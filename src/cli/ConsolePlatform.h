#pragma once

#include <cstdio>

// The little that corvane-wake asks of the console beyond sockets, in a POSIX and a Windows
// half.

// True when the stream is a terminal (the progress line is drawn only there).
bool IsTerminal(std::FILE* stream);
