#pragma once

#include <cstdio>
#include <string>

// The little that corvane-wake asks of the platform beyond sockets, in a POSIX and a Windows
// half.

// True when the stream is a terminal (the progress line is drawn only there).
bool IsTerminal(std::FILE* stream);

// The folder of the running program, where a portable Windows install keeps its hosts file;
// empty where the platform does not tell.
std::string ExecutableFolder();
