#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/JvGradient.h"
#include "platform/Platform.h"

// A drawing surface in memory, usable as a plain canvas or as the gradient's off-screen picture.
// Rectangles are written into a pixel array (clipped, colours resolved with ColorToRgb); every
// call is recorded so tests can check shapes and texts that are not rasterised.
class FakeCanvas : public TCanvas, public TGradientBuffer {
public:
    struct Op {
        std::string kind;  // "fill", "ellipse", "roundrect", "polygon", "text"
        TRect rect;
        TColor color = 0;
        int32_t cornerWidth = 0;
        int32_t cornerHeight = 0;
        std::vector<TPoint> points;
        std::string text;
    };

    explicit FakeCanvas(int32_t width = 0, int32_t height = 0) { Resize(width, height); }

    // TCanvas and TGradientBuffer
    void FillRect(const TRect& rect, TColor color) override;
    void FillEllipse(const TRect& rect, TColor color) override;
    // TCanvas
    void FillPolygon(const std::vector<TPoint>& points, TColor color) override;
    void TextRect(const TRect& bounds, const std::string& text, TColor color) override;
    // TGradientBuffer
    void SetSize(int32_t width, int32_t height) override;
    void FillRoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                       TColor color) override;
    void CopyToControl() override { ++copies; }

    TColor Pixel(int32_t x, int32_t y) const;  // clNone outside or where nothing was filled
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    std::vector<Op> ops;
    int32_t resizes = 0;
    int32_t copies = 0;

private:
    Op& Record(const char* kind, const TRect& rect, TColor color);
    void Resize(int32_t width, int32_t height);

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<TColor> pixels_;
};
