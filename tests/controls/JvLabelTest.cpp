#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/JvLabel.h"
#include "support/RecordingShell.h"

namespace {

// Text is 7 pixels per character for the default face and 9 for any other, one line
// |height| + 2 pixels high; "&" is not counted unless prefixes are off.
TRect Measure(const std::string& text, const TRect& bounds, const TJvFont& font, uint32_t flags) {
    int32_t chars = 0;
    for (char c : text) {
        chars += (c != '&' || (flags & kTextNoPrefix)) ? 1 : 0;
    }
    const int32_t perChar = font.name == "MS Sans Serif" ? 7 : 9;
    const int32_t lineHeight = (font.height < 0 ? -font.height : font.height) + 2;
    return {bounds.left, bounds.top, bounds.left + chars * perChar, bounds.top + lineHeight};
}

class RecordingLabelCanvas : public TJvLabelCanvas {
public:
    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override {
        return Measure(text, bounds, font, flags);
    }
    void FillRect(const TRect& rect, TColor color) override {
        ops.push_back("fill " + Text(rect) + " " + std::to_string(color));
    }
    void FrameRect(const TRect& rect, TColor color) override {
        ops.push_back("frame " + Text(rect) + " " + std::to_string(color));
    }
    void Polyline(const std::vector<TPoint>& points, TColor color) override {
        std::string op = "outline";
        for (const TPoint& p : points) {
            op += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        }
        ops.push_back(op + " " + std::to_string(color));
    }
    void FloodFill(TPoint start, TColor fill, TColor border) override {
        ops.push_back("flood " + std::to_string(start.x) + "," + std::to_string(start.y) + " " +
                      std::to_string(fill) + " " + std::to_string(border));
    }
    void DrawLabelText(const std::string& text, const TRect& bounds, const TJvFont& font,
                       TColor color, uint32_t flags) override {
        ops.push_back("text '" + text + "' " + Text(bounds) + " " + font.name + " " +
                      std::to_string(color) + " flags " + std::to_string(flags));
    }

    static std::string Text(const TRect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    }

    std::vector<std::string> ops;
};

class FakeLabelHost : public TJvLabelHost, public TJvTextMeasurer {
public:
    void Invalidate() override { ++invalidations; }
    void BoundsChanged() override { ++boundsChanges; }
    bool PointerOverLabel() override { return pointerOver; }
    bool ApplicationActive() override { return applicationActive; }
    TJvTextMeasurer& Measurer() override { return *this; }
    TRect MeasureText(const std::string& text, const TRect& bounds, const TJvFont& font,
                      uint32_t flags) override {
        measured.push_back(text);
        return Measure(text, bounds, font, flags);
    }

    int invalidations = 0;
    int boundsChanges = 0;
    bool pointerOver = false;
    bool applicationActive = true;
    std::vector<std::string> measured;
};

const std::string kWindow = std::to_string(clWindow);
const std::string kWindowText = std::to_string(clWindowText);

TEST(JvLabel, ClickRaisesOnClickThenOpensTheUrl) {
    RecordingShell shell;
    TJvLabel label;
    label.SetURL("https://forum.example.org/corvane");
    std::vector<size_t> opensSeenByOnClick;
    label.OnClick = [&] { opensSeenByOnClick.push_back(shell.Requests().size()); };
    label.Click();
    EXPECT_EQ(opensSeenByOnClick, std::vector<size_t>{0});
    ASSERT_EQ(shell.Requests().size(), 1u);
    const TShellOpenRequest& request = shell.Requests()[0];
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.file, "https://forum.example.org/corvane");
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.directory, "");
    EXPECT_EQ(request.showCommand, 1);
}

TEST(JvLabel, ClickOpensNothingWithoutUrlOrAutoOpen) {
    RecordingShell shell;
    int clicks = 0;
    TJvLabel empty;
    empty.OnClick = [&] { ++clicks; };
    empty.Click();
    TJvLabel manual;
    manual.SetURL("https://example.org/");
    manual.SetAutoOpenURL(false);
    manual.OnClick = [&] { ++clicks; };
    manual.Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(shell.Requests().empty());
}

TEST(JvLabel, HotTrackFontFollowsFontAsTheOptionsSay) {
    TJvFont changed;
    changed.name = "Arial";
    changed.height = -14;
    changed.color = clBlue;
    changed.style = fsBold;
    changed.charset = 0;
    changed.pitch = fpFixed;

    const struct {
        const char* name;
        TJvTrackFontOptions options;
        bool name_, height, color, style, charset, pitch;  // which attributes follow
    } cases[] = {
        {"default: colour and style preserved",
         TrackFontOptions({hoFollowFont, hoPreserveColor, hoPreserveStyle}), true, true, false,
         false, true, true},
        {"follow everything", TrackFontOptions({hoFollowFont}), true, true, true, true, true, true},
        {"not following", TrackFontOptions({hoPreserveColor}), false, false, false, false, false,
         false},
        {"preserve name, height, charset, pitch",
         TrackFontOptions(
             {hoFollowFont, hoPreserveName, hoPreserveHeight, hoPreserveCharSet, hoPreservePitch}),
         false, false, true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJvLabel label;
        label.SetHotTrackFontOptions(c.options);
        TJvFont track;
        track.color = clHotLight;
        track.style = fsUnderline;
        label.SetHotTrackFont(track);
        label.SetFont(changed);
        const TJvFont& h = label.HotTrackFont();
        EXPECT_EQ(h.name, c.name_ ? "Arial" : "MS Sans Serif");
        EXPECT_EQ(h.height, c.height ? -14 : -11);
        EXPECT_EQ(h.color, c.color ? clBlue : clHotLight);
        EXPECT_EQ(h.style, c.style ? fsBold : fsUnderline);
        EXPECT_EQ(h.charset, c.charset ? 0 : 1);
        EXPECT_EQ(h.pitch, c.pitch ? fpFixed : fpDefault);
    }
}

TEST(JvLabel, NewOptionsRefreshTheHotTrackFont) {
    TJvLabel label;
    label.SetHotTrackFontOptions(TrackFontOptions({}));
    TJvFont font;
    font.name = "Arial";
    label.SetFont(font);
    EXPECT_EQ(label.HotTrackFont().name, "MS Sans Serif");
    label.SetHotTrackFontOptions(TrackFontOptions({hoFollowFont}));
    EXPECT_EQ(label.HotTrackFont().name, "Arial");
}

TEST(JvLabel, EnteringAndLeavingRepaintOnlyWithHotTrackInAnActiveApplication) {
    const struct {
        const char* name;
        bool hotTrack, active, enabled;
        bool repaintsOnEnter;
    } cases[] = {
        {"hot-track, active", true, true, true, true},
        {"hot-track, another application active", true, false, true, false},
        {"hot-track, disabled", true, true, false, false},
        {"no hot-track", false, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLabelHost host;
        host.applicationActive = c.active;
        TJvLabel label(&host);
        label.SetHotTrack(c.hotTrack);
        label.SetEnabled(c.enabled);
        std::vector<std::string> events;
        label.OnMouseEnter = [&] { events.push_back("enter"); };
        label.OnMouseLeave = [&] {
            events.push_back(label.PointerOver() ? "leave while over" : "leave");
        };
        host.invalidations = 0;
        label.MouseEnter();
        EXPECT_TRUE(label.PointerOver());
        EXPECT_EQ(host.invalidations > 0, c.repaintsOnEnter);
        host.invalidations = 0;
        label.MouseLeave();
        EXPECT_FALSE(label.PointerOver());
        EXPECT_EQ(host.invalidations > 0, c.hotTrack);  // leaving repaints whenever hot-tracking
        EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
    }
}

TEST(JvLabel, PointerOverDrawsWithTheHotTrackFontEvenWithoutHotTrack) {
    TJvLabel label;
    label.SetCaption("Forum");
    TJvFont track;
    track.name = "Arial";
    label.SetHotTrackFontOptions(TrackFontOptions({}));
    label.SetHotTrackFont(track);
    label.MouseEnter();
    RecordingLabelCanvas canvas;
    label.Paint(canvas);
    EXPECT_EQ(canvas.ops.back(), "text 'Forum' 0,0,64,17 Arial " + kWindowText + " flags 64");
}

TEST(JvLabel, RecheckFollowsThePointer) {
    FakeLabelHost host;
    TJvLabel label(&host);
    host.pointerOver = true;
    label.MouseUp(mbLeft);
    EXPECT_TRUE(label.PointerOver());

    label.SetEnabled(false);  // a disabled label is never under the pointer
    EXPECT_FALSE(label.PointerOver());
    label.SetEnabled(true);
    EXPECT_TRUE(label.PointerOver());

    host.pointerOver = false;
    label.MouseDown(mbLeft);  // a left press does not re-check
    EXPECT_TRUE(label.PointerOver());
    label.MouseDown(mbRight);
    EXPECT_FALSE(label.PointerOver());

    host.pointerOver = true;
    host.applicationActive = false;
    label.SetVisible(false);
    label.SetVisible(true);
    EXPECT_FALSE(label.PointerOver());
    host.applicationActive = true;
    label.SetVisible(false);
    label.SetVisible(true);
    EXPECT_TRUE(label.PointerOver());
}

TEST(JvLabel, SettersKeepTheirLimits) {
    TJvLabel label;  // 17 pixels high
    label.SetRoundedFrame(7);
    EXPECT_EQ(label.RoundedFrame(), 7);
    label.SetRoundedFrame(8);  // half the height or more is ignored
    EXPECT_EQ(label.RoundedFrame(), 7);
    label.SetRoundedFrame(-1);
    EXPECT_EQ(label.RoundedFrame(), 7);
    label.SetMargin(-5);
    EXPECT_EQ(label.Margin(), 0);
}

TEST(JvLabel, PaintsBackgroundFrameAndText) {
    const std::string frame = std::to_string(clBlack);
    const struct {
        const char* name;
        std::function<void(TJvLabel&)> setup;
        std::vector<std::string> ops;
    } cases[] = {
        {"plain",
         [](TJvLabel&) {},
         {"fill 0,0,65,17 " + kWindow,
          "text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"transparent",
         [](TJvLabel& l) { l.SetTransparent(true); },
         {"text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"frame",
         [](TJvLabel& l) { l.SetFrameColor(clBlack); },
         {"fill 0,0,65,17 " + kWindow, "frame 0,0,65,17 " + frame,
          "text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"rounded frame",
         [](TJvLabel& l) {
             l.SetFrameColor(clBlack);
             l.SetRoundedFrame(3);
         },
         {"outline 3,0 61,0 64,3 64,13 61,16 3,16 0,13 0,3 3,0 " + frame,
          "flood 32,8 " + kWindow + " " + frame,
          "text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"bottom layout, centred, wrapped, no prefix",
         [](TJvLabel& l) {
             l.SetLayout(tlBottom);
             l.SetAlignment(taCenter);
             l.SetWordWrap(true);
             l.SetShowAccelChar(false);
             l.SetTransparent(true);
         },
         {"text 'Link' 0,4,64,17 MS Sans Serif " + kWindowText + " flags 2129"}},
        {"centre layout rounds towards zero",
         [](TJvLabel& l) {
             l.SetLayout(tlCenter);
             l.SetTextEllipsis(teEndEllipsis);
             l.SetTransparent(true);
         },
         {"text 'Link' 0,2,64,17 MS Sans Serif " + kWindowText + " flags 32832"}},
        {"shadow left and up",
         [](TJvLabel& l) {
             l.SetShadowSize(2);
             l.SetShadowPos(spLeftTop);
             l.SetShadowColor(clBlue);
             l.SetTransparent(true);
         },
         {"text 'Link' -2,-2,62,15 MS Sans Serif " + std::to_string(clBlue) + " flags 64",
          "text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"shadow right and up",
         [](TJvLabel& l) {
             l.SetShadowSize(1);
             l.SetShadowPos(spRightTop);
             l.SetTransparent(true);
         },
         {"text 'Link' 1,-1,65,16 MS Sans Serif " + std::to_string(clBtnHighlight) + " flags 64",
          "text 'Link' 0,0,64,17 MS Sans Serif " + kWindowText + " flags 64"}},
        {"disabled: grey text over a one-pixel highlight",
         [](TJvLabel& l) {
             l.SetEnabled(false);
             l.SetShadowPos(spLeftTop);
             l.SetTransparent(true);
         },
         {"text 'Link' 1,1,65,18 MS Sans Serif " + std::to_string(clBtnHighlight) + " flags 64",
          "text 'Link' 0,0,64,17 MS Sans Serif " + std::to_string(clGrayText) + " flags 64"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJvLabel label;
        label.SetCaption("Link");
        c.setup(label);
        RecordingLabelCanvas canvas;
        label.Paint(canvas);
        EXPECT_EQ(canvas.ops, c.ops);
    }
}

TEST(JvLabel, AutoSizeMeasuresTheTextWithTheChosenFont) {
    const struct {
        const char* caption;
        bool showAccelChar;
        int32_t width;
    } cases[] = {
        {"Forum", true, 37}, {"", true, 9}, {"&", true, 9}, {"&", false, 9}, {"&Forum", true, 37},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        FakeLabelHost host;
        TJvLabel label(&host);
        label.SetShowAccelChar(c.showAccelChar);
        label.SetCaption(c.caption);
        label.AdjustBounds();
        EXPECT_EQ(label.Width(), c.width);
        EXPECT_EQ(label.Height(), 13);
    }

    FakeLabelHost host;
    TJvLabel label(&host);
    label.SetBounds(100, 10, 65, 17);
    label.SetAlignment(taRightJustify);
    label.SetMargin(2);
    label.SetCaption("Forum");  // 35 + 2 + margins; the right edge stays at 165
    EXPECT_EQ(label.Width(), 41);
    EXPECT_EQ(label.Height(), 17);
    EXPECT_EQ(label.Left() + label.Width(), 165);

    label.SetHotTrack(true);
    TJvFont big;
    big.name = "Arial";
    label.SetHotTrackFontOptions(TrackFontOptions({}));
    label.SetHotTrackFont(big);
    label.MouseEnter();  // re-measured with the hot-track font at once
    EXPECT_EQ(label.Width(), 5 * 9 + 2 + 4);
}

TEST(JvLabel, NoAutoSizeWhileLoading) {
    FakeLabelHost host;
    TJvLabel label(&host);
    label.BeginLoading();
    label.SetCaption("Forum");
    EXPECT_EQ(label.Width(), 65);
    EXPECT_TRUE(host.measured.empty());
    label.Loaded();
    EXPECT_EQ(label.Width(), 37);
    EXPECT_EQ(host.boundsChanges, 1);
}

}  // namespace
