#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Platform.h"

enum TJvGradientStyle : uint8_t {
    grFilled,
    grEllipse,
    grHorizontal,
    grVertical,
    grPyramid,
    grMount
};

enum TAlign : uint8_t {
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient,
    alCustom
};

// The off-screen picture the gradient renders into and copies to the screen. Colours handed to
// it are always plain red/green/blue values; shapes are filled and outlined in the same colour.
class TGradientBuffer {
public:
    virtual ~TGradientBuffer() = default;
    virtual void SetSize(int32_t width, int32_t height) = 0;
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    virtual void FillEllipse(const TRect& rect, TColor color) = 0;
    virtual void FillRoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                               TColor color) = 0;
    // Copies the picture onto the control at 0,0.
    virtual void CopyToControl() = 0;
};

// Nearest integer, halves to the even neighbour (2.5 -> 2, 7.5 -> 8).
int32_t RoundHalfEven(double value);

// Colour of band `band` of `steps` between two plain colours, each channel rounded on its own.
TColor GradientBandColor(TColor start, TColor end, int32_t steps, int32_t band);

// Renders a gradient of the given size into buffer. Colours must be resolved already.
void RenderGradient(TGradientBuffer& buffer, TJvGradientStyle style, TColor start, TColor end,
                    uint16_t steps, int32_t width, int32_t height);

// Where a control with the given alignment lies in its parent's client area: alClient fills it,
// alTop/alBottom keep the control's height across the full width, alLeft/alRight its width
// down the full height, and alNone/alCustom keep the control's own bounds.
TRect AlignedBounds(TAlign align, const TRect& client, const TRect& bounds);

// A windowless control that fills its parent with a colour gradient. The picture is rendered
// once per size or property change; every other paint only copies it.
class TJvGradient {
public:
    // buffer: the picture the control owns; invalidate: asks the platform for a repaint.
    TJvGradient(std::unique_ptr<TGradientBuffer> buffer, std::function<void()> invalidate = {});

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    // The control's own bounds in its parent, used unless Align places it.
    const TRect& BoundsRect() const { return bounds_; }
    void SetBoundsRect(const TRect& value);
    TJvGradientStyle Style() const { return style_; }
    void SetStyle(TJvGradientStyle value);
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor value);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor value);
    uint16_t Steps() const { return steps_; }
    void SetSteps(uint16_t value);

    // Marks the control as being destroyed: paints do nothing from then on.
    void SetDestroying() { destroying_ = true; }

    // Paints the control at its current size, rendering the picture first when needed.
    void Paint(int32_t width, int32_t height);

    TGradientBuffer& Buffer() { return *buffer_; }
    // True while the picture matches the size given (a paint would only copy it).
    bool IsCached(int32_t width, int32_t height) const {
        return width == cachedWidth_ && height == cachedHeight_;
    }
    // How often the picture was rendered (not merely copied) so far.
    int32_t RenderCount() const { return renderCount_; }

private:
    void Changed();
    void Repaint();

    std::unique_ptr<TGradientBuffer> buffer_;
    std::function<void()> invalidate_;
    TAlign align_ = alClient;
    TRect bounds_;
    TJvGradientStyle style_ = grHorizontal;
    TColor startColor_ = clBlue;
    TColor endColor_ = clBlack;
    uint16_t steps_ = 100;
    int32_t cachedWidth_ = 0;
    int32_t cachedHeight_ = 0;
    int32_t renderCount_ = 0;
    bool destroying_ = false;
};
