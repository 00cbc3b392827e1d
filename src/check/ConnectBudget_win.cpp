#include "check/CheckRunner.h"

// Windows has no per-process descriptor limit worth the name for sockets; the prober waits for
// its connects with select over one set, so a fixed number keeps each wait cheap.
size_t ConnectBudget() {
    return 1024;
}
