#include <gtest/gtest.h>

#include "platform/MessageLayout.h"

namespace {

TEST(MessageLayout, TextWrapsAtHalfTheScreen) {
    EXPECT_EQ(MessageTextMaxWidth(1280), 640);
    EXPECT_EQ(MessageTextMaxWidth(1025), 512);
}

TEST(MessageLayout, ButtonBelowTheTextCentredInABoxAtLeastAsWideAsIt) {
    const struct {
        int32_t textWidth;
        int32_t textHeight;
        TMessageLayout expected;
    } cases[] = {
        // A wide text sets the width; the button sits 12 pixels below it.
        {200, 26, {Bounds(12, 12, 200, 26), Bounds(74, 50, 75, 25), 224, 87}},
        // A short text: the box is as wide as the button and its margins.
        {30, 13, {Bounds(12, 12, 30, 13), Bounds(12, 37, 75, 25), 99, 74}},
        // An odd remainder goes to the right of the button.
        {76, 13, {Bounds(12, 12, 76, 13), Bounds(12, 37, 75, 25), 100, 74}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.textWidth);
        const TMessageLayout layout = MessageBoxLayout(c.textWidth, c.textHeight);
        EXPECT_EQ(layout.text, c.expected.text);
        EXPECT_EQ(layout.button, c.expected.button);
        EXPECT_EQ(layout.clientWidth, c.expected.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.expected.clientHeight);
    }
}

TEST(MessageLayout, WindowsCentreOnTheScreenButNeverStartBeforeIt) {
    EXPECT_EQ(CenteredOnScreen(280, 1280), 500);
    EXPECT_EQ(CenteredOnScreen(281, 1280), 499);
    EXPECT_EQ(CenteredOnScreen(1279, 1280), 0);
    EXPECT_EQ(CenteredOnScreen(2000, 1280), 0);
}

}  // namespace
