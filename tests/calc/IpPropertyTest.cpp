#include <gtest/gtest.h>

#include <string>

#include "base/Exception.h"
#include "calc/IpProperty.h"
#include "net/IdException.h"

namespace {

enum class Failure {
    kNone,
    kConversion,
    kRange
};

// Which of the two exception kinds a parse raised, and with which message.
Failure ParseFailure(const std::string& text, std::string& message) {
    try {
        ParseDottedAddress(text);
        return Failure::kNone;
    } catch (const EIdException& e) {
        message = e.Message();
        return Failure::kRange;
    } catch (const Exception& e) {
        message = e.Message();
        return Failure::kConversion;
    }
}

TEST(IpProperty, NewValueIsZeroWithEmptyTexts) {
    TIpProperty ip;
    EXPECT_EQ(ip.AsDoubleWord(), 0u);
    EXPECT_EQ(ip.Byte1() + ip.Byte2() + ip.Byte3() + ip.Byte4(), 0);
    EXPECT_EQ(ip.AsString(), "");
    EXPECT_EQ(ip.AsBinaryString(), "");
}

TEST(IpProperty, ParsesDottedTexts) {
    struct Row {
        const char* text;
        uint32_t value;
    };
    const Row rows[] = {
        {"1.2.3.4", 0x01020304},         {" 1.2.3.4", 0x01020304},        {"$A.0.0.1", 0x0A000001},
        {"0x0a.X10.+1.007", 0x0A100107}, {"255.255.255.255", 0xFFFFFFFF}, {"0.0.0.0", 0},
        {"192.168.0.10", 0xC0A8000A},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseDottedAddress(row.text), row.value);
    }
}

TEST(IpProperty, RejectsBadTextsWithTheRightKind) {
    struct Row {
        const char* text;
        Failure failure;
    };
    const Row rows[] = {
        {"1.2.3", Failure::kConversion},      // piece 4 empty
        {"1.2.3.4.5", Failure::kConversion},  // piece 4 is "4.5"
        {"abc", Failure::kConversion},       {"", Failure::kConversion},
        {"1.2.3.4 ", Failure::kConversion},  // trailing blank
        {"1..3.4", Failure::kConversion},    {"300.x.1.1", Failure::kConversion},
        {"1.2.3.256", Failure::kRange},      {"-1.0.0.0", Failure::kRange},
        {"256.0.0.0", Failure::kRange},      {"$FFFFFFFF.0.0.0", Failure::kRange},
        {"1.2.3.$100", Failure::kRange},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string message;
        EXPECT_EQ(ParseFailure(row.text, message), row.failure);
        EXPECT_EQ(message,
                  std::string("The string ") + row.text + " does not translate into a valid IP.");
    }
}

TEST(IpProperty, EveryAssignmentRefreshesAllForms) {
    struct Row {
        const char* name;
        std::function<void(TIpProperty&)> assign;
    };
    const Row rows[] = {
        {"AsString", [](TIpProperty& ip) { ip.SetAsString("192.168.1.130"); }},
        {"AsDoubleWord", [](TIpProperty& ip) { ip.SetAsDoubleWord(0xC0A80182); }},
        {"AsBinaryString",
         [](TIpProperty& ip) { ip.SetAsBinaryString("11000000101010000000000110000010"); }},
        {"SetOctets", [](TIpProperty& ip) { ip.SetOctets(192, 168, 1, 130); }},
        {"Bytes",
         [](TIpProperty& ip) {
             ip.SetByte1(192);
             ip.SetByte2(168);
             ip.SetByte3(1);
             ip.SetByte4(130);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIpProperty ip;
        row.assign(ip);
        EXPECT_EQ(ip.Byte1(), 192);
        EXPECT_EQ(ip.Byte2(), 168);
        EXPECT_EQ(ip.Byte3(), 1);
        EXPECT_EQ(ip.Byte4(), 130);
        EXPECT_EQ(ip.AsDoubleWord(), 0xC0A80182u);
        EXPECT_EQ(ip.AsBinaryString(), "11000000101010000000000110000010");
        EXPECT_EQ(ip.AsString(), "192.168.1.130");
    }
}

TEST(IpProperty, NotifiesOnlyWhenTheValueChanges) {
    TIpProperty ip;
    int changes = 0;
    ip.SetOnChange([&](TIpProperty& sender) {
        EXPECT_EQ(&sender, &ip);
        ++changes;
    });
    ip.SetAsString("10.1.1.1");
    EXPECT_EQ(changes, 1);
    ip.SetAsString("10.1.1.1");
    ip.SetAsString("010.001.1.1");  // same value: texts refreshed, nothing raised
    ip.SetAsDoubleWord(0x0A010101);
    ip.SetByte1(10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ip.AsString(), "10.1.1.1");
    ip.SetByte4(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ip.AsString(), "10.1.1.2");
}

TEST(IpProperty, FailedAssignmentsLeaveTheValue) {
    TIpProperty ip;
    ip.SetAsString("1.2.3.4");
    int changes = 0;
    ip.SetOnChange([&](TIpProperty&) { ++changes; });
    EXPECT_THROW(ip.SetAsString("1.2.3.256"), EIdException);
    EXPECT_THROW(ip.SetAsString("1.2.3"), Exception);
    try {
        ip.SetAsBinaryString(std::string(31, '1'));
        ADD_FAILURE() << "31 characters accepted";
    } catch (const EIdException& e) {
        EXPECT_EQ(e.Message(), "Invalid value length: Should be 32.");
    }
    EXPECT_THROW(ip.SetAsBinaryString(std::string(33, '0')), EIdException);
    EXPECT_EQ(ip.AsString(), "1.2.3.4");
    EXPECT_EQ(ip.AsDoubleWord(), 0x01020304u);
    EXPECT_EQ(changes, 0);
}

TEST(IpProperty, BinaryTextCountsEveryNonZeroCharacterAsOne) {
    TIpProperty ip;
    ip.SetAsBinaryString("x1a1" + std::string(28, '0'));
    EXPECT_EQ(ip.AsString(), "240.0.0.0");
    EXPECT_EQ(ip.AsBinaryString(), "1111" + std::string(28, '0'));
}

}  // namespace
