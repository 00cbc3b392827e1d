#pragma once

#include <cstdint>

#include "base/WinApi.h"
#include "platform/Platform.h"

// A window class of ours. Each is registered on first use, with TWindow's procedure.
struct TWindowClass {
    const char* name;
    UINT style = 0;                                       // CS_DBLCLKS for double clicks
    LPCSTR cursor = reinterpret_cast<LPCSTR>(IDC_ARROW);  // the pointer over the window
};

// A child window's control id where CreateWindowExA takes the menu.
inline HMENU ChildId(int32_t id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// The C++ object behind a window of one of our classes. The creation thunk stores the object in
// the window (GWLP_USERDATA) at WM_NCCREATE; from then on every message reaches WndProc, until
// WM_NCDESTROY detaches the two and calls Destroyed. Destroying the object destroys its window.
class TWindow {
public:
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return handle_; }

protected:
    TWindow() = default;

    // CreateWindowExA for this object; `menu` is the menu or, for a child, its control id.
    HWND Create(const TWindowClass& windowClass, DWORD exStyle, const char* text, DWORD style,
                const TRect& frame, HWND parent, HMENU menu = nullptr);
    // Detaches the window from the object, then destroys it (a derived class that must free its
    // own resources after its window calls this first).
    void DestroyHandle();

    // Derived windows handle their messages here; what they leave goes to DefWindowProcA.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is gone (WM_NCDESTROY) and Handle() is nullptr; an object that belongs to its
    // window deletes itself here.
    virtual void Destroyed() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};
