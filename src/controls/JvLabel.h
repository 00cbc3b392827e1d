#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

enum TAlignment : uint8_t {
    taLeftJustify,
    taRightJustify,
    taCenter
};
enum TTextLayout : uint8_t {
    tlTop,
    tlCenter,
    tlBottom
};
enum TJvTextEllipsis : uint8_t {
    teNone,
    teWordEllipsis,
    tePathEllipsis,
    teEndEllipsis
};
enum TShadowPosition : uint8_t {
    spLeftTop,
    spLeftBottom,
    spRightBottom,
    spRightTop
};
enum TFontPitch : uint8_t {
    fpDefault,
    fpVariable,
    fpFixed
};
enum TMouseButton : uint8_t {
    mbLeft,
    mbRight,
    mbMiddle
};

// Font styles, a set of bits.
constexpr uint8_t fsBold = 1;
constexpr uint8_t fsItalic = 2;
constexpr uint8_t fsUnderline = 4;
constexpr uint8_t fsStrikeOut = 8;

struct TJvFont {
    std::string name = "MS Sans Serif";
    int32_t height = -11;  // negative: character height in pixels
    TColor color = clWindowText;
    uint8_t charset = 1;  // the default character set
    TFontPitch pitch = fpDefault;
    uint8_t style = 0;
    friend bool operator==(const TJvFont&, const TJvFont&) = default;
};

enum TJvTrackFontOption : uint8_t {
    hoFollowFont,
    hoPreserveCharSet,
    hoPreserveColor,
    hoPreserveHeight,
    hoPreserveName,
    hoPreservePitch,
    hoPreserveStyle,
};
// A set of TJvTrackFontOption, one bit per option.
using TJvTrackFontOptions = uint8_t;
constexpr TJvTrackFontOptions TrackFontOptions(std::initializer_list<TJvTrackFontOption> options) {
    TJvTrackFontOptions set = 0;
    for (TJvTrackFontOption option : options) {
        set = static_cast<TJvTrackFontOptions>(set | (1u << option));
    }
    return set;
}
constexpr bool HasOption(TJvTrackFontOptions set, TJvTrackFontOption option) {
    return (set >> option) & 1u;
}

// Text drawing options; the values are those of the platform's text-drawing flags.
constexpr uint32_t kTextLeft = 0x0;
constexpr uint32_t kTextCenter = 0x1;
constexpr uint32_t kTextRight = 0x2;
constexpr uint32_t kTextWordBreak = 0x10;
constexpr uint32_t kTextExpandTabs = 0x40;
constexpr uint32_t kTextCalcRect = 0x400;
constexpr uint32_t kTextNoPrefix = 0x800;
constexpr uint32_t kTextPathEllipsis = 0x4000;
constexpr uint32_t kTextEndEllipsis = 0x8000;
constexpr uint32_t kTextWordEllipsis = 0x40000;

class TJvTextMeasurer {
public:
    virtual ~TJvTextMeasurer() = default;
    // The rectangle the text occupies when drawn into `bounds` (its top-left stays put).
    virtual TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                              uint32_t flags) = 0;
};

// Where the label paints: client coordinates, colours possibly system colours.
class TJvLabelCanvas : public TJvTextMeasurer {
public:
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    virtual void FrameRect(const TRect& rect, TColor color) = 0;
    virtual void Polyline(const std::vector<TPoint>& points, TColor color) = 0;
    virtual void FloodFill(TPoint start, TColor fill, TColor border) = 0;
    virtual void DrawLabelText(const std::string& text, const TRect& bounds, const TJvFont& font,
                               TColor color, uint32_t flags) = 0;
};

// What the label asks of the window that shows it.
class TJvLabelHost {
public:
    virtual ~TJvLabelHost() = default;
    virtual void Invalidate() = 0;         // repaint soon
    virtual void BoundsChanged() = 0;      // Left/Top/Width/Height were changed by the label
    virtual bool PointerOverLabel() = 0;   // the control under the pointer is this label
    virtual bool ApplicationActive() = 0;  // the active window belongs to this application
    virtual TJvTextMeasurer& Measurer() = 0;
};

// A text label that opens a URL when clicked and can switch to a second font while the pointer
// is over it.
class TJvLabel {
public:
    explicit TJvLabel(TJvLabelHost* host = nullptr) : host_(host) {}
    void SetHost(TJvLabelHost* host) { host_ = host; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& value) { url_ = value; }
    bool AutoOpenURL() const { return autoOpenURL_; }
    void SetAutoOpenURL(bool value) { autoOpenURL_ = value; }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value) { hotTrack_ = value; }
    const TJvFont& HotTrackFont() const { return hotTrackFont_; }
    void SetHotTrackFont(const TJvFont& value);
    TJvTrackFontOptions HotTrackFontOptions() const { return hotTrackFontOptions_; }
    void SetHotTrackFontOptions(TJvTrackFontOptions value);
    const TJvFont& Font() const { return font_; }
    void SetFont(const TJvFont& value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value) { parentFont_ = value; }
    void ParentFontChanged(const TJvFont& parentFont);  // the parent's font, applied if ParentFont
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value) { parentColor_ = value; }
    void ParentColorChanged(TColor parentColor);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { Set(transparent_, value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { Set(alignment_, value); }
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value) { Set(layout_, value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TJvTextEllipsis TextEllipsis() const { return textEllipsis_; }
    void SetTextEllipsis(TJvTextEllipsis value) { Set(textEllipsis_, value); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value) { Set(shadowColor_, value); }
    uint8_t ShadowSize() const { return shadowSize_; }
    void SetShadowSize(uint8_t value) { Set(shadowSize_, value); }
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition value) { Set(shadowPos_, value); }
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor value) { Set(frameColor_, value); }
    int32_t RoundedFrame() const { return roundedFrame_; }
    void SetRoundedFrame(int32_t value);
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t value);
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);

    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // Loading: while stored values are applied the label does not size itself.
    void BeginLoading() { loading_ = true; }
    void Loaded();

    // Pointer and button notifications from the platform.
    void MouseEnter();
    void MouseLeave();
    void MouseDown(TMouseButton button);
    void MouseUp(TMouseButton button);
    void Click();
    void CheckPointer();  // re-checks whether the pointer is over the label

    bool PointerOver() const { return pointerOver_; }
    // The font text is measured and drawn with now.
    const TJvFont& CurrentFont() const { return pointerOver_ ? hotTrackFont_ : font_; }
    uint32_t TextFlags() const;

    void Paint(TJvLabelCanvas& canvas);
    void AdjustBounds();

private:
    template <typename T>
    void Set(T& field, const T& value) {
        if (field != value) {
            field = value;
            Invalidate();
        }
    }
    void Invalidate();
    void FontChanged();
    void UpdateTrackFont();

    TJvLabelHost* host_;
    std::string caption_;
    std::string url_;
    bool autoOpenURL_ = true;
    bool hotTrack_ = false;
    TJvFont hotTrackFont_;
    TJvTrackFontOptions hotTrackFontOptions_ =
        TrackFontOptions({hoFollowFont, hoPreserveColor, hoPreserveStyle});
    TJvFont font_;
    bool parentFont_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    bool transparent_ = false;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TJvTextEllipsis textEllipsis_ = teNone;
    TColor shadowColor_ = clBtnHighlight;
    uint8_t shadowSize_ = 0;
    TShadowPosition shadowPos_ = spRightBottom;
    TColor frameColor_ = clNone;
    int32_t roundedFrame_ = 0;
    int32_t margin_ = 0;
    int32_t spacing_ = 4;
    bool enabled_ = true;
    bool visible_ = true;
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t width_ = 65;
    int32_t height_ = 17;
    bool loading_ = false;
    bool pointerOver_ = false;
};
