#include "platform/Platform_win.h"

#include <map>

#include "platform/Dispatch_win.h"
#include "platform/Gdi_win.h"

namespace {

class TWin32Timer : public TPlatformTimer {
public:
    ~TWin32Timer() override { Stop(); }

    void Start(uint32_t intervalMs) override {
        Stop();
        id_ = SetTimer(nullptr, 0, intervalMs, OnTimerProc);
        if (id_ != 0) {
            Timers()[id_] = this;
        }
    }

    void Stop() override {
        if (id_ != 0) {
            KillTimer(nullptr, id_);
            Timers().erase(id_);
            id_ = 0;
        }
    }

private:
    static std::map<UINT_PTR, TWin32Timer*>& Timers() {
        static std::map<UINT_PTR, TWin32Timer*> timers;
        return timers;
    }

    static void CALLBACK OnTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
        auto it = Timers().find(id);
        if (it != Timers().end() && it->second->onTimer) {
            const std::function<void()> handler = it->second->onTimer;  // may delete the timer
            Dispatch(handler);
        }
    }

    UINT_PTR id_ = 0;
};

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

// SHELL32.DLL is loaded on the first request rather than with the program: only Help and the
// links need it, and loading it with the libraries it brings along delays the main window.
void Win32ShellOpen(const TShellOpenRequest& request) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecute = reinterpret_cast<ShellExecuteFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA("SHELL32.DLL"), "ShellExecuteA")));
    if (shellExecute == nullptr) {
        return;  // no shell: nothing to report, as when the open itself fails
    }
    shellExecute(static_cast<HWND>(request.ownerWindow), OrNull(request.verb), request.file.c_str(),
                 OrNull(request.parameters), OrNull(request.directory), request.showCommand);
}

}  // namespace

void InstallWin32Platform() {
    SetSystemColorFunction([](int32_t index) { return static_cast<TColor>(GetSysColor(index)); });
    SetTimerFactory([] { return std::unique_ptr<TPlatformTimer>(new TWin32Timer); });
    SetClock(&SystemClock());
    SetShellOpenFunction(Win32ShellOpen);
}

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
}

void TGdiCanvas::FillRect(const TRect& rect, TColor color) {
    FillSolid(dc_, ToRECT(rect), ToColorRef(color));
}

void TGdiCanvas::FillEllipse(const TRect& bounds, TColor color) {
    TSelection brush(dc_, CreateSolidBrush(ToColorRef(color)), TSelection::kDelete);
    TSelection pen(dc_, GetStockObject(NULL_PEN));
    // Without a pen the shape is one pixel smaller on the right and bottom; widen it back.
    Ellipse(dc_, bounds.left, bounds.top, bounds.right + 1, bounds.bottom + 1);
}

void TGdiCanvas::FillPolygon(const std::vector<TPoint>& points, TColor color) {
    if (points.empty()) {
        return;
    }
    std::vector<POINT> gdiPoints;
    gdiPoints.reserve(points.size());
    for (const TPoint& p : points) {
        gdiPoints.push_back(POINT{p.x, p.y});
    }
    TSelection brush(dc_, CreateSolidBrush(ToColorRef(color)), TSelection::kDelete);
    TSelection pen(dc_, GetStockObject(NULL_PEN));
    Polygon(dc_, gdiPoints.data(), static_cast<int>(gdiPoints.size()));
}

void TGdiCanvas::TextRect(const TRect& bounds, const std::string& text, TColor color) {
    RECT r = ToRECT(bounds);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ToColorRef(color));
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX);
}
