#include <gtest/gtest.h>

#include "cli/OptionWalk.h"

namespace {

const char* const kOptions[] = {"--port", "--to"};

// The walk's outcome as one text: each option handed on as "name=value;", then "help;" when
// help was asked for, then the error, if any.
std::string Walk(const std::vector<std::string>& arguments) {
    std::string seen;
    const auto read = [&seen](const std::string& name, const std::string& value,
                              std::string& error) {
        if (value == "bad") {
            error = "bad " + name;
            return false;
        }
        seen += name + "=" + value + ";";
        return true;
    };
    bool help = false;
    std::string error;
    const bool ok = WalkOptions(arguments, kOptions, read, help, error);
    EXPECT_EQ(ok, error.empty());
    return seen + (help ? "help;" : "") + error;
}

TEST(OptionWalk, SplitsNamesFromValues) {
    const struct {
        std::vector<std::string> arguments;
        std::string outcome;
    } rows[] = {
        {{}, ""},
        {{"--port", "9", "--to=a=b"}, "--port=9;--to=a=b;"},
        {{"--port="}, "--port=;"},
        {{"--port", "--to"}, "--port=--to;"},
        {{"-h"}, "help;"},
        {{"--help=no", "--port", "1"}, "--port=1;help;"},
        {{"-p=1"}, "unknown option '-p=1'"},
        {{"--Port=1"}, "unknown option '--Port'"},
        {{"--port", "1", "--to"}, "--port=1;option --to needs a value"},
        {{"--port=bad", "--to", "x"}, "bad --port"},
        {{"--port", "bad", "-h"}, "bad --port"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.outcome);
        EXPECT_EQ(Walk(row.arguments), row.outcome);
    }
}

}  // namespace

namespace {

const char* const kFlags[] = {"--wait"};

// WalkArguments' outcome: the options as in Walk, then "[operands]".
std::string WalkWithOperands(const std::vector<std::string>& arguments) {
    std::string seen;
    const auto read = [&seen](const std::string& name, const std::string& value, std::string&) {
        seen += name + "=" + value + ";";
        return true;
    };
    std::vector<std::string> operands;
    bool help = false;
    std::string error;
    WalkArguments(arguments, kOptions, kFlags, read, operands, help, error);
    std::string words;
    for (const std::string& operand : operands) {
        words += (words.empty() ? "" : " ") + operand;
    }
    return seen + "[" + words + "]" + error;
}

TEST(OptionWalk, TakesFlagsAndOperandsWhereAsked) {
    const struct {
        std::vector<std::string> arguments;
        std::string outcome;
    } rows[] = {
        {{"nas", "--wait", "--port", "9", "@lab"}, "--wait=;--port=9;[nas @lab]"},
        {{"--wait=1"}, "[]option --wait takes no value"},
        {{"a", "--", "--wait", "-h"}, "[a --wait -h]"},
        {{"-x"}, "[]unknown option '-x'"},
        {{""}, "[]"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.outcome);
        EXPECT_EQ(WalkWithOperands(row.arguments), row.outcome);
    }
    EXPECT_EQ(Walk({"nas"}), "unknown option 'nas'") << "the monitor and relay take none";
}

}  // namespace
