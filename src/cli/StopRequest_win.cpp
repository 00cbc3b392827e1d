#include <atomic>

#include "base/WinApi.h"
#include "cli/StopRequest.h"

namespace {

std::atomic<bool> gStopRequested{false};

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        gStopRequested = true;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void InstallStopHandler() {
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool StopRequested() {
    return gStopRequested;
}
