#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/JvGradient.h"

// An off-screen picture in memory: rectangles are written into a pixel array (clipped), and every
// drawing call is recorded so tests can check shapes that are not rasterised exactly.
class FakeCanvas : public TGradientBuffer {
public:
    struct Op {
        std::string kind;  // "fill", "ellipse", "roundrect"
        TRect rect;
        TColor color = 0;
        int32_t cornerWidth = 0;
        int32_t cornerHeight = 0;
    };

    void SetSize(int32_t width, int32_t height) override;
    void FillRect(const TRect& rect, TColor color) override;
    void Ellipse(const TRect& rect, TColor color) override;
    void RoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                   TColor color) override;
    void CopyToControl() override { ++copies; }

    TColor Pixel(int32_t x, int32_t y) const;
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    std::vector<Op> ops;
    int32_t resizes = 0;
    int32_t copies = 0;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<TColor> pixels_;
};
