#include "platform/Dispatch_win.h"

#include <exception>

#include "base/ErrorBoxText.h"
#include "base/Exception.h"
#include "platform/Application_win.h"

namespace {

struct DisableContext {
    HWND keep;
    std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<DisableContext*>(param);
    if (window != context->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        context->disabled->push_back(window);
    }
    return TRUE;
}

}  // namespace

void Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& e) {
        ShowErrorBox(e.Message());
    } catch (const std::exception& e) {
        // Not ours (out of memory and the like); still better shown than crossing Win32 frames.
        ShowErrorBox(e.what());
    }
}

void ShowErrorBox(const std::string& message) {
    const std::string text = ErrorBoxText(message);
    TApplication* application = CurrentApplication();
    HWND owner = application != nullptr ? application->MainWindowHandle() : nullptr;
    const std::string caption = application != nullptr ? application->Title() : std::string();
    TWindowDisabler disabler;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

TWindowDisabler::TWindowDisabler(HWND keep) : active_(GetActiveWindow()) {
    DisableContext context{keep, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&context));
}

TWindowDisabler::~TWindowDisabler() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        if (IsWindow(*it)) {
            EnableWindow(*it, TRUE);
        }
    }
    if (active_ != nullptr && IsWindow(active_) && IsWindowVisible(active_)) {
        SetActiveWindow(active_);
    }
}
