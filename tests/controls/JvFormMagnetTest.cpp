#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// The worked examples, through the component: a 219 x 380 window, stale stamps.
TEST(JvFormMagnet, ScreenEdgesWithStaleStamps) {
    const struct {
        const char* name;
        TRect form, proposed, expected;
    } cases[] = {
        {"left to 10 snaps onto the edge", At(100, 100), At(10, 100), At(0, 100)},
        {"left to -1 counts as on the edge", At(100, 100), At(-1, 100), At(0, 100)},
        {"left to -8 jumps 15 outside", At(100, 100), At(-8, 100), At(-15, 100)},
        {"left to -20 stays", At(100, 100), At(-20, 100), At(-20, 100)},
        {"right to 1030 jumps to 1039", At(700, 100), At(811, 100), At(820, 100)},
        {"right from the left edge by 12 jumps to 15", At(0, 100), At(12, 100), At(15, 100)},
        {"down to bottom 730 snaps onto the bottom", At(100, 300), At(100, 350), At(100, 358)},
        {"no change of left or top runs no pass", At(10, 10), At(10, 10), At(10, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MagnetFixture f;
        EXPECT_EQ(f.Move(c.form, c.proposed), c.expected);
    }
}

TEST(JvFormMagnet, DownSnapThenHoldPutsTheBottom15Below) {
    MagnetFixture f;
    ASSERT_EQ(f.Move(At(100, 300), At(100, 350)), At(100, 358));  // bottom 730 -> 738
    f.clock.Advance(100);
    EXPECT_EQ(f.Move(At(100, 358), At(100, 362)), At(100, 373));  // bottom 742 -> 753
    f.clock.Advance(300);
    EXPECT_EQ(f.Move(At(100, 358), At(100, 362)), At(100, 373));  // stale: rule 4, same place
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

// Which stamps a call set to `now`, e.g. "left bottom".
std::string StampsSetAt(const TMagnetStamps& stamps, int64_t now) {
    std::string set;
    const std::pair<const char*, int64_t> edges[] = {{"left", stamps.left},
                                                     {"right", stamps.right},
                                                     {"top", stamps.top},
                                                     {"bottom", stamps.bottom}};
    for (const auto& [name, stamp] : edges) {
        if (stamp == now) {
            set += set.empty() ? name : std::string(" ") + name;
        }
    }
    return set;
}

// One row per rule of the four passes, stale and hold; the work area is 1024 x 738 and every
// window 219 x 380. `fresh` names the stamp that snapped 200 ms ago ("" for none).
TEST(JvFormMagnet, EveryScreenMagnetRule) {
    const struct {
        const char* name;
        const char* fresh;
        TRect form, proposed, expected;
        const char* stamped;
    } cases[] = {
        // Left pass (moving left; left stamp).
        {"L1 d in range", "", At(100, 100), At(10, 100), At(0, 100), "left"},
        {"L1 d = 1", "", At(100, 100), At(1, 100), At(0, 100), "left"},
        {"L1 d = -1", "", At(100, 100), At(-1, 100), At(0, 100), "left"},
        {"L2 -d in range", "", At(100, 100), At(-8, 100), At(-15, 100), "left"},
        {"L3 e in range", "", At(900, 100), At(795, 100), At(790, 100), "right"},
        {"L4 |e| in range, e = 1", "", At(900, 100), At(804, 100), At(805, 100), "right"},
        {"L4 |e| in range, e < 0", "", At(900, 100), At(815, 100), At(805, 100), "right"},
        {"left: no rule", "", At(100, 100), At(-20, 100), At(-20, 100), ""},
        {"left hold |d|", "left", At(0, 100), At(-14, 100), At(0, 100), "left"},
        {"left hold |e|", "left", At(810, 100), At(800, 100), At(805, 100), "right"},
        {"left hold: neither", "left", At(500, 100), At(400, 100), At(400, 100), ""},
        // Right pass (moving right; right stamp).
        {"R1 e in range", "", At(700, 100), At(801, 100), At(805, 100), "right"},
        {"R1 e = 1", "", At(700, 100), At(804, 100), At(805, 100), "right"},
        {"R1 e = -1", "", At(700, 100), At(806, 100), At(805, 100), "right"},
        {"R2 -e in range", "", At(700, 100), At(811, 100), At(820, 100), "right"},
        {"R3 d in range", "", At(-20, 100), At(-3, 100), At(0, 100), "left"},
        {"R4 |d| in range, d < 0", "", At(0, 100), At(12, 100), At(15, 100), "left"},
        {"R4 |d| in range, d = 1", "", At(-20, 100), At(-1, 100), At(15, 100), "left"},
        {"right hold |e|", "right", At(805, 100), At(815, 100), At(805, 100), "right"},
        {"right hold |d|", "right", At(-10, 100), At(-5, 100), At(0, 100), "left"},
        // Up pass (moving up; top stamp).
        {"U1 d in range", "", At(100, 100), At(100, 7), At(100, 0), "top"},
        {"U1 d = 1", "", At(100, 100), At(100, 1), At(100, 0), "top"},
        {"U1 d = -1", "", At(100, 100), At(100, -1), At(100, 0), "top"},
        {"U2 -d in range", "", At(100, 100), At(100, -9), At(100, -15), "top"},
        {"U3 e in range", "", At(100, 400), At(100, 350), At(100, 343), "bottom"},
        {"U4 |e| in range", "", At(100, 400), At(100, 359), At(100, 358), "bottom"},
        {"up hold |d|", "top", At(100, 0), At(100, -10), At(100, 0), "top"},
        {"up hold |e|", "top", At(100, 400), At(100, 355), At(100, 358), "bottom"},
        // Down pass (moving down; bottom stamp): not the mirror of the right pass.
        {"D1 d in range: 15 below the top", "", At(100, -20), At(100, 5), At(100, 15), "top"},
        {"D2 |d| < Area", "", At(100, -20), At(100, -5), At(100, 0), "top"},
        {"D2 d = 1", "", At(100, -20), At(100, 1), At(100, 0), "top"},
        {"D3 e in range: onto the bottom", "", At(100, 300), At(100, 350), At(100, 358), "bottom"},
        {"D4 |e| in range: 15 below", "", At(100, 300), At(100, 361), At(100, 373), "bottom"},
        {"down: a fresh top stamp is not tested", "top", At(100, -20), At(100, 10), At(100, 15),
         "top"},
        {"down hold |d|", "bottom", At(100, -20), At(100, -10), At(100, 0), "top"},
        {"down hold |e|: 15 below", "bottom", At(100, 358), At(100, 362), At(100, 373), "bottom"},
        {"down hold, bottom on the edge", "bottom", At(100, 350), At(100, 358), At(100, 373),
         "bottom"},
        // Direction.
        {"no change of left or top runs no pass", "", At(10, 10), At(10, 10), At(10, 10), ""},
        {"left and up together", "", At(100, 100), At(5, 4), At(0, 0), "left top"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int64_t now = 1000000;
        TMagnetStamps stamps;
        const std::string fresh = c.fresh;
        int64_t* freshStamp = fresh == "left"     ? &stamps.left
                              : fresh == "right"  ? &stamps.right
                              : fresh == "top"    ? &stamps.top
                              : fresh == "bottom" ? &stamps.bottom
                                                  : nullptr;
        if (freshStamp != nullptr) {
            *freshStamp = now - 200;
        }
        TRect p = c.proposed;
        ApplyScreenMagnet(c.form, p, kWorkArea, 15, stamps, now);
        EXPECT_EQ(p, c.expected);
        EXPECT_EQ(StampsSetAt(stamps, now), c.stamped);
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

// One row per rule of the main-form magnet around a main form at (300, 100, 500, 400), Area 15;
// the moving form is 100 x 100. Vertical actions set the top stamp, horizontal ones the right.
TEST(JvFormMagnet, EveryMainFormMagnetRule) {
    const TRect mainForm{300, 100, 500, 400};
    const struct {
        const char* name;
        bool fresh;  // the stamp the pass tests snapped 100 ms ago
        TRect form, proposed, expected;
    } cases[] = {
        // Up (d = P.top - M.bottom, e = P.bottom - M.top).
        {"up: d in range", false, {350, 450, 450, 550}, {350, 405, 450, 505}, {350, 400, 450, 500}},
        {"up: -d in range",
         false,
         {350, 450, 450, 550},
         {350, 395, 450, 495},
         {350, 385, 450, 485}},
        {"up: e in range", false, {350, 50, 450, 150}, {350, 5, 450, 105}, {350, 0, 450, 100}},
        {"up: -e in range", false, {350, 50, 450, 150}, {350, -5, 450, 95}, {350, -15, 450, 85}},
        {"up: no horizontal overlap",
         false,
         {600, 450, 700, 550},
         {600, 405, 700, 505},
         {600, 405, 700, 505}},
        {"up hold |d|", true, {350, 450, 450, 550}, {350, 390, 450, 490}, {350, 400, 450, 500}},
        {"up hold |e|", true, {350, 50, 450, 150}, {350, -10, 450, 90}, {350, 0, 450, 100}},
        // Down (d, e as for up).
        {"down: d in range",
         false,
         {350, 380, 450, 480},
         {350, 405, 450, 505},
         {350, 415, 450, 515}},
        {"down: -d in range",
         false,
         {350, 380, 450, 480},
         {350, 395, 450, 495},
         {350, 400, 450, 500}},
        {"down: e in [1..Area]",
         false,
         {350, -50, 450, 50},
         {350, 1, 450, 101},
         {350, 0, 450, 100}},
        {"down: |e| in range",
         false,
         {350, -50, 450, 50},
         {350, -10, 450, 90},
         {350, 15, 450, 115}},
        {"down hold |d|", true, {350, 380, 450, 480}, {350, 395, 450, 495}, {350, 400, 450, 500}},
        {"down hold, e < Area signed",
         true,
         {350, -200, 450, -100},
         {350, -150, 450, -50},
         {350, 0, 450, 100}},
        // Left (a = P.left - M.right, b = P.right - M.left).
        {"left: a in range",
         false,
         {600, 150, 700, 250},
         {504, 150, 604, 250},
         {500, 150, 600, 250}},
        {"left: |a| in range",
         false,
         {600, 150, 700, 250},
         {495, 150, 595, 250},
         {485, 150, 585, 250}},
        {"left: b in range",
         false,
         {250, 150, 350, 250},
         {205, 150, 305, 250},
         {200, 150, 300, 250}},
        {"left: |b| in range",
         false,
         {250, 150, 350, 250},
         {195, 150, 295, 250},
         {185, 150, 285, 250}},
        {"left: no vertical overlap",
         false,
         {600, 450, 700, 550},
         {504, 450, 604, 550},
         {504, 450, 604, 550}},
        {"left hold |a|", true, {520, 150, 620, 250}, {510, 150, 610, 250}, {500, 150, 600, 250}},
        {"left hold |b|", true, {250, 150, 350, 250}, {195, 150, 295, 250}, {200, 150, 300, 250}},
        // Right (a = M.left - P.right, b = M.right - P.left).
        {"right: a in range",
         false,
         {100, 150, 200, 250},
         {197, 150, 297, 250},
         {200, 150, 300, 250}},
        {"right: |a| in range",
         false,
         {100, 150, 200, 250},
         {206, 150, 306, 250},
         {215, 150, 315, 250}},
        {"right: b in range",
         false,
         {450, 150, 550, 250},
         {490, 150, 590, 250},
         {500, 150, 600, 250}},
        {"right: |b| in range",
         false,
         {450, 150, 550, 250},
         {505, 150, 605, 250},
         {515, 150, 615, 250}},
        {"right hold |a|", true, {100, 150, 200, 250}, {205, 150, 305, 250}, {200, 150, 300, 250}},
        {"right hold |b|", true, {450, 150, 550, 250}, {505, 150, 605, 250}, {500, 150, 600, 250}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int64_t now = 1000000;
        TMagnetStamps stamps;
        if (c.fresh) {
            stamps.top = now - 100;
            stamps.right = now - 100;
        }
        TRect p = c.proposed;
        ApplyMainFormMagnet(c.form, p, mainForm, 15, stamps, now);
        EXPECT_EQ(p, c.expected);
        if (p != c.proposed) {
            const bool vertical = c.form.top != c.proposed.top;
            EXPECT_EQ(vertical ? stamps.top : stamps.right, now);
        }
        EXPECT_EQ(stamps.left, TMagnetStamps::kNever);
        EXPECT_EQ(stamps.bottom, TMagnetStamps::kNever);
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
