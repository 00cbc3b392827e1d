#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wake/CommandLineArgs.h"

namespace {

using Items = std::vector<std::string>;

struct SplitCase {
    std::string commandLine;
    Items items;
};

TEST(CommandLineArgs, SplitsLikeTheProgramReadsIt) {
    const std::vector<SplitCase> cases = {
        {"", {}},
        {"   \t ", {}},
        {"prog", {"prog"}},
        {"\"C:\\Program Files\\corvane.exe\"", {"C:\\Program Files\\corvane.exe"}},
        {"prog 00-11-22-33-44-55 192.168.0.255", {"prog", "00-11-22-33-44-55", "192.168.0.255"}},
        // every code from 1 to 32 separates
        {"prog\x01"
         "a\x1F"
         "b\tc\nd\re e",
         {"prog", "a", "b", "c", "d", "e", "e"}},
        // code 127 and bytes above 127 belong to the argument
        {"prog a\x7F\xE4 b", {"prog", "a\x7F\xE4", "b"}},
        // quotes group blanks and are dropped, also in the middle of an argument
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog /pw:\"my secret\"x", {"prog", "/pw:my secretx"}},
        {"prog a\"b\"c", {"prog", "abc"}},
        {"prog \" \"", {"prog", " "}},
        // a lone empty pair makes no argument, also several in a row
        {"prog \"\" a", {"prog", "a"}},
        {"prog \"\"\"\" a \"\"", {"prog", "a"}},
        {"prog \"\"a", {"prog", "a"}},
        // an empty pair later in an argument is simply dropped
        {"prog a\"\"b", {"prog", "ab"}},
        {"prog a\"\"", {"prog", "a"}},
        // no escape character: a backslash stays, and a quote still groups
        {"prog a\\\"b c\"", {"prog", "a\\b c"}},
        {"prog C:\\dir\\ x", {"prog", "C:\\dir\\", "x"}},
        // an unterminated quote runs to the end
        {"prog \"a b", {"prog", "a b"}},
        // a quote that opens nothing at the very end ends the list
        {"prog a \"", {"prog", "a"}},
        // a three-quote run: the empty pair goes, the third quote opens a group
        {"prog \"\"\" x", {"prog", " x"}},
        // a zero byte ends the text
        {std::string("prog a\0b c", 10), {"prog", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("command line: [" + c.commandLine + "]");
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.items);
    }
}

TEST(CommandLineArgs, ArgumentsLeaveOutTheProgramName) {
    EXPECT_EQ(CommandLineArguments(""), Items{});
    EXPECT_EQ(CommandLineArguments("\"Z:\\work\\corvane.exe\""), Items{});
    EXPECT_EQ(CommandLineArguments("\"Z:\\work\\corvane.exe\" 00-11-22-33-44-55 \"a b\" /pw:x"),
              (Items{"00-11-22-33-44-55", "a b", "/pw:x"}));
    // the way Wine quotes an empty argument: it disappears
    EXPECT_EQ(CommandLineArguments("prog \"\" 127.255.255.255"), Items{"127.255.255.255"});
}

}  // namespace
