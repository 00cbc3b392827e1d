#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Platform.h"
#include "support/FakeClock.h"
#include "support/FakeSystemColors.h"
#include "support/FakeTimer.h"
#include "support/RecordingShell.h"

namespace {

TEST(Platform, ColorValuesResolveToRgb) {
    FakeSystemColors systemColors;
    struct Case {
        TColor color;
        TColor rgb;
    };
    const Case cases[] = {
        {clBlack, 0x000000},
        {clBlue, 0xFF0000},
        {clSkyBlue, 0xF0CAA6},
        {clHotLight, RgbColor(0, 102, 204)},
        {clBtnFace, RgbColor(240, 240, 240)},
        {clWindow, RgbColor(255, 255, 255)},
        {0x12345678, 0x345678},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.color);
        EXPECT_EQ(ColorToRgb(c.color), c.rgb);
    }
    EXPECT_EQ(static_cast<uint32_t>(clHotLight), 0x8000001Au);
    EXPECT_FALSE(IsSystemColor(clNone));
}

TEST(Platform, SystemColorsComeFromTheInstalledLookup) {
    SetSystemColorFunction(
        [](int32_t index) { return RgbColor(1, 2, static_cast<uint8_t>(index)); });
    EXPECT_EQ(ColorToRgb(clHotLight), RgbColor(1, 2, 26));
    EXPECT_EQ(ColorToRgb(clSkyBlue), clSkyBlue);
    SetSystemColorFunction(nullptr);
    EXPECT_EQ(ColorToRgb(clSkyBlue), clSkyBlue);  // a plain colour needs no lookup
}

// A test that forgot its fake fails instead of passing by doing nothing.
TEST(Platform, ServicesUsedBeforeOneIsInstalledThrow) {
    EXPECT_THROW(ColorToRgb(clHotLight), std::logic_error);
    EXPECT_THROW(CreatePlatformTimer(), std::logic_error);
    EXPECT_THROW(Clock(), std::logic_error);
    EXPECT_THROW(ShellOpen({nullptr, "open", "nowhere.html", "", "", 5}), std::logic_error);
    {
        FakeClock clock;
        EXPECT_NO_THROW(Clock());
    }
    EXPECT_THROW(Clock(), std::logic_error);  // uninstalled again with the fake
    { RecordingShell shell; }
    EXPECT_THROW(ShellOpen({nullptr, "open", "nowhere.html", "", "", 5}), std::logic_error);
    { FakeTimers timers; }
    EXPECT_THROW(CreatePlatformTimer(), std::logic_error);
}

TEST(Platform, SystemClockMovesForward) {
    const int64_t before = SystemClock().NowMs();
    EXPECT_GE(SystemClock().NowMs(), before);
    const int64_t timeOfDay = SystemClock().UtcTimeOfDayMs();
    EXPECT_GE(timeOfDay, 0);
    EXPECT_LT(timeOfDay, 24 * 60 * 60 * 1000);
}

TEST(Platform, ShellOpenGoesToTheInstalledFunction) {
    RecordingShell shell;
    ShellOpen({nullptr, "open", "help/index.html", "", "", 5});
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].file, "help/index.html");
    EXPECT_EQ(shell.Requests()[0].verb, "open");
}

TEST(Platform, TimersComeFromTheInstalledFactory) {
    FakeTimers timers;
    int fired = 0;
    auto timer = CreatePlatformTimer();
    timer->onTimer = [&] { ++fired; };
    timer->Start(50);
    ASSERT_EQ(timers.Timers().size(), 1u);
    EXPECT_TRUE(timers.Timers()[0]->Running());
    EXPECT_EQ(timers.Timers()[0]->IntervalMs(), 50u);
    timers.Timers()[0]->Fire();
    timer->Stop();
    timers.Timers()[0]->Fire();  // a stopped timer does not fire
    EXPECT_EQ(fired, 1);
}

TEST(Platform, ClockCanBeReplaced) {
    FakeClock clock;
    clock.Advance(1234);
    EXPECT_EQ(Clock().NowMs(), 1234);
    EXPECT_EQ(Clock().UtcTimeOfDayMs(), 1234);
}

}  // namespace
