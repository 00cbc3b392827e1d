#include "controls/JvLabel.h"

// The pointer-over flag decides the font (HotTrackFont while set); HotTrack only decides whether
// entering and leaving repaint and re-measure at once. The hot-track font follows Font in the
// attributes its options do not preserve.

namespace {

constexpr int32_t kShowNormal = 1;

TRect Offset(const TRect& r, int32_t dx, int32_t dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// An outline with its corners cut by `cut` pixels.
std::vector<TPoint> EightCorners(int32_t width, int32_t height, int32_t cut) {
    const int32_t r = width - 1;
    const int32_t b = height - 1;
    return {{cut, 0}, {r - cut, 0}, {r, cut}, {r, b - cut}, {r - cut, b},
            {cut, b}, {0, b - cut}, {0, cut}, {cut, 0}};
}

}  // namespace

void TJvLabel::SetCaption(const std::string& value) {
    if (value != caption_) {
        caption_ = value;
        Invalidate();
        AdjustBounds();
    }
}

void TJvLabel::SetHotTrackFont(const TJvFont& value) {
    if (value != hotTrackFont_) {
        hotTrackFont_ = value;
        if (pointerOver_) {
            Invalidate();
        }
    }
}

void TJvLabel::SetHotTrackFontOptions(TJvTrackFontOptions value) {
    if (value != hotTrackFontOptions_) {
        hotTrackFontOptions_ = value;
        UpdateTrackFont();
    }
}

void TJvLabel::SetFont(const TJvFont& value) {
    parentFont_ = false;
    if (value != font_) {
        font_ = value;
        FontChanged();
    }
}

void TJvLabel::ParentFontChanged(const TJvFont& parentFont) {
    if (parentFont_ && parentFont != font_) {
        font_ = parentFont;
        FontChanged();
    }
}

void TJvLabel::SetColor(TColor value) {
    parentColor_ = false;
    Set(color_, value);
}

void TJvLabel::ParentColorChanged(TColor parentColor) {
    if (parentColor_) {
        Set(color_, parentColor);
    }
}

void TJvLabel::SetAutoSize(bool value) {
    if (value != autoSize_) {
        autoSize_ = value;
        AdjustBounds();
    }
}

void TJvLabel::SetWordWrap(bool value) {
    if (value != wordWrap_) {
        wordWrap_ = value;
        Invalidate();
        AdjustBounds();
    }
}

void TJvLabel::SetShowAccelChar(bool value) {
    if (value != showAccelChar_) {
        showAccelChar_ = value;
        Invalidate();
        AdjustBounds();
    }
}

void TJvLabel::SetRoundedFrame(int32_t value) {
    if (value >= 0 && value < height_ / 2) {
        Set(roundedFrame_, value);
    }
}

void TJvLabel::SetMargin(int32_t value) {
    value = value < 0 ? 0 : value;
    if (value != margin_) {
        margin_ = value;
        Invalidate();
        AdjustBounds();
    }
}

void TJvLabel::SetSpacing(int32_t value) {
    if (value != spacing_) {
        spacing_ = value;
        Invalidate();
        AdjustBounds();
    }
}

void TJvLabel::SetEnabled(bool value) {
    if (value != enabled_) {
        enabled_ = value;
        Invalidate();
        CheckPointer();
    }
}

void TJvLabel::SetVisible(bool value) {
    if (value != visible_) {
        visible_ = value;
        Invalidate();
        if (visible_) {
            CheckPointer();
        }
    }
}

void TJvLabel::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (host_) {
        host_->BoundsChanged();
    }
    Invalidate();
}

void TJvLabel::Loaded() {
    loading_ = false;
    AdjustBounds();
}

void TJvLabel::MouseEnter() {
    pointerOver_ = true;
    if (OnMouseEnter) {
        OnMouseEnter();
    }
    if (pointerOver_ && enabled_ && hotTrack_ && host_ && host_->ApplicationActive()) {
        FontChanged();
    }
}

void TJvLabel::MouseLeave() {
    if (pointerOver_ && hotTrack_) {
        FontChanged();  // while the flag is still set
    }
    pointerOver_ = false;
    if (OnMouseLeave) {
        OnMouseLeave();
    }
}

void TJvLabel::MouseDown(TMouseButton button) {
    if (button == mbRight) {
        CheckPointer();
    }
}

void TJvLabel::MouseUp(TMouseButton) {
    CheckPointer();
}

void TJvLabel::Click() {
    if (OnClick) {
        OnClick();
    }
    if (autoOpenURL_ && !url_.empty()) {
        // The shell's answer is not examined: a link that cannot be opened changes nothing.
        ShellOpen({nullptr, "open", url_, "", "", kShowNormal});
    }
}

void TJvLabel::CheckPointer() {
    const bool over = enabled_ && host_ && host_->PointerOverLabel() && host_->ApplicationActive();
    if (over == pointerOver_) {
        return;
    }
    if (over) {
        MouseEnter();
    } else {
        MouseLeave();
    }
}

uint32_t TJvLabel::TextFlags() const {
    uint32_t flags = kTextExpandTabs;
    switch (alignment_) {
    case taLeftJustify:
        flags |= kTextLeft;
        break;
    case taRightJustify:
        flags |= kTextRight;
        break;
    case taCenter:
        flags |= kTextCenter;
        break;
    }
    if (wordWrap_) {
        flags |= kTextWordBreak;
    }
    switch (textEllipsis_) {
    case teNone:
        break;
    case teWordEllipsis:
        flags |= kTextWordEllipsis;
        break;
    case tePathEllipsis:
        flags |= kTextPathEllipsis;
        break;
    case teEndEllipsis:
        flags |= kTextEndEllipsis;
        break;
    }
    if (!showAccelChar_) {
        flags |= kTextNoPrefix;
    }
    return flags;
}

void TJvLabel::Paint(TJvLabelCanvas& canvas) {
    const TRect client{0, 0, width_, height_};
    const bool framed = frameColor_ != clNone;
    const bool rounded = framed && roundedFrame_ != 0;
    if (!transparent_ && !rounded) {
        canvas.FillRect(client, color_);
    }
    if (framed) {
        if (!rounded) {
            canvas.FrameRect(client, frameColor_);
        } else {
            canvas.Polyline(EightCorners(width_, height_, roundedFrame_), frameColor_);
            if (!transparent_) {
                canvas.FloodFill({width_ / 2, height_ / 2}, color_, frameColor_);
            }
        }
    }

    const TJvFont& font = CurrentFont();
    const uint32_t flags = TextFlags();
    int32_t offset = 0;
    if (layout_ != tlTop) {
        const TRect measuring{margin_ + 1, margin_, width_ - 1 - margin_, height_ - margin_};
        const TRect measured = canvas.MeasureText(caption_, measuring, font, flags | kTextCalcRect);
        offset = height_ - margin_ - measured.bottom;
        if (layout_ == tlCenter) {
            offset /= 2;  // towards zero
        }
    }
    const TRect text{margin_, margin_ + offset, width_ - 1 - margin_, height_ - margin_};

    TColor shadowColor = shadowColor_;
    TColor textColor = font.color;
    int32_t shadowSize = shadowSize_;
    TShadowPosition shadowPos = shadowPos_;
    if (!enabled_) {
        shadowColor = clBtnHighlight;
        textColor = clGrayText;
        if (shadowSize == 0) {
            shadowSize = 1;
            shadowPos = spRightBottom;
        }
    }
    if (shadowSize > 0) {
        const int32_t dx =
            shadowPos == spLeftTop || shadowPos == spLeftBottom ? -shadowSize : shadowSize;
        const int32_t dy =
            shadowPos == spLeftTop || shadowPos == spRightTop ? -shadowSize : shadowSize;
        canvas.DrawLabelText(caption_, Offset(text, dx, dy), font, shadowColor, flags);
    }
    canvas.DrawLabelText(caption_, text, font, textColor, flags);
}

void TJvLabel::AdjustBounds() {
    if (!autoSize_ || loading_ || !host_) {
        return;
    }
    const bool blank = caption_.empty() || (showAccelChar_ && caption_ == "&");
    const std::string text = blank ? std::string(1, ' ') : caption_;
    const TRect measured = host_->Measurer().MeasureText(text, {0, 0, width_ - 2, 0}, CurrentFont(),
                                                         TextFlags() | kTextCalcRect);
    const int32_t width = measured.Width() + 2 + 2 * margin_;
    const int32_t height = measured.Height() + 2 * margin_;
    const int32_t left = alignment_ == taRightJustify ? left_ + width_ - width : left_;
    SetBounds(left, top_, width, height);
}

void TJvLabel::Invalidate() {
    if (host_) {
        host_->Invalidate();
    }
}

void TJvLabel::FontChanged() {
    Invalidate();
    AdjustBounds();
    UpdateTrackFont();
}

void TJvLabel::UpdateTrackFont() {
    const TJvTrackFontOptions options = hotTrackFontOptions_;
    if (!HasOption(options, hoFollowFont)) {
        return;
    }
    TJvFont track = hotTrackFont_;
    if (!HasOption(options, hoPreserveCharSet)) {
        track.charset = font_.charset;
    }
    if (!HasOption(options, hoPreserveColor)) {
        track.color = font_.color;
    }
    if (!HasOption(options, hoPreserveHeight)) {
        track.height = font_.height;
    }
    if (!HasOption(options, hoPreserveName)) {
        track.name = font_.name;
    }
    if (!HasOption(options, hoPreservePitch)) {
        track.pitch = font_.pitch;
    }
    if (!HasOption(options, hoPreserveStyle)) {
        track.style = font_.style;
    }
    SetHotTrackFont(track);
}
