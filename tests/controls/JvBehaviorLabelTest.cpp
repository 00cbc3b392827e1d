#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/Exception.h"
#include "controls/JvBehaviorLabel.h"
#include "controls/JvBehaviorLabelRegistry.h"
#include "controls/JvLabelTyping.h"
#include "support/FakeClock.h"
#include "support/FakeTimer.h"

namespace {

// A label with counters for its events and repaints, on a fake clock and fake timers.
struct Fixture {
    FakeClock clock;
    FakeTimers timers;
    TJvBehaviorLabel label;
    int starts = 0;
    int stops = 0;
    int repaints = 0;

    explicit Fixture(const std::string& caption, const std::string& behavior = "Typing") {
        label.SetCaption(caption);
        label.SetBehavior(behavior);
        label.SetOnStart([this](TJvBehaviorLabel&) { ++starts; });
        label.SetOnStop([this](TJvBehaviorLabel&) { ++stops; });
        label.SetOnRepaint([this](TJvBehaviorLabel&) { ++repaints; });
    }
    TJvLabelTyping& Typing() { return dynamic_cast<TJvLabelTyping&>(label.BehaviorOptions()); }
    FakeTimer* Timer() { return timers.Timers().empty() ? nullptr : timers.Timers().front(); }
    // One timer step; returns what the label paints afterwards.
    std::string Step() {
        timers.FireAll();
        return label.DisplayText();
    }
};

TEST(JvBehaviorLabel, RegistryHoldsTheEightBehavioursSortedByName) {
    TJvBehaviorLabel label;
    const std::vector<std::string> expected = {"(none)",      "Appearing", "Blinking", "Bouncing",
                                               "CodeBreaker", "Scrolling", "Special",  "Typing"};
    EXPECT_EQ(RegisteredLabelBehaviors(), expected);
    RegisterStandardLabelBehaviors();  // a second fill adds nothing
    EXPECT_EQ(RegisteredLabelBehaviors().size(), 8u);
}

TEST(JvBehaviorLabel, SelectsBehavioursByRegisteredNameIgnoringCase) {
    TJvBehaviorLabel label;
    EXPECT_EQ(label.Behavior(), "(none)");
    EXPECT_EQ(label.BehaviorOptions().ClassName(), "TJvLabelNone");
    label.SetBehavior("typing");
    EXPECT_EQ(label.BehaviorOptions().ClassName(), "TJvLabelTyping");
    label.SetBehavior("Wobbling");  // not registered: ignored
    EXPECT_EQ(label.Behavior(), "typing");
    EXPECT_EQ(label.BehaviorOptions().ClassName(), "TJvLabelTyping");

    TJvBehaviorLabel other;
    TJvLabelBlink blink(&other);
    label.SetBehaviorOptions(&blink);
    EXPECT_EQ(label.Behavior(), "Blinking");
    label.SetBehaviorOptions(nullptr);
    EXPECT_EQ(label.Behavior(), "Blinking");
}

TEST(JvBehaviorLabel, OtherBehavioursOnlyRaiseTheirEvents) {
    for (const char* name :
         {"(none)", "Blinking", "Bouncing", "Scrolling", "Appearing", "Special", "CodeBreaker"}) {
        SCOPED_TRACE(name);
        Fixture f("text", name);
        f.label.BehaviorOptions().SetActive(true);
        f.label.BehaviorOptions().SetActive(true);
        EXPECT_EQ(f.starts, 1);
        f.label.BehaviorOptions().SetActive(false);
        EXPECT_EQ(f.stops, 1);
        EXPECT_FALSE(f.label.UseShownText());
        EXPECT_TRUE(f.timers.Timers().empty());
    }
}

TEST(JvBehaviorLabel, BehaviourNeedsALabel) {
    try {
        TJvLabelTyping typing(nullptr);
        ADD_FAILURE() << "created without a label";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot call TJvLabelTyping.Create with ALabel = nil");
    }
}

TEST(JvLabelTyping, RandomSourceFollowsItsFormula) {
    SetRandSeed(0);
    std::vector<int32_t> draws;
    for (int i = 0; i < 6; ++i) {
        draws.push_back(RandomInt(10));
    }
    EXPECT_EQ(draws, (std::vector<int32_t>{0, 0, 8, 2, 2, 6}));
    SetRandSeed(123456789);
    draws.clear();
    for (int32_t range : {10, 100, 256, 1, 7}) {
        draws.push_back(RandomInt(range));
    }
    EXPECT_EQ(draws, (std::vector<int32_t>{5, 39, 100, 0, 5}));
    EXPECT_EQ(RandSeed(), 3478552678u);

    FakeClock clock;
    clock.SetUtcTimeOfDayMs(((13 * 60 + 7) * 60 + 42) * 1000 + 5);
    Randomize();
    EXPECT_EQ(RandSeed(), 47262005u);
}

TEST(JvLabelTyping, FixedSeedTypesAKnownSequenceWithAWrongLetter) {
    Fixture f("192.168.0.255");
    f.clock.SetUtcTimeOfDayMs(14955);  // 00:00:14.955 UTC seeds the source
    f.Typing().SetActive(true);
    EXPECT_EQ(f.starts, 1);
    EXPECT_TRUE(f.label.UseShownText());
    EXPECT_EQ(f.label.DisplayText(), "");
    ASSERT_NE(f.Timer(), nullptr);
    EXPECT_TRUE(f.Timer()->Running());
    EXPECT_EQ(f.Timer()->IntervalMs(), 100u);

    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"1", 100},
        {"15", 200},
        {"192", 100},
        {"192.", 100},
        {"192.1", 100},
        {"192.16", 100},
        {"192.168", 100},
        {"192.168.", 100},
        {"192.168.0", 100},
        {"192.168.0.", 100},
        {"192.168.0.2", 100},
        {"192.168.0.25", 100},
        {"192.168.0.255", 100},
    };
    for (const auto& [shown, interval] : expected) {
        SCOPED_TRACE(shown);
        EXPECT_EQ(f.Step(), shown);
        EXPECT_EQ(f.Timer()->IntervalMs(), interval);
        EXPECT_EQ(f.label.Caption(), "192.168.0.255");  // the text itself never changes
    }
    EXPECT_EQ(f.stops, 0);
    f.Step();  // one more tick ends the typing
    EXPECT_FALSE(f.Typing().Active());
    EXPECT_FALSE(f.label.UseShownText());
    EXPECT_FALSE(f.Timer()->Running());
    EXPECT_EQ(f.label.DisplayText(), "192.168.0.255");
    EXPECT_EQ(f.stops, 1);
    EXPECT_GE(f.repaints, 14);
}

TEST(JvLabelTyping, WrongLetterCodeWrapsAroundBelowZero) {
    Fixture f(std::string("\x03") + "x");
    f.clock.SetUtcTimeOfDayMs(24);  // first draw 7 (a wrong letter), then 9 to subtract
    f.Typing().SetActive(true);
    EXPECT_EQ(f.Step(), "\xFA");  // (3 - 9) mod 256
    EXPECT_EQ(f.Timer()->IntervalMs(), 200u);
    EXPECT_EQ(f.Step(), std::string("\x03") + "x");
}

TEST(JvLabelTyping, WithoutErrorsEveryStepTakesTwoIntervals) {
    Fixture f("abc");
    f.Typing().SetMakeErrors(false);
    f.Typing().SetActive(true);
    for (const char* shown : {"a", "ab", "abc"}) {
        EXPECT_EQ(f.Step(), shown);
        EXPECT_EQ(f.Timer()->IntervalMs(), 200u);
    }
}

TEST(JvLabelTyping, ContinuesWithTheNewCaptionAfterAChange) {
    Fixture f("abcdef");
    f.Typing().SetMakeErrors(false);
    f.Typing().SetActive(true);
    f.Step();
    f.Step();
    f.label.SetCaption("uvwxyz");
    EXPECT_EQ(f.Step(), "uvw");
    f.label.SetCaption("");  // a failed calculation empties the caption: typing stops
    EXPECT_EQ(f.Step(), "");
    EXPECT_FALSE(f.Typing().Active());
    EXPECT_EQ(f.stops, 1);
}

TEST(JvLabelTyping, OptionChangeRestartsQuietly) {
    Fixture f("abcdef");
    f.Typing().SetMakeErrors(false);
    f.Typing().SetActive(true);
    f.Step();
    f.Step();
    f.Typing().SetInterval(50);
    EXPECT_EQ(f.label.DisplayText(), "");
    EXPECT_TRUE(f.Timer()->Running());
    EXPECT_EQ(f.Timer()->IntervalMs(), 50u);
    EXPECT_EQ(f.Step(), "a");
    EXPECT_EQ(f.Timer()->IntervalMs(), 100u);
    EXPECT_EQ(f.starts, 1);
    EXPECT_EQ(f.stops, 0);

    f.Typing().SetActive(false);
    f.Typing().SetInterval(70);  // idle: stays idle
    EXPECT_FALSE(f.Typing().Active());
    EXPECT_EQ(f.starts, 1);
    EXPECT_EQ(f.stops, 1);
}

TEST(JvLabelTyping, ActivationWhileTypingAndStopping) {
    Fixture f("abcdef");
    f.Typing().SetMakeErrors(false);
    f.Typing().SetActive(true);
    f.Step();
    f.Step();
    f.Typing().SetActive(true);  // already typing: goes on where it was
    EXPECT_EQ(f.Step(), "abc");
    EXPECT_EQ(f.starts, 1);
    f.Typing().SetActive(false);
    EXPECT_EQ(f.label.DisplayText(), "abcdef");
    EXPECT_FALSE(f.Timer()->Running());
    EXPECT_EQ(f.stops, 1);
    f.Typing().SetActive(true);  // a new start types from the first letter
    EXPECT_EQ(f.Step(), "a");
}

TEST(JvLabelTyping, EmptyCaptionStopsAtTheFirstTick) {
    Fixture f("");
    f.Typing().SetActive(true);
    f.Step();
    EXPECT_FALSE(f.Typing().Active());
    EXPECT_FALSE(f.label.UseShownText());
    EXPECT_EQ(f.stops, 1);
}

TEST(JvLabelTyping, ChangingBehaviourOrDestroyingStopsWithoutOnStop) {
    int stops = 0;
    {
        Fixture f("abc");
        f.label.SetOnStop([&](TJvBehaviorLabel&) { ++stops; });
        f.Typing().SetActive(true);
        f.Step();
        f.label.SetBehavior("Blinking");
        EXPECT_FALSE(f.label.UseShownText());
        EXPECT_EQ(f.label.DisplayText(), "abc");
        EXPECT_TRUE(f.timers.Timers().empty());  // destroyed with the behaviour
        f.label.SetBehavior("Typing");
        dynamic_cast<TJvLabelTyping&>(f.label.BehaviorOptions()).SetActive(true);
    }
    EXPECT_EQ(stops, 0);
}

}  // namespace
