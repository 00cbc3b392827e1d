#include "platform/SpeedButton_win.h"

#include "platform/Controls_win.h"
#include "platform/Gdi_win.h"
#include "platform/Window_win.h"

namespace {

constexpr int kGlyphSize = 16;
constexpr int kSpacing = 4;

// The button belongs to its window: it is made by CreateSpeedButton and deletes itself when the
// window is destroyed.
class TSpeedButton : public TWindow {
public:
    TSpeedButton(HBITMAP glyph, HFONT font) : glyph_(glyph), font_(font) {}

    HWND Create(HWND parent, const TRect& bounds, int32_t id, const std::string& caption) {
        return TWindow::Create({"TSpeedButton", CS_DBLCLKS}, 0, caption.c_str(),
                               WS_CHILD | WS_VISIBLE, bounds, parent, ChildId(id));
    }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroyed() override { delete this; }

private:
    void Click();
    void PaintParentBackground(HDC dc);
    void Paint(HDC dc);
    void SetInside(bool inside);

    HBITMAP glyph_;
    HFONT font_;
    bool pressed_ = false;  // mouse button held down on it
    bool inside_ = false;   // pointer over it
};

void TSpeedButton::Click() {
    HWND parent = GetParent(Handle());
    const int id = GetDlgCtrlID(Handle());
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

void TSpeedButton::PaintParentBackground(HDC dc) {
    HWND parent = GetParent(Handle());
    POINT origin{0, 0};
    MapWindowPoints(Handle(), parent, &origin, 1);
    POINT previous;
    SetWindowOrgEx(dc, origin.x, origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
}

void DrawGlyph(HDC dc, HBITMAP glyph, int left, int top) {
    TMemoryDC memory(dc);
    TSelection selection(memory, glyph);
    const COLORREF transparent = GetPixel(memory, 0, kGlyphSize - 1);
    // GDI32's own transparent blit: MSIMG32's TransparentBlt only forwards to it, and that
    // library would be one more to load at start-up.
    GdiTransparentBlt(dc, left, top, kGlyphSize, kGlyphSize, memory, 0, 0, kGlyphSize, kGlyphSize,
                      transparent);
}

void TSpeedButton::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    PaintParentBackground(dc);

    const bool down = pressed_ && inside_;
    if (down) {
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (inside_) {
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }

    const std::string caption = GetText(Handle());
    TSelection selectedFont(dc, font_ != nullptr ? font_ : DefaultFormFont());
    const SIZE textSize = TextExtent(dc, caption);
    const int glyphWidth = glyph_ != nullptr ? kGlyphSize + kSpacing : 0;
    const int offset = down ? 1 : 0;
    int left = (client.right - glyphWidth - textSize.cx + 1) / 2 + offset;
    if (glyph_ != nullptr) {
        DrawGlyph(dc, glyph_, left, (client.bottom - kGlyphSize) / 2 + offset);
        left += glyphWidth;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT textRect{left, offset, left + textSize.cx, client.bottom + offset};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

void TSpeedButton::SetInside(bool inside) {
    if (inside_ != inside) {
        inside_ = inside;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

LRESULT TSpeedButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Handle();
    switch (message) {
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        inside_ = true;
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE: {
        RECT client;
        GetClientRect(window, &client);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool inside = PtInRect(&client, point) != FALSE;
        if (inside && !pressed_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
        }
        SetInside(inside);
        return 0;
    }
    case WM_MOUSELEAVE:
        if (!pressed_) {
            SetInside(false);
        }
        return 0;
    case WM_LBUTTONUP: {
        const bool click = pressed_ && inside_;
        pressed_ = false;
        ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        if (click) {
            Click();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(window)) {
            Click();
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;  // dialog navigation skips it
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETTEXT:
    case WM_ENABLE: {
        const LRESULT result = TWindow::WndProc(message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    return TWindow::WndProc(message, wParam, lParam);
}

}  // namespace

HWND CreateSpeedButton(HWND parent, const TRect& bounds, int32_t id, const std::string& caption,
                       HBITMAP glyph, HFONT font) {
    auto* button = new TSpeedButton(glyph, font != nullptr ? font : DefaultFormFont());
    HWND window = button->Create(parent, bounds, id, caption);
    if (window == nullptr) {
        delete button;
    }
    return window;
}
