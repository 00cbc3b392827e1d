#include <gtest/gtest.h>

#include <string>

#include "base/ErrorBoxText.h"

namespace {

TEST(ErrorBoxText, PeriodOnlyAfterACharacterThatSortsAfterIt) {
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"", ""},
        {"'$x0' ist kein gültiger Integerwert", "'$x0' ist kein gültiger Integerwert."},
        {"E/A-Fehler 5", "E/A-Fehler 5."},  // a digit sorts after '.'
        {"Done.", "Done."},
        {"Socket Error # 10013\r\nAccess denied.", "Socket Error # 10013\r\nAccess denied."},
        {"What?", "What?."},   // '?' (63) sorts after '.'
        {"(none)", "(none)"},  // ')' (41) sorts before '.'
        {"a-", "a-"},          // '-' (45)
        {"a/", "a/."},         // '/' (47)
        {"trailing blank ", "trailing blank "},
        {"line\r\n", "line\r\n"},
        {"caf\xE9", "caf\xE9."},  // bytes above 127 sort after '.'
        {std::string("zero\0", 5), std::string("zero\0", 5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ErrorBoxText(c.message), c.shown);
    }
}

}  // namespace
