#pragma once

#include <cstdint>
#include <string>

#include "base/WinApi.h"
#include "platform/Platform.h"

// A flat push button with a 16 x 16 picture left of its caption. It never takes the keyboard
// focus and has no access key: only a mouse click (or BM_CLICK) presses it. A click sends
// WM_COMMAND (id, BN_CLICKED) to the parent, like a button. The background is the parent's,
// painted through the parent's WM_ERASEBKGND, so it sits on a gradient as well as on a colour.
// The picture's bottom-left pixel is its transparent colour. The button does not own `glyph`.
HWND CreateSpeedButton(HWND parent, const TRect& bounds, int32_t id, const std::string& caption,
                       HBITMAP glyph, HFONT font = nullptr);
