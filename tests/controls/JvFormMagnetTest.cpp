#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/JvFormMagnet.h"
#include "support/FakeClock.h"

namespace {

constexpr TRect kWorkArea{0, 0, 1024, 738};
constexpr int32_t kWidth = 219;
constexpr int32_t kHeight = 380;

TRect At(int32_t left, int32_t top) {
    return {left, top, left + kWidth, top + kHeight};
}

class FakeMagnetHost : public TJvFormMagnetHost {
public:
    TRect WorkArea() override { return workArea; }
    int32_t FormCount() override { return static_cast<int32_t>(forms.size()); }
    TRect FormBounds(int32_t index) override { return forms[static_cast<size_t>(index)]; }
    void SetFormLeft(int32_t index, int32_t left) override {
        TRect& r = forms[static_cast<size_t>(index)];
        r = {left, r.top, left + r.Width(), r.bottom};
        calls.push_back("left " + std::to_string(index));
    }
    void SetFormTop(int32_t index, int32_t top) override {
        TRect& r = forms[static_cast<size_t>(index)];
        r = {r.left, top, r.right, top + r.Height()};
        calls.push_back("top " + std::to_string(index));
    }
    std::optional<TRect> MainFormBounds() override { return mainForm; }

    TRect workArea = kWorkArea;
    std::vector<TRect> forms;
    std::vector<std::string> calls;
    std::optional<TRect> mainForm;
};

struct MagnetFixture {
    FakeClock clock;
    FakeMagnetHost host;
    TJvFormMagnet magnet;

    MagnetFixture() {
        clock.Advance(1000000);
        magnet.SetActive(true);
        magnet.SetFormGlue(false);
    }
    // Sends one moving notification for a form at `form` proposed to move to `proposed`.
    TRect Move(const TRect& form, TRect proposed) {
        magnet.Moving(form, proposed, host);
        return proposed;
    }
};

TEST(JvFormMagnet, ScreenEdgesWithStaleStamps) {
    const struct {
        const char* name;
        TRect form, proposed, expected;
    } cases[] = {
        {"left to 10 snaps onto the edge", At(100, 100), At(10, 100), At(0, 100)},
        {"left to -1 counts as on the edge", At(100, 100), At(-1, 100), At(0, 100)},
        {"left to -8 jumps 15 outside", At(100, 100), At(-8, 100), At(-15, 100)},
        {"left to -20 stays", At(100, 100), At(-20, 100), At(-20, 100)},
        {"left, right edge 10 inside: 15 inside", At(900, 100), At(795, 100), At(790, 100)},
        {"left, right edge 1 outside: onto the edge", At(900, 100), At(806, 100), At(805, 100)},
        {"right to 1030 jumps to 1039", At(700, 100), At(811, 100), At(820, 100)},
        {"right to 1020 snaps onto the edge", At(700, 100), At(801, 100), At(805, 100)},
        {"right from the left edge by 12 jumps to 15", At(0, 100), At(12, 100), At(15, 100)},
        {"right, left edge 3 outside: onto the edge", At(-20, 100), At(-3, 100), At(0, 100)},
        {"up to 7 snaps onto the top", At(100, 100), At(100, 7), At(100, 0)},
        {"up to -9 jumps 15 above", At(100, 100), At(100, -9), At(100, -15)},
        {"up, bottom 1 below: onto the bottom", At(100, 400), At(100, 359), At(100, 358)},
        {"down to bottom 730 snaps onto the bottom", At(100, 300), At(100, 350), At(100, 358)},
        {"down, top 5 below the top jumps 15 below", At(100, -20), At(100, 5), At(100, 15)},
        {"down, top 1 below the top: onto the top", At(100, -20), At(100, 1), At(100, 0)},
        {"down to top 0 from above: onto the top", At(100, -20), At(100, 0), At(100, 0)},
        {"down, bottom 3 outside jumps 15 below", At(100, 300), At(100, 361), At(100, 373)},
        {"no change of left or top runs no pass", At(10, 10), At(10, 10), At(10, 10)},
        {"left and up together", At(100, 100), At(5, 4), At(0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MagnetFixture f;
        EXPECT_EQ(f.Move(c.form, c.proposed), c.expected);
    }
}

TEST(JvFormMagnet, SnapSetsTheStampOfThePlacedEdge) {
    MagnetFixture f;
    f.Move(At(100, 100), At(10, 100));
    EXPECT_EQ(f.magnet.Stamps().left, f.clock.NowMs());
    EXPECT_EQ(f.magnet.Stamps().right, TMagnetStamps::kNever);
    f.Move(At(100, 300), At(100, 350));
    EXPECT_EQ(f.magnet.Stamps().bottom, f.clock.NowMs());
    EXPECT_EQ(f.magnet.Stamps().top, TMagnetStamps::kNever);
}

TEST(JvFormMagnet, HoldsTheLeftEdgeFor250Milliseconds) {
    const struct {
        int64_t afterMs;
        int32_t expectedLeft;
    } cases[] = {{0, 0}, {100, 0}, {250, 0}, {251, -15}, {5000, -15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.afterMs);
        MagnetFixture f;
        ASSERT_EQ(f.Move(At(100, 100), At(10, 100)), At(0, 100));
        f.clock.Advance(c.afterMs);
        EXPECT_EQ(f.Move(At(0, 100), At(-5, 100)).left, c.expectedLeft);
    }
}

TEST(JvFormMagnet, HoldRulesOfEachPass) {
    const struct {
        const char* name;
        TRect first, firstProposed;  // a snap that sets the stamp
        TRect form, proposed, expected;
    } cases[] = {
        {"left: far beyond the edge, 14 pixels, holds", At(100, 100), At(10, 100), At(0, 100),
         At(-14, 100), At(0, 100)},
        {"left: 15 pixels is no longer held", At(100, 100), At(10, 100), At(0, 100), At(-15, 100),
         At(-15, 100)},
        {"right: held on the right edge", At(700, 100), At(801, 100), At(805, 100), At(815, 100),
         At(805, 100)},
        {"up: held on the top", At(100, 100), At(100, 7), At(100, 0), At(100, -10), At(100, 0)},
        {"down: bottom held 15 below the work area", At(100, 300), At(100, 350), At(100, 358),
         At(100, 362), At(100, 373)},
        {"down: a top placed by the down pass does not hold it", At(100, -20), At(100, 1),
         At(100, 0), At(100, 10), At(100, 15)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MagnetFixture f;
        f.Move(c.first, c.firstProposed);
        f.clock.Advance(200);
        EXPECT_EQ(f.Move(c.form, c.proposed), c.expected);
    }
}

TEST(JvFormMagnet, AreaIsTestedAsAByteInRangesAndInFullInComparisons) {
    const struct {
        const char* name;
        uint32_t area;
        bool fresh;
        TRect form, proposed, expected;
    } cases[] = {
        {"area 0: one pixel inside still snaps", 0, false, At(100, 100), At(1, 100), At(0, 100)},
        {"area 0: one pixel outside still snaps", 0, false, At(100, 100), At(-1, 100), At(0, 100)},
        {"area 0: two pixels do not", 0, false, At(100, 100), At(2, 100), At(2, 100)},
        {"area 0: right edge one pixel off", 0, false, At(700, 100), At(806, 100), At(805, 100)},
        {"area 0: top one pixel off", 0, false, At(100, 100), At(100, 1), At(100, 0)},
        {"area 0: the down pass never acts", 0, false, At(100, -20), At(100, 1), At(100, 1)},
        {"area 256: ranges are empty", 256, false, At(100, 100), At(10, 100), At(10, 100)},
        {"area 271: ranges end at 15", 271, false, At(100, 100), At(10, 100), At(0, 100)},
        {"area 271: hold compares the full value", 271, true, At(200, 100), At(100, 100),
         At(0, 100)},
        {"area 300: a distance beyond 255 is never in range", 300, false, At(700, 100),
         At(300, 100), At(300, 100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MagnetFixture f;
        f.magnet.SetArea(c.area);
        if (c.fresh) {
            f.Move(At(100, 100), At(1, 100));  // snaps the left edge (d = 1)
            f.clock.Advance(10);
        }
        EXPECT_EQ(f.Move(c.form, c.proposed), c.expected);
    }
}

TEST(JvFormMagnet, InactiveOrWithoutScreenMagnetLeavesTheRectangle) {
    MagnetFixture f;
    f.magnet.SetActive(false);
    f.magnet.SetFormGlue(true);
    f.host.forms = {At(100, 100), At(319, 100)};
    EXPECT_EQ(f.Move(At(100, 100), At(10, 100)), At(10, 100));
    EXPECT_TRUE(f.host.calls.empty());

    MagnetFixture g;
    g.magnet.SetScreenMagnet(false);
    EXPECT_EQ(g.Move(At(100, 100), At(10, 100)), At(10, 100));
}

TEST(JvFormMagnet, GlueMovesTouchingFormsVisibleOrHidden) {
    MagnetFixture f;
    f.magnet.SetFormGlue(true);
    const TRect main = At(300, 200);
    f.host.forms = {
        main,                  // the magnet's own form never touches itself
        {519, 500, 600, 600},  // left on main's right (a hidden form): moves
        {10, 580, 100, 700},   // top on main's bottom, far to the left: moves as well
        {600, 50, 700, 150},   // touches nothing: stays
        {0, 0, 300, 100},      // right on main's left: moves
    };
    // Dragged to 310, 205: the screen magnet leaves it, the glue moves by 10, 5.
    EXPECT_EQ(f.Move(main, At(310, 205)), At(310, 205));
    EXPECT_EQ(f.host.forms[0], main);
    EXPECT_EQ(f.host.forms[1], (TRect{529, 505, 610, 605}));
    EXPECT_EQ(f.host.forms[2], (TRect{20, 585, 110, 705}));
    EXPECT_EQ(f.host.forms[3], (TRect{600, 50, 700, 150}));
    EXPECT_EQ(f.host.forms[4], (TRect{10, 5, 310, 105}));
    EXPECT_EQ(f.host.calls,
              (std::vector<std::string>{"left 1", "top 1", "left 2", "top 2", "left 4", "top 4"}));
}

TEST(JvFormMagnet, GlueFollowsTheSnappedRectangle) {
    MagnetFixture f;
    f.magnet.SetFormGlue(true);
    f.host.forms = {{319, 100, 400, 200}};
    f.Move(At(100, 100), At(10, 100));  // snapped to 0: the glued form moves by -100
    EXPECT_EQ(f.host.forms[0], (TRect{219, 100, 300, 200}));
}

TEST(JvFormMagnet, MainFormMagnetSnapsToTheOutsideOfTheMainForm) {
    const TRect mainForm{300, 100, 500, 400};
    const struct {
        const char* name;
        TRect form, proposed, expected;
    } cases[] = {
        {"up: top 5 below the main form's bottom",
         {350, 450, 450, 550},
         {350, 405, 450, 505},
         {350, 400, 450, 500}},
        {"up: top 5 inside the main form's bottom",
         {350, 450, 450, 550},
         {350, 395, 450, 495},
         {350, 385, 450, 485}},
        {"up: no horizontal overlap",
         {600, 450, 700, 550},
         {600, 405, 700, 505},
         {600, 405, 700, 505}},
        {"down: bottom 1 inside the top",
         {350, -50, 450, 50},
         {350, 1, 450, 101},
         {350, 0, 450, 100}},
        {"left: left 4 right of the main form",
         {600, 150, 700, 250},
         {504, 150, 604, 250},
         {500, 150, 600, 250}},
        {"right: right 3 short of the main form",
         {100, 150, 200, 250},
         {197, 150, 297, 250},
         {200, 150, 300, 250}},
        {"right: right 6 inside the main form",
         {100, 150, 200, 250},
         {206, 150, 306, 250},
         {215, 150, 315, 250}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MagnetFixture f;
        f.magnet.SetScreenMagnet(false);
        f.magnet.SetMainFormMagnet(true);
        f.host.mainForm = mainForm;
        EXPECT_EQ(f.Move(c.form, c.proposed), c.expected);
    }
}

TEST(JvFormMagnet, MainFormMagnetSharesTheTopAndRightStamps) {
    MagnetFixture f;
    f.magnet.SetScreenMagnet(false);
    f.magnet.SetMainFormMagnet(true);
    f.host.mainForm = TRect{300, 100, 500, 400};
    f.Move({350, 450, 450, 550}, {350, 405, 450, 505});
    EXPECT_EQ(f.magnet.Stamps().top, f.clock.NowMs());
    f.Move({600, 150, 700, 250}, {504, 150, 604, 250});
    EXPECT_EQ(f.magnet.Stamps().right, f.clock.NowMs());
    EXPECT_EQ(f.magnet.Stamps().left, TMagnetStamps::kNever);

    // Within the hold time a form moving down with its bottom anywhere above the main form's
    // top + Area is put onto the top (the signed test).
    f.clock.Advance(100);
    EXPECT_EQ(f.Move({350, -200, 450, -100}, {350, -150, 450, -50}), (TRect{350, 0, 450, 100}));

    // Without a main form nothing happens.
    f.host.mainForm.reset();
    f.clock.Advance(1000);
    EXPECT_EQ(f.Move({350, 450, 450, 550}, {350, 405, 450, 505}), (TRect{350, 405, 450, 505}));
}

}  // namespace
