// The floor for corvane.exe's start-up: only the work no Windows program of its kind can skip.
// The common controls with the IP address class, Windows Sockets 2 loaded at run time and
// started (version 2.2), and one window like the main window (a tool window of the same size
// and place) created and shown; then the message loop until the window is closed.
// bench/gui-start.sh times both programs from launch to their window being mapped.
#include "base/WinApi.h"

namespace {

constexpr char kClassName[] = "TGuiFloor";
constexpr char kCaption[] = "Corvane start-up floor";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);

    HMODULE sockets = LoadLibraryA("WS2_32.DLL");
    using StartupFn = int(WSAAPI*)(WORD, WSADATA*);
    using CleanupFn = int(WSAAPI*)();
    auto startup = reinterpret_cast<StartupFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(sockets, "WSAStartup")));
    auto cleanup = reinterpret_cast<CleanupFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(sockets, "WSACleanup")));
    WSADATA data;
    if (startup == nullptr || cleanup == nullptr || startup(0x0202, &data) != 0) {
        return 1;
    }

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    // The main window's frame: client area 213 x 344 at 548, 328.
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    RECT frame{0, 0, 213, 344};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOOLWINDOW);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kCaption, style, 548, 328,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    cleanup();
    FreeLibrary(sockets);
    return 0;
}
