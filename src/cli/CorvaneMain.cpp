// corvane: wakes a machine from the command line of a POSIX system.
//   corvane <mac-addr> <broadcast ip-addr> [/pw:<password>] [/port:<Portnummer>]
// Exit status 0 after a send, 1 when nothing was sent, 2 for a wrong argument count.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/ConsoleHost.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int status = RunConsoleWake(arguments, stdout, stderr);
    if (std::fflush(stdout) != 0) {
        return kExitNotSent;
    }
    return status;
}
