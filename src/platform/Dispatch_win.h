#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/WinApi.h"

// Every event handler of every window runs through Dispatch: an exception that escapes the
// handler is shown in the error box and the program carries on in the state the handler left.
void Dispatch(const std::function<void()>& handler);

// The error box: the system message box with the stop icon and one OK button, captioned with the
// application title, owned by the main window, text ErrorBoxText(message). Returns when closed.
void ShowErrorBox(const std::string& message);

// Disables the enabled, visible top-level windows of this thread for its lifetime (except
// `keep`), as a modal box needs; re-enables exactly those afterwards and gives the activation
// back to the window that had it (closing a box activates its owner, the main window).
class TWindowDisabler {
public:
    explicit TWindowDisabler(HWND keep = nullptr);
    ~TWindowDisabler();
    TWindowDisabler(const TWindowDisabler&) = delete;
    TWindowDisabler& operator=(const TWindowDisabler&) = delete;

private:
    HWND active_;
    std::vector<HWND> disabled_;
};
