#include "platform/SpeedButton_win.h"

#include "platform/Controls_win.h"

namespace {

constexpr char kClassName[] = "TSpeedButton";
constexpr int kGlyphSize = 16;
constexpr int kSpacing = 4;

struct ButtonState {
    HBITMAP glyph = nullptr;
    HFONT font = nullptr;
    bool pressed = false;  // mouse button held down on it
    bool inside = false;   // pointer over it
};

ButtonState* StateOf(HWND window) {
    return reinterpret_cast<ButtonState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Click(HWND window) {
    HWND parent = GetParent(window);
    const int id = GetDlgCtrlID(window);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

void PaintParentBackground(HWND window, HDC dc) {
    HWND parent = GetParent(window);
    POINT origin{0, 0};
    MapWindowPoints(window, parent, &origin, 1);
    POINT previous;
    SetWindowOrgEx(dc, origin.x, origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
}

void DrawGlyph(HDC dc, HBITMAP glyph, int left, int top) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, glyph);
    const COLORREF transparent = GetPixel(memory, 0, kGlyphSize - 1);
    TransparentBlt(dc, left, top, kGlyphSize, kGlyphSize, memory, 0, 0, kGlyphSize, kGlyphSize,
                   transparent);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void Paint(HWND window, HDC dc) {
    ButtonState* state = StateOf(window);
    RECT client;
    GetClientRect(window, &client);
    PaintParentBackground(window, dc);

    const bool down = state->pressed && state->inside;
    if (down) {
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (state->inside) {
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }

    const std::string caption = GetText(window);
    HGDIOBJ oldFont = SelectObject(dc, state->font != nullptr ? state->font : DefaultFormFont());
    SIZE textSize{0, 0};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
    const int glyphWidth = state->glyph != nullptr ? kGlyphSize + kSpacing : 0;
    const int offset = down ? 1 : 0;
    int left = (client.right - glyphWidth - textSize.cx + 1) / 2 + offset;
    if (state->glyph != nullptr) {
        DrawGlyph(dc, state->glyph, left, (client.bottom - kGlyphSize) / 2 + offset);
        left += glyphWidth;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT textRect{left, offset, left + textSize.cx, client.bottom + offset};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, oldFont);
}

void SetInside(HWND window, bool inside) {
    ButtonState* state = StateOf(window);
    if (state->inside != inside) {
        state->inside = inside;
        InvalidateRect(window, nullptr, FALSE);
    }
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = StateOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    case WM_SETFONT:
        if (state != nullptr) {
            state->font = reinterpret_cast<HFONT>(wParam);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        state->pressed = true;
        state->inside = true;
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE: {
        RECT client;
        GetClientRect(window, &client);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool inside = PtInRect(&client, point) != FALSE;
        if (inside && !state->pressed) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
        }
        SetInside(window, inside);
        return 0;
    }
    case WM_MOUSELEAVE:
        if (!state->pressed) {
            SetInside(window, false);
        }
        return 0;
    case WM_LBUTTONUP: {
        const bool click = state->pressed && state->inside;
        state->pressed = false;
        ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        if (click) {
            Click(window);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        state->pressed = false;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(window)) {
            Click(window);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;  // dialog navigation skips it
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        Paint(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETTEXT:
    case WM_ENABLE: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterButtonClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ButtonProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
    registered = true;
}

}  // namespace

HWND CreateSpeedButton(HWND parent, const TRect& bounds, int32_t id, const std::string& caption,
                       HBITMAP glyph, HFONT font) {
    RegisterButtonClass();
    auto* state = new ButtonState;
    state->glyph = glyph;
    state->font = font != nullptr ? font : DefaultFormFont();
    HWND button = CreateWindowExA(0, kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE,
                                  bounds.left, bounds.top, bounds.Width(), bounds.Height(), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), state);
    if (button == nullptr) {
        delete state;
    }
    return button;
}
