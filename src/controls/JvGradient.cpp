#include "controls/JvGradient.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t BandChannel(uint8_t start, uint8_t end, int32_t steps, int32_t band) {
    const double increment = (static_cast<double>(end) - start) / steps;
    return static_cast<uint8_t>(RoundHalfEven(start + band * increment) & 0xFF);
}

// Bands across one axis: `length` pixels split into n = min(steps, length) bands (at least one);
// band i covers [R(i * size), R((i + 1) * size)). Band n lies beyond the end and is drawn anyway.
template <typename FillBand>
void RenderBands(TColor start, TColor end, uint16_t steps, int32_t length, FillBand fill) {
    int32_t n = steps;
    if (n > length) {
        n = length;
    }
    if (n == 0) {
        n = 1;
    }
    const double size = static_cast<double>(length) / n;
    for (int32_t i = 0; i <= n; ++i) {
        fill(RoundHalfEven(i * size), RoundHalfEven((i + 1) * size),
             GradientBandColor(start, end, n, i));
    }
}

void RenderConcentric(TGradientBuffer& buffer, TJvGradientStyle style, TColor start, TColor end,
                      uint16_t steps, int32_t width, int32_t height) {
    buffer.FillRect({0, 0, width, height}, start);
    int32_t n = steps;
    n = std::min(n, width / 2);
    n = std::min(n, height / 2);
    if (n == 0) {
        n = 1;
    }
    const double stepX = static_cast<double>(width) / n / 2;
    const double stepY = static_cast<double>(height) / n / 2;
    for (int32_t i = 0; i <= n; ++i) {
        const int32_t m = RoundHalfEven(i * stepX);
        const int32_t t = RoundHalfEven(i * stepY);
        const TRect rect{m, t, width - m, height - t};
        const TColor color = GradientBandColor(start, end, n, i);
        switch (style) {
        case grEllipse:
            buffer.FillEllipse(rect, color);
            break;
        case grPyramid:
            buffer.FillRect(rect, color);
            break;
        default:
            buffer.FillRoundRect(rect, (width - 2 * m) / 2, (height - 2 * t) / 2, color);
            break;
        }
    }
}

}  // namespace

int32_t RoundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<int32_t>(std::nearbyint(value));
}

TColor GradientBandColor(TColor start, TColor end, int32_t steps, int32_t band) {
    return RgbColor(BandChannel(RedOf(start), RedOf(end), steps, band),
                    BandChannel(GreenOf(start), GreenOf(end), steps, band),
                    BandChannel(BlueOf(start), BlueOf(end), steps, band));
}

void RenderGradient(TGradientBuffer& buffer, TJvGradientStyle style, TColor start, TColor end,
                    uint16_t steps, int32_t width, int32_t height) {
    switch (style) {
    case grFilled:
        buffer.FillRect({0, 0, width, height}, start);
        break;
    case grHorizontal:
        RenderBands(start, end, steps, width, [&](int32_t from, int32_t to, TColor color) {
            buffer.FillRect({from, 0, to, height}, color);
        });
        break;
    case grVertical:
        RenderBands(start, end, steps, height, [&](int32_t from, int32_t to, TColor color) {
            buffer.FillRect({0, from, width, to}, color);
        });
        break;
    case grEllipse:
    case grPyramid:
    case grMount:
        RenderConcentric(buffer, style, start, end, steps, width, height);
        break;
    }
}

TRect AlignedBounds(TAlign align, const TRect& client, const TRect& bounds) {
    switch (align) {
    case alClient:
        return client;
    case alTop:
        return {client.left, client.top, client.right, client.top + bounds.Height()};
    case alBottom:
        return {client.left, client.bottom - bounds.Height(), client.right, client.bottom};
    case alLeft:
        return {client.left, client.top, client.left + bounds.Width(), client.bottom};
    case alRight:
        return {client.right - bounds.Width(), client.top, client.right, client.bottom};
    case alNone:
    case alCustom:
        break;
    }
    return bounds;
}

TJvGradient::TJvGradient(std::unique_ptr<TGradientBuffer> buffer, std::function<void()> invalidate)
    : buffer_(std::move(buffer)), invalidate_(std::move(invalidate)) {}

void TJvGradient::SetAlign(TAlign value) {
    if (value != align_) {
        align_ = value;
        Repaint();  // a new place may mean a new size; Paint compares it with the cached one
    }
}

void TJvGradient::SetBoundsRect(const TRect& value) {
    if (value != bounds_) {
        bounds_ = value;
        Repaint();
    }
}

void TJvGradient::SetStyle(TJvGradientStyle value) {
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TJvGradient::SetStartColor(TColor value) {
    if (value != startColor_) {
        startColor_ = value;
        Changed();
    }
}

void TJvGradient::SetEndColor(TColor value) {
    if (value != endColor_) {
        endColor_ = value;
        Changed();
    }
}

void TJvGradient::SetSteps(uint16_t value) {
    if (value != steps_) {
        steps_ = value;
        Changed();
    }
}

void TJvGradient::Changed() {
    cachedWidth_ = 0;  // forces a rebuild on the next paint
    Repaint();
}

void TJvGradient::Repaint() {
    if (invalidate_) {
        invalidate_();
    }
}

void TJvGradient::Paint(int32_t width, int32_t height) {
    if (destroying_) {
        return;
    }
    if (!IsCached(width, height)) {
        const TColor start = ColorToRgb(startColor_);
        const TColor end = ColorToRgb(endColor_);
        cachedWidth_ = width;
        cachedHeight_ = height;
        if (width <= 0 || height <= 0) {
            return;
        }
        buffer_->SetSize(width, height);
        ++renderCount_;
        RenderGradient(*buffer_, style_, start, end, steps_, width, height);
    }
    if (width > 0 && height > 0) {
        buffer_->CopyToControl();
    }
}
