#include <gtest/gtest.h>

#include <limits>

#include "base/Exception.h"
#include "base/IntConv.h"

namespace {

struct Good {
    const char* text;
    int32_t value;
};

TEST(IntConv, AcceptsEveryForm) {
    const Good rows[] = {
        {"26354", 26354},
        {"+26354", 26354},
        {" 26354", 26354},
        {"   26354", 26354},
        {"$66F2", 26354},
        {"0x66f2", 26354},
        {"0X66F2", 26354},
        {"x66F2", 26354},
        {"X66f2", 26354},
        {"-1", -1},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"$FFFFFFFF", -1},
        {"$80000000", std::numeric_limits<int32_t>::min()},
        {"$000000000001", 1},
        {"$7fffffff", 2147483647},
        {"0x0", 0},
    };
    for (const Good& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(StrToInt(row.text), row.value);
    }
}

TEST(IntConv, RejectsWithExactMessage) {
    const char* rows[] = {
        "",           " ",   "26354 ", "-$10", "+0x10", "2147483648", "-2147483649",
        "$100000000", "$",   "0x",     "x",    "+",     "-",          "1e3",
        "\t1",        "12a", "$fg",    "0x-1", "1 2",   "\xfc",       "99999999999999999999",
    };
    for (const char* text : rows) {
        SCOPED_TRACE(text);
        try {
            StrToInt(text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' ist kein gültiger Integerwert");
        }
    }
}

TEST(IntConv, KeepsZeroBytesInTheMessage) {
    const std::string text(
        "1\0"
        "2",
        3);
    try {
        StrToInt(text);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + text + "' ist kein gültiger Integerwert");
    }
}

TEST(IntConv, WideFormRejectsBareXPrefix) {
    int64_t value = 0;
    EXPECT_TRUE(TryStrToInt64("4294967295", value));
    EXPECT_EQ(value, 4294967295);
    EXPECT_TRUE(TryStrToInt64("0xFFFFFFFF", value));
    EXPECT_EQ(value, 4294967295);
    EXPECT_TRUE(TryStrToInt64("$C0A80001", value));
    EXPECT_EQ(value, 3232235521);
    EXPECT_FALSE(TryStrToInt64("xFF", value));
    EXPECT_FALSE(TryStrToInt64("XFF", value));
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", value));
    EXPECT_TRUE(TryStrToInt64("$FFFFFFFFFFFFFFFF", value));
    EXPECT_EQ(value, -1);
}

TEST(IntConv, HugeInputIsRejectedQuickly) {
    int32_t value = 0;
    EXPECT_FALSE(TryStrToInt(std::string(1 << 20, '7'), value));
    EXPECT_FALSE(TryStrToInt("$" + std::string(1 << 20, '0') + "1G", value));
    EXPECT_TRUE(TryStrToInt("$" + std::string(1 << 20, '0') + "1", value));
    EXPECT_EQ(value, 1);
}

}  // namespace
