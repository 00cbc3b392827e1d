#include <gtest/gtest.h>

#include "platform/ControlBackground.h"

namespace {

TEST(ControlBackground, AnAssignedColourWinsOverTheClassRule) {
    const struct {
        std::optional<TColor> assigned;
        const char* className;
        TColor expected;
    } cases[] = {
        {std::nullopt, "Static", clSkyBlue},  // a static text shows the window's colour
        {std::nullopt, "Edit", clWindow},     // a read-only edit stays white
        {std::nullopt, "EDIT", clWindow},     // class names compare without regard to case
        {std::nullopt, "EditX", clSkyBlue},
        {clBtnFace, "Edit", clBtnFace},  // the log of the calculator
        {clNone, "Static", clNone},      // transparent over the gradient
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        EXPECT_EQ(ControlBackground(c.assigned, c.className, clSkyBlue), c.expected);
    }
}

}  // namespace
