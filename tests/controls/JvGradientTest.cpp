#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/JvGradient.h"
#include "support/FakeCanvas.h"
#include "support/FakeSystemColors.h"

namespace {

struct Painted {
    FakeCanvas* canvas;
    std::unique_ptr<TJvGradient> gradient;
    int invalidations = 0;
};

std::unique_ptr<Painted> MakeGradient() {
    auto painted = std::make_unique<Painted>();
    auto canvas = std::make_unique<FakeCanvas>();
    painted->canvas = canvas.get();
    Painted* raw = painted.get();
    painted->gradient =
        std::make_unique<TJvGradient>(std::move(canvas), [raw] { ++raw->invalidations; });
    return painted;
}

// Rows at which the colour changes, scanning column 0 from the top.
std::vector<int32_t> BandStarts(const FakeCanvas& canvas) {
    std::vector<int32_t> starts{0};
    for (int32_t y = 1; y < canvas.Height(); ++y) {
        if (canvas.Pixel(0, y) != canvas.Pixel(0, y - 1)) {
            starts.push_back(y);
        }
    }
    return starts;
}

TEST(JvGradient, RoundsHalvesToEven) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {{2.5, 2}, {7.5, 8}, {127.5, 128}, {0.5, 0}, {1.5, 2}, {3.44, 3}, {6.88, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundHalfEven(c.value), c.expected);
    }
}

TEST(JvGradient, BandColourRoundsEachChannel) {
    const TColor start = RgbColor(0, 10, 200);
    const TColor end = RgbColor(5, 0, 255);
    EXPECT_EQ(GradientBandColor(start, end, 2, 0), RgbColor(0, 10, 200));
    EXPECT_EQ(GradientBandColor(start, end, 2, 1), RgbColor(2, 5, 228));  // 2.5 -> 2, 227.5 -> 228
    EXPECT_EQ(GradientBandColor(start, end, 2, 2), RgbColor(5, 0, 255));
}

TEST(JvGradient, VerticalTenRowsInFourStepsGivesBandsOfTwoThreeThreeTwo) {
    auto p = MakeGradient();
    p->gradient->SetStyle(grVertical);
    p->gradient->SetStartColor(RgbColor(0, 0, 0));
    p->gradient->SetEndColor(RgbColor(8, 0, 0));
    p->gradient->SetSteps(4);
    p->gradient->Paint(3, 10);

    ASSERT_EQ(p->canvas->ops.size(), 5u);  // n + 1 bands, the last outside the buffer
    const TRect expected[] = {
        {0, 0, 3, 2}, {0, 2, 3, 5}, {0, 5, 3, 8}, {0, 8, 3, 10}, {0, 10, 3, 12}};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p->canvas->ops[i].rect, expected[i]);
        EXPECT_EQ(p->canvas->ops[i].color, RgbColor(static_cast<uint8_t>(2 * i), 0, 0));
    }
    EXPECT_EQ(BandStarts(*p->canvas), (std::vector<int32_t>{0, 2, 5, 8}));
    EXPECT_EQ(p->canvas->Pixel(2, 9), RgbColor(6, 0, 0));  // the exact end colour never shows
    EXPECT_EQ(p->canvas->copies, 1);
}

TEST(JvGradient, MainWindowBandsStartEveryThreeOrFourRows) {
    FakeSystemColors systemColors;  // the usual hot-light colour, 0, 102, 204
    auto p = MakeGradient();
    p->gradient->SetStyle(grVertical);
    p->gradient->SetStartColor(clSkyBlue);
    p->gradient->SetEndColor(clHotLight);
    p->gradient->Paint(213, 344);

    const std::vector<int32_t> starts = BandStarts(*p->canvas);
    ASSERT_EQ(starts.size(), 100u);
    EXPECT_EQ((std::vector<int32_t>(starts.begin(), starts.begin() + 7)),
              (std::vector<int32_t>{0, 3, 7, 10, 14, 17, 21}));
    EXPECT_EQ(starts[98], 337);
    EXPECT_EQ(starts[99], 341);
    for (size_t i = 1; i < starts.size(); ++i) {
        const int32_t height = starts[i] - starts[i - 1];
        EXPECT_TRUE(height == 3 || height == 4) << "band " << i;
    }
    EXPECT_EQ(p->canvas->Pixel(0, 0), clSkyBlue);
    EXPECT_EQ(p->canvas->Pixel(212, 2), clSkyBlue);
    EXPECT_EQ(p->canvas->Pixel(100, 3),
              GradientBandColor(clSkyBlue, RgbColor(0, 102, 204), 100, 1));
    EXPECT_EQ(p->canvas->Pixel(0, 343),
              GradientBandColor(clSkyBlue, RgbColor(0, 102, 204), 100, 99));
}

TEST(JvGradient, StepsAreLimitedByTheSizeAndNeverZero) {
    const struct {
        const char* name;
        TJvGradientStyle style;
        uint16_t steps;
        int32_t width, height;
        size_t fills;
    } cases[] = {
        {"vertical, 50 rows, 100 steps: one row per band", grVertical, 100, 4, 50, 51},
        {"horizontal, 30 columns, 100 steps", grHorizontal, 100, 30, 5, 31},
        {"vertical, steps 0 behaves as 1", grVertical, 0, 4, 7, 2},
        {"horizontal, steps 0 behaves as 1", grHorizontal, 0, 9, 7, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = MakeGradient();
        p->gradient->SetStyle(c.style);
        p->gradient->SetSteps(c.steps);
        p->gradient->Paint(c.width, c.height);
        EXPECT_EQ(p->canvas->ops.size(), c.fills);
        const auto& first = p->canvas->ops.front();
        const int32_t along = c.style == grVertical ? first.rect.Height() : first.rect.Width();
        const int32_t length = c.style == grVertical ? c.height : c.width;
        EXPECT_EQ(along, c.fills == 2 ? length : 1);
        EXPECT_EQ(p->canvas->Pixel(c.width - 1, c.height - 1),
                  c.fills == 2 ? clBlue : p->canvas->ops[c.fills - 2].color);
    }
}

TEST(JvGradient, HorizontalBandsRunAcrossColumns) {
    auto p = MakeGradient();
    p->gradient->SetSteps(4);
    p->gradient->Paint(10, 2);
    EXPECT_EQ(p->canvas->ops[1].rect, (TRect{2, 0, 5, 2}));
    EXPECT_EQ(p->canvas->Pixel(0, 1), clBlue);
    EXPECT_EQ(p->canvas->Pixel(9, 0), GradientBandColor(clBlue, clBlack, 4, 3));
}

TEST(JvGradient, FilledUsesOnlyTheStartColour) {
    auto p = MakeGradient();
    p->gradient->SetStyle(grFilled);
    p->gradient->SetStartColor(clSkyBlue);
    p->gradient->Paint(5, 5);
    ASSERT_EQ(p->canvas->ops.size(), 1u);
    EXPECT_EQ(p->canvas->ops[0].rect, (TRect{0, 0, 5, 5}));
    EXPECT_EQ(p->canvas->Pixel(4, 4), clSkyBlue);
}

TEST(JvGradient, EllipseStepsLimitedByWidthThenHeight) {
    auto p = MakeGradient();
    p->gradient->SetStyle(grEllipse);
    p->gradient->Paint(20, 6);
    const auto& ops = p->canvas->ops;
    ASSERT_EQ(ops.size(), 5u);  // background, then n + 1 = 4 ellipses
    EXPECT_EQ(ops[0].kind, "fill");
    EXPECT_EQ(ops[0].color, clBlue);
    const TRect expected[] = {{0, 0, 20, 6}, {3, 1, 17, 5}, {7, 2, 13, 4}, {10, 3, 10, 3}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ops[i + 1].kind, "ellipse");
        EXPECT_EQ(ops[i + 1].rect, expected[i]);
        EXPECT_EQ(ops[i + 1].color, GradientBandColor(clBlue, clBlack, 3, static_cast<int32_t>(i)));
    }
}

TEST(JvGradient, PyramidFillsAndMountRoundsConcentricRectangles) {
    auto pyramid = MakeGradient();
    pyramid->gradient->SetStyle(grPyramid);
    pyramid->gradient->SetSteps(2);
    pyramid->gradient->Paint(8, 8);
    ASSERT_EQ(pyramid->canvas->ops.size(), 4u);
    EXPECT_EQ(pyramid->canvas->ops[2].rect, (TRect{2, 2, 6, 6}));
    EXPECT_EQ(pyramid->canvas->Pixel(3, 3), GradientBandColor(clBlue, clBlack, 2, 1));
    EXPECT_EQ(pyramid->canvas->Pixel(0, 0), clBlue);

    auto mount = MakeGradient();
    mount->gradient->SetStyle(grMount);
    mount->gradient->SetSteps(3);
    mount->gradient->Paint(21, 9);
    const auto& ops = mount->canvas->ops;
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[2].kind, "roundrect");
    EXPECT_EQ(ops[2].rect, (TRect{4, 2, 17, 7}));  // 3.5 -> 4, 1.5 -> 2
    EXPECT_EQ(ops[2].cornerWidth, 6);              // (21 - 8) / 2
    EXPECT_EQ(ops[2].cornerHeight, 2);             // (9 - 4) / 2
}

TEST(JvGradient, EmptySizeDrawsNothing) {
    for (const auto& size : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}}) {
        SCOPED_TRACE(size.first);
        auto p = MakeGradient();
        p->gradient->Paint(size.first, size.second);
        p->gradient->Paint(size.first, size.second);
        EXPECT_EQ(p->canvas->resizes, 0);
        EXPECT_TRUE(p->canvas->ops.empty());
        EXPECT_EQ(p->canvas->copies, 0);
    }
}

TEST(JvGradient, RepaintOnlyCopiesUntilSizeOrPropertyChanges) {
    FakeSystemColors systemColors;  // the end colour becomes clHotLight
    auto p = MakeGradient();
    p->gradient->Paint(10, 10);
    p->gradient->Paint(10, 10);
    EXPECT_EQ(p->gradient->RenderCount(), 1);
    EXPECT_EQ(p->canvas->ops.size(), 11u);  // the second paint drew nothing new
    EXPECT_EQ(p->canvas->resizes, 1);
    EXPECT_EQ(p->canvas->copies, 2);

    p->gradient->Paint(10, 11);  // a new size rebuilds
    EXPECT_EQ(p->canvas->resizes, 2);

    const struct {
        const char* name;
        std::function<void(TJvGradient&)> sameValue;
        std::function<void(TJvGradient&)> newValue;
    } setters[] = {
        {"Style", [](TJvGradient& g) { g.SetStyle(grHorizontal); },
         [](TJvGradient& g) { g.SetStyle(grPyramid); }},
        {"StartColor", [](TJvGradient& g) { g.SetStartColor(clBlue); },
         [](TJvGradient& g) { g.SetStartColor(clSkyBlue); }},
        {"EndColor", [](TJvGradient& g) { g.SetEndColor(clBlack); },
         [](TJvGradient& g) { g.SetEndColor(clHotLight); }},
        {"Steps", [](TJvGradient& g) { g.SetSteps(100); }, [](TJvGradient& g) { g.SetSteps(7); }},
    };
    for (const auto& s : setters) {
        SCOPED_TRACE(s.name);
        auto q = MakeGradient();
        q->gradient->Paint(10, 10);
        s.sameValue(*q->gradient);
        EXPECT_EQ(q->invalidations, 0);
        EXPECT_TRUE(q->gradient->IsCached(10, 10));
        q->gradient->Paint(10, 10);
        EXPECT_EQ(q->canvas->resizes, 1);

        s.newValue(*q->gradient);
        EXPECT_EQ(q->invalidations, 1);
        EXPECT_FALSE(q->gradient->IsCached(10, 10));
        q->gradient->Paint(10, 10);
        EXPECT_EQ(q->canvas->resizes, 2);
        EXPECT_EQ(q->canvas->copies, 3);
    }
}

TEST(JvGradient, SystemColoursResolvedOnlyWhenRendering) {
    auto p = MakeGradient();
    TColor hotLight = RgbColor(0, 102, 204);
    int lookups = 0;
    p->gradient->SetStyle(grFilled);
    p->gradient->SetStartColor(clHotLight);
    SetSystemColorFunction([&](int32_t index) {
        ++lookups;
        EXPECT_EQ(index, 26);
        return hotLight;
    });
    p->gradient->Paint(4, 4);
    EXPECT_EQ(p->canvas->Pixel(1, 1), RgbColor(0, 102, 204));

    hotLight = RgbColor(1, 2, 3);  // the platform colour changes: shows only after a rebuild
    const int before = lookups;
    p->gradient->Paint(4, 4);
    EXPECT_EQ(lookups, before);
    EXPECT_EQ(p->canvas->Pixel(1, 1), RgbColor(0, 102, 204));
    p->gradient->Paint(5, 4);
    EXPECT_EQ(p->canvas->Pixel(1, 1), RgbColor(1, 2, 3));
    SetSystemColorFunction(nullptr);
}

TEST(JvGradient, AlignPlacesTheControlInTheClientArea) {
    const TRect client{0, 0, 213, 344};
    const TRect bounds{20, 30, 70, 40};  // 50 x 10
    const struct {
        TAlign align;
        TRect expected;
    } cases[] = {
        {alClient, client},        {alTop, {0, 0, 213, 10}},      {alBottom, {0, 334, 213, 344}},
        {alLeft, {0, 0, 50, 344}}, {alRight, {163, 0, 213, 344}}, {alNone, bounds},
        {alCustom, bounds},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align));
        EXPECT_EQ(AlignedBounds(c.align, client, bounds), c.expected);
    }

    auto p = MakeGradient();
    EXPECT_EQ(p->gradient->Align(), alClient);
    p->gradient->SetAlign(alClient);
    p->gradient->SetBoundsRect({});
    EXPECT_EQ(p->invalidations, 0);
    p->gradient->SetAlign(alTop);
    p->gradient->SetBoundsRect(bounds);
    EXPECT_EQ(p->invalidations, 2);
}

TEST(JvGradient, DestroyingControlDoesNotPaint) {
    auto p = MakeGradient();
    p->gradient->SetDestroying();
    p->gradient->Paint(10, 10);
    EXPECT_EQ(p->canvas->resizes, 0);
    EXPECT_EQ(p->canvas->copies, 0);
}

}  // namespace
