#include "support/FakeCanvas.h"

#include <algorithm>

void FakeCanvas::FillRect(const TRect& rect, TColor color) {
    Record("fill", rect, color);
    const TColor rgb = ColorToRgb(color);
    for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y) {
        for (int32_t x = std::max(rect.left, 0); x < std::min(rect.right, width_); ++x) {
            pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x] = rgb;
        }
    }
}

void FakeCanvas::FillEllipse(const TRect& rect, TColor color) {
    Record("ellipse", rect, color);
}

void FakeCanvas::FillPolygon(const std::vector<TPoint>& points, TColor color) {
    Record("polygon", {}, color).points = points;
}

void FakeCanvas::TextRect(const TRect& bounds, const std::string& text, TColor color) {
    Record("text", bounds, color).text = text;
}

void FakeCanvas::SetSize(int32_t width, int32_t height) {
    ++resizes;
    Resize(width, height);
}

void FakeCanvas::FillRoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                               TColor color) {
    Op& op = Record("roundrect", rect, color);
    op.cornerWidth = cornerWidth;
    op.cornerHeight = cornerHeight;
}

TColor FakeCanvas::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return clNone;
    }
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x];
}

FakeCanvas::Op& FakeCanvas::Record(const char* kind, const TRect& rect, TColor color) {
    Op& op = ops.emplace_back();
    op.kind = kind;
    op.rect = rect;
    op.color = color;
    return op;
}

void FakeCanvas::Resize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), clNone);
}
