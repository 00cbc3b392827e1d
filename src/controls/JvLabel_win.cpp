#include "controls/JvLabel_win.h"

#include <exception>

namespace {

constexpr char kClassName[] = "TJvLabel";

static_assert(kTextCenter == DT_CENTER && kTextRight == DT_RIGHT &&
              kTextWordBreak == DT_WORDBREAK && kTextExpandTabs == DT_EXPANDTABS &&
              kTextCalcRect == DT_CALCRECT && kTextNoPrefix == DT_NOPREFIX &&
              kTextPathEllipsis == DT_PATH_ELLIPSIS && kTextEndEllipsis == DT_END_ELLIPSIS &&
              kTextWordEllipsis == DT_WORD_ELLIPSIS);

COLORREF ToColorRef(TColor color) {
    return static_cast<COLORREF>(ColorToRgb(color));
}

RECT ToRECT(const TRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
TRect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Selects an object into a device context for the lifetime of the guard, then deletes it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

TRect MeasureIn(HDC dc, const std::string& text, const TRect& bounds, const TJvFont& font,
                uint32_t flags) {
    Selected selectedFont(dc, CreateLabelFont(font));
    RECT r = ToRECT(bounds);
    ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return ToRect(r);
}

class TGdiLabelCanvas : public TJvLabelCanvas {
public:
    explicit TGdiLabelCanvas(HDC dc) : dc_(dc) {}

    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override {
        return MeasureIn(dc_, text, bounds, font, flags);
    }
    void FillRect(const TRect& rect, TColor color) override {
        SetBkColor(dc_, ToColorRef(color));
        const RECT r = ToRECT(rect);
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    void FrameRect(const TRect& rect, TColor color) override {
        HBRUSH brush = CreateSolidBrush(ToColorRef(color));
        const RECT r = ToRECT(rect);
        ::FrameRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    void Polyline(const std::vector<TPoint>& points, TColor color) override {
        std::vector<POINT> list;
        for (const TPoint& p : points) {
            list.push_back(POINT{p.x, p.y});
        }
        Selected pen(dc_, CreatePen(PS_SOLID, 1, ToColorRef(color)));
        ::Polyline(dc_, list.data(), static_cast<int>(list.size()));
    }
    void FloodFill(TPoint start, TColor fill, TColor border) override {
        Selected brush(dc_, CreateSolidBrush(ToColorRef(fill)));
        ExtFloodFill(dc_, start.x, start.y, ToColorRef(border), FLOODFILLBORDER);
    }
    void DrawLabelText(const std::string& text, const TRect& bounds, const TJvFont& font,
                       TColor color, uint32_t flags) override {
        Selected selectedFont(dc_, CreateLabelFont(font));
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, ToColorRef(color));
        RECT r = ToRECT(bounds);
        ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, flags);
    }

private:
    HDC dc_;
};

void RegisterLabelClass(WNDPROC windowProc) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
    registered = true;
}

}  // namespace

HFONT CreateLabelFont(const TJvFont& font) {
    const BYTE pitch = font.pitch == fpFixed      ? FIXED_PITCH
                       : font.pitch == fpVariable ? VARIABLE_PITCH
                                                  : DEFAULT_PITCH;
    return CreateFontA(font.height, 0, 0, 0, (font.style & fsBold) ? FW_BOLD : FW_NORMAL,
                       (font.style & fsItalic) != 0, (font.style & fsUnderline) != 0,
                       (font.style & fsStrikeOut) != 0, font.charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, font.name.c_str());
}

TJvLabelWin::TJvLabelWin(HWND parent, int32_t left, int32_t top, int32_t width, int32_t height)
    : label_(nullptr) {
    RegisterLabelClass(WndProc);
    handle_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, left, top, width, height,
                              parent, nullptr, GetModuleHandleA(nullptr), this);
    label_.BeginLoading();
    label_.SetBounds(left, top, width, height);
    label_.SetHost(this);
}

TJvLabelWin::~TJvLabelWin() {
    if (handle_ != nullptr) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void TJvLabelWin::Invalidate() {
    if (handle_ != nullptr) {
        InvalidateRect(handle_, nullptr, FALSE);
    }
}

void TJvLabelWin::BoundsChanged() {
    if (handle_ != nullptr) {
        MoveWindow(handle_, label_.Left(), label_.Top(), label_.Width(), label_.Height(), TRUE);
    }
}

bool TJvLabelWin::PointerOverLabel() {
    POINT pointer{};
    return GetCursorPos(&pointer) && WindowFromPoint(pointer) == handle_;
}

bool TJvLabelWin::ApplicationActive() {
    HWND active = GetForegroundWindow();
    return active != nullptr && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

TRect TJvLabelWin::MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                               uint32_t flags) {
    HDC dc = GetDC(handle_);
    const TRect measured = MeasureIn(dc, text, bounds, font, flags);
    ReleaseDC(handle_, dc);
    return measured;
}

LRESULT CALLBACK TJvLabelWin::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TJvLabelWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr || self->handle_ != window) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

void TJvLabelWin::RunEvent(const std::function<void()>& event) {
    if (runEvent) {
        runEvent(event);
        return;
    }
    try {
        event();
    } catch (const std::exception&) {
        // No dispatcher to show it: dropping it beats unwinding through the system's frames.
    }
}

LRESULT TJvLabelWin::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = handle_;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the label paints its whole area
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(handle_, &paint);
        TGdiLabelCanvas canvas(dc);
        label_.Paint(canvas);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
            RunEvent([this] { label_.MouseEnter(); });
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        RunEvent([this] { label_.MouseLeave(); });
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(handle_);
        RunEvent([this] { label_.MouseDown(mbLeft); });
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (GetCapture() == handle_) {
            ReleaseCapture();
        }
        RECT client;
        GetClientRect(handle_, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool click = wasPressed && PtInRect(&client, at);
        RunEvent([this, click] {
            if (click) {
                label_.Click();
            }
            label_.MouseUp(mbLeft);
        });
        return 0;
    }
    case WM_RBUTTONDOWN:
        RunEvent([this] { label_.MouseDown(mbRight); });
        return 0;
    case WM_RBUTTONUP:
        RunEvent([this] { label_.MouseUp(mbRight); });
        return 0;
    case WM_ENABLE:
        RunEvent([this, wParam] { label_.SetEnabled(wParam != FALSE); });
        return 0;
    case WM_WINDOWPOSCHANGED: {
        // After the change, so that a label just shown can find itself under the pointer.
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) {
            const bool visible = (flags & SWP_SHOWWINDOW) != 0;
            RunEvent([this, visible] { label_.SetVisible(visible); });
        }
        break;
    }
    case WM_NCDESTROY:
        handle_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
