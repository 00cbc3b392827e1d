#pragma once

#include <memory>

#include "base/WinApi.h"
#include "controls/JvGradient.h"

// The gradient on a window: the picture lives in a memory bitmap, and painting the window's
// background copies it (the window's erase-background step calls PaintBackground).
class TJvGradientWin {
public:
    explicit TJvGradientWin(HWND parent);
    ~TJvGradientWin();
    TJvGradientWin(const TJvGradientWin&) = delete;
    TJvGradientWin& operator=(const TJvGradientWin&) = delete;

    TJvGradient& Gradient() { return *gradient_; }
    // Paints the gradient into dc where its Align puts it in `client` (alClient: all of it).
    void PaintBackground(HDC dc, const RECT& client);

private:
    HWND parent_;
    class TGdiGradientBuffer* buffer_;  // owned by gradient_
    std::unique_ptr<TJvGradient> gradient_;
};
