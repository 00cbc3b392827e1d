#include "platform/Application_win.h"

#include "platform/Form_win.h"
#include "platform/Platform_win.h"

namespace {

TApplication* theApplication = nullptr;

}  // namespace

TApplication::TApplication() : commandLine_(GetCommandLineA()) {
    theApplication = this;
    InstallWin32Platform();
}

TApplication::~TApplication() {
    DestroyForms();
    // A quit request left in the queue would end the next message loop of this thread at once.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

HWND TApplication::MainWindowHandle() const {
    TForm* form = MainForm();
    return form != nullptr ? form->Handle() : nullptr;
}

bool TApplication::HandleDialogKeys(MSG& message) {
    if (message.hwnd == nullptr) {
        return false;
    }
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (const auto& form : forms_) {
        // A window not yet made receives no messages; asking its handle would make it.
        if (form->HandleAllocated() && form->Handle() == root) {
            return IsDialogMessageA(root, &message) != FALSE;
        }
    }
    return false;
}

void TApplication::Run() {
    if (TForm* main = MainForm(); main != nullptr && !terminated_) {
        main->Show();
    }
    MSG message;
    while (!terminated_) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        if (!HandleDialogKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void TApplication::Terminate() {
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        if (!HandleDialogKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void TApplication::DestroyForms() {
    while (!forms_.empty()) {
        forms_.pop_back();
    }
}

TApplication& Application() {
    return *theApplication;
}

TApplication* CurrentApplication() {
    return theApplication;
}
