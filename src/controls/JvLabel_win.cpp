#include "controls/JvLabel_win.h"

#include "platform/Gdi_win.h"

namespace {

static_assert(kTextCenter == DT_CENTER && kTextRight == DT_RIGHT &&
              kTextWordBreak == DT_WORDBREAK && kTextExpandTabs == DT_EXPANDTABS &&
              kTextCalcRect == DT_CALCRECT && kTextNoPrefix == DT_NOPREFIX &&
              kTextPathEllipsis == DT_PATH_ELLIPSIS && kTextEndEllipsis == DT_END_ELLIPSIS &&
              kTextWordEllipsis == DT_WORD_ELLIPSIS);

TRect MeasureIn(HDC dc, const std::string& text, const TRect& bounds, const TJvFont& font,
                uint32_t flags) {
    TSelection selectedFont(dc, CreateLabelFont(font), TSelection::kDelete);
    return ToRect(DrawTextBounds(dc, text, ToRECT(bounds), flags));
}

class TGdiLabelCanvas : public TJvLabelCanvas {
public:
    explicit TGdiLabelCanvas(HDC dc) : dc_(dc) {}

    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override {
        return MeasureIn(dc_, text, bounds, font, flags);
    }
    void FillRect(const TRect& rect, TColor color) override {
        FillSolid(dc_, ToRECT(rect), ToColorRef(color));
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
        TSelection pen(dc_, CreatePen(PS_SOLID, 1, ToColorRef(color)), TSelection::kDelete);
        ::Polyline(dc_, list.data(), static_cast<int>(list.size()));
    }
    void FloodFill(TPoint start, TColor fill, TColor border) override {
        TSelection brush(dc_, CreateSolidBrush(ToColorRef(fill)), TSelection::kDelete);
        ExtFloodFill(dc_, start.x, start.y, ToColorRef(border), FLOODFILLBORDER);
    }
    void DrawLabelText(const std::string& text, const TRect& bounds, const TJvFont& font,
                       TColor color, uint32_t flags) override {
        TSelection selectedFont(dc_, CreateLabelFont(font), TSelection::kDelete);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, ToColorRef(color));
        RECT r = ToRECT(bounds);
        ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, flags);
    }

private:
    HDC dc_;
};

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
    Create({"TJvLabel"}, 0, "", WS_CHILD | WS_VISIBLE, Bounds(left, top, width, height), parent);
    created_ = true;
    label_.BeginLoading();
    label_.SetBounds(left, top, width, height);
    label_.SetHost(this);
}

TJvLabelWin::~TJvLabelWin() {
    DestroyHandle();
}

void TJvLabelWin::Invalidate() {
    if (Handle() != nullptr) {
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TJvLabelWin::BoundsChanged() {
    if (Handle() != nullptr) {
        MoveWindow(Handle(), label_.Left(), label_.Top(), label_.Width(), label_.Height(), TRUE);
    }
}

bool TJvLabelWin::PointerOverLabel() {
    POINT pointer{};
    return GetCursorPos(&pointer) && WindowFromPoint(pointer) == Handle();
}

bool TJvLabelWin::ApplicationActive() {
    HWND active = GetForegroundWindow();
    return active != nullptr && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

TRect TJvLabelWin::MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                               uint32_t flags) {
    TWindowDC dc(Handle());
    return MeasureIn(dc, text, bounds, font, flags);
}

void TJvLabelWin::RunEvent(const std::function<void()>& event) {
    if (runEvent) {
        runEvent(event);
    } else {
        Dispatch(event);
    }
}

LRESULT TJvLabelWin::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!created_) {
        return TWindow::WndProc(message, wParam, lParam);
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the label paints its whole area
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        TGdiLabelCanvas canvas(dc);
        label_.Paint(canvas);
        EndPaint(Handle(), &paint);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
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
        SetCapture(Handle());
        RunEvent([this] { label_.MouseDown(mbLeft); });
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (GetCapture() == Handle()) {
            ReleaseCapture();
        }
        RECT client;
        GetClientRect(Handle(), &client);
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
    default:
        break;
    }
    return TWindow::WndProc(message, wParam, lParam);
}
