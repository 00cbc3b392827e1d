#include "platform/Platform_win.h"

#include <map>

#include "platform/Dispatch_win.h"

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

void Win32ShellOpen(const TShellOpenRequest& request) {
    ShellExecuteA(static_cast<HWND>(request.ownerWindow), OrNull(request.verb),
                  request.file.c_str(), OrNull(request.parameters), OrNull(request.directory),
                  request.showCommand);
}

// Selects a solid brush and no pen for the lifetime of the object.
class SolidFill {
public:
    SolidFill(HDC dc, TColor color)
        : dc_(dc), brush_(CreateSolidBrush(static_cast<COLORREF>(ColorToRgb(color)))) {
        oldBrush_ = SelectObject(dc_, brush_);
        oldPen_ = SelectObject(dc_, GetStockObject(NULL_PEN));
    }
    ~SolidFill() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteObject(brush_);
    }
    SolidFill(const SolidFill&) = delete;
    SolidFill& operator=(const SolidFill&) = delete;

private:
    HDC dc_;
    HBRUSH brush_;
    HGDIOBJ oldBrush_;
    HGDIOBJ oldPen_;
};

}  // namespace

void InstallWin32Platform() {
    SetSystemColorFunction([](int32_t index) { return static_cast<TColor>(GetSysColor(index)); });
    SetTimerFactory([] { return std::unique_ptr<TPlatformTimer>(new TWin32Timer); });
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
    SetBkColor(dc_, static_cast<COLORREF>(ColorToRgb(color)));
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void TGdiCanvas::FillEllipse(const TRect& bounds, TColor color) {
    SolidFill fill(dc_, color);
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
    SolidFill fill(dc_, color);
    Polygon(dc_, gdiPoints.data(), static_cast<int>(gdiPoints.size()));
}

void TGdiCanvas::TextRect(const TRect& bounds, const std::string& text, TColor color) {
    RECT r{bounds.left, bounds.top, bounds.right, bounds.bottom};
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, static_cast<COLORREF>(ColorToRgb(color)));
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX);
}
