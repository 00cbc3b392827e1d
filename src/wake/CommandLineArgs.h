#pragma once

#include <string>
#include <string_view>
#include <vector>

// The process command line as the program reads its arguments.
//
// Characters of code 1 to 32 separate items. A double quote opens a group that runs to the next
// double quote (or the end) and may hold blanks; the quotes themselves are dropped. Empty quote
// pairs at the start of an item are skipped like blanks, so a lone "" makes no item. There is no
// escape character. The text ends at its end or at a zero byte.

// Every item, the program name first.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The items after the program name: the arguments the command-line wake reads.
std::vector<std::string> CommandLineArguments(std::string_view commandLine);
