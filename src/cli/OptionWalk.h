#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

// The argument walk of the console programs' options.

// Checks one option's value and stores it; false with `error` set when the value is bad.
using TOptionValueReader =
    std::function<bool(const std::string& name, const std::string& value, std::string& error)>;

// Walks the arguments after the program name. "--help" and "-h" set `help`; every other
// argument must be one of `valueOptions`, whose value is the next argument or follows '='
// (--port=9). Each option goes with its value to `readValue`, in the order given. Stops at the
// first unknown option, missing value or refused value: false with `error` saying what is
// wrong.
bool WalkOptions(const std::vector<std::string>& arguments,
                 std::span<const char* const> valueOptions, const TOptionValueReader& readValue,
                 bool& help, std::string& error);

// The same walk for a program that also takes options without a value (`flagOptions`, handed
// to `readValue` with an empty value; "--wait=1" is refused) and operands: the arguments that
// do not start with '-', and every argument after "--", appended to `operands` in order.
bool WalkArguments(const std::vector<std::string>& arguments,
                   std::span<const char* const> valueOptions,
                   std::span<const char* const> flagOptions, const TOptionValueReader& readValue,
                   std::vector<std::string>& operands, bool& help, std::string& error);
