#pragma once

#include <string>

#include "base/WinApi.h"
#include "platform/Platform.h"

// The small drawing chores every window of ours has: colour and rectangle conversion, guards
// that give device contexts and selected objects back, solid fills, one-pixel frames and text
// measuring.

// A colour as GDI takes it: system colours resolved through the installed lookup.
COLORREF ToColorRef(TColor color);

RECT ToRECT(const TRect& rect);
TRect ToRect(const RECT& rect);

// The device context of a window's client area (of the screen for nullptr) while it lives.
class TWindowDC {
public:
    explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC() { ReleaseDC(window_, dc_); }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another one (the screen for nullptr) while it lives.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() { DeleteDC(dc_); }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;

    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context while it lives, then selects the previous one back.
// An object made for one drawing (a pen, brush or font) is handed over with kDelete and deleted
// after that.
class TSelection {
public:
    enum TOwnership {
        kKeep,
        kDelete
    };
    TSelection(HDC dc, HGDIOBJ object, TOwnership ownership = kKeep)
        : dc_(dc), object_(object), old_(SelectObject(dc, object)), ownership_(ownership) {}
    ~TSelection() {
        SelectObject(dc_, old_);
        if (ownership_ == kDelete) {
            DeleteObject(object_);
        }
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
    TOwnership ownership_;
};

// Fills a rectangle with one colour (ExtTextOut's opaque background: no brush needed).
void FillSolid(HDC dc, const RECT& rect, COLORREF color);
// A one-pixel frame: top and left in one colour, bottom and right in the other.
void DrawFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

// Width and height of one line of text drawn with the font selected into the device context.
SIZE TextExtent(HDC dc, const std::string& text);
// Width and height of one line of text in the font, on the screen; an empty text is one line
// of the font high.
SIZE TextExtent(HFONT font, const std::string& text);
// The rectangle DrawTextA fills with the text from `bounds` (format | DT_CALCRECT).
RECT DrawTextBounds(HDC dc, const std::string& text, const RECT& bounds, UINT format);
