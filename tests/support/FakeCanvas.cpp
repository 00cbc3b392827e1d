#include "support/FakeCanvas.h"

#include <algorithm>

void FakeCanvas::SetSize(int32_t width, int32_t height) {
    ++resizes;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), clNone);
}

void FakeCanvas::FillRect(const TRect& rect, TColor color) {
    ops.push_back({"fill", rect, color});
    for (int32_t y = std::max(rect.Top, 0); y < std::min(rect.Bottom, height_); ++y) {
        for (int32_t x = std::max(rect.Left, 0); x < std::min(rect.Right, width_); ++x) {
            pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x] = color;
        }
    }
}

void FakeCanvas::Ellipse(const TRect& rect, TColor color) {
    ops.push_back({"ellipse", rect, color});
}

void FakeCanvas::RoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                           TColor color) {
    ops.push_back({"roundrect", rect, color, cornerWidth, cornerHeight});
}

TColor FakeCanvas::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return clNone;
    }
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x];
}
