#include "platform/Gdi_win.h"

COLORREF ToColorRef(TColor color) {
    return static_cast<COLORREF>(ColorToRgb(color));
}

RECT ToRECT(const TRect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

TRect ToRect(const RECT& rect) {
    return TRect{rect.left, rect.top, rect.right, rect.bottom};
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void DrawFrame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

SIZE TextExtent(HFONT font, const std::string& text) {
    TWindowDC screen;
    TSelection selection(screen, font);
    SIZE size = TextExtent(screen, text);
    if (text.empty()) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen, &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

RECT DrawTextBounds(HDC dc, const std::string& text, const RECT& bounds, UINT format) {
    RECT rect = bounds;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return rect;
}
