#include "platform/Window_win.h"

#include <set>
#include <string>

namespace {

void RegisterOnce(const TWindowClass& definition, WNDPROC windowProc) {
    static std::set<std::string> registered;
    if (!registered.insert(definition.name).second) {
        return;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = definition.style;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, definition.cursor);
    windowClass.lpszClassName = definition.name;
    RegisterClassExA(&windowClass);
}

}  // namespace

TWindow::~TWindow() {
    DestroyHandle();
}

HWND TWindow::Create(const TWindowClass& windowClass, DWORD exStyle, const char* text, DWORD style,
                     const TRect& frame, HWND parent, HMENU menu) {
    RegisterOnce(windowClass, StaticWndProc);
    return CreateWindowExA(exStyle, windowClass.name, text, style, frame.left, frame.top,
                           frame.Width(), frame.Height(), parent, menu, GetModuleHandleA(nullptr),
                           this);
}

void TWindow::DestroyHandle() {
    if (handle_ != nullptr) {
        HWND window = handle_;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        handle_ = nullptr;
        DestroyWindow(window);
    }
}

LRESULT TWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* self = static_cast<TWindow*>(create->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        self->Destroyed();  // may delete the object
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->WndProc(message, wParam, lParam);
}
