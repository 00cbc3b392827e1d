#include <signal.h>

#include "cli/StopRequest.h"

namespace {

volatile sig_atomic_t gStopRequested = 0;

void OnStopSignal(int) {
    gStopRequested = 1;
}

}  // namespace

void InstallStopHandler() {
    struct sigaction action = {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait that the signal interrupts returns at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return gStopRequested != 0;
}
