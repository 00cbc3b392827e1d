// The stack's IPv4 address text: the parser, and the conversions between text and bytes.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "net/IdException.h"
#include "net/IdStack.h"
#include "support/RecordingStack.h"

namespace {

TEST(IdStack, ParseAddressTextFormsClassesAndBytes) {
    using F = TIdAddressForm;
    using C = TIdAddressClass;
    const struct {
        const char* text;
        bool valid;
        F form;
        C addressClass;
        TIdIPv4Address bytes;
    } rows[] = {
        {"192.168.0.255", true, F::Dotted, C::C, {0xC0, 0xA8, 0x00, 0xFF}},
        {"10.0.0.1", true, F::Dotted, C::A, {10, 0, 0, 1}},
        {"172.16.0.1", true, F::Dotted, C::B, {172, 16, 0, 1}},
        {"224.0.0.1", true, F::Dotted, C::D, {224, 0, 0, 1}},
        {"240.0.0.1", true, F::Dotted, C::E, {240, 0, 0, 1}},
        {"127.255.255.255", true, F::Dotted, C::A, {127, 255, 255, 255}},
        {"191.0.0.0", true, F::Dotted, C::B, {191, 0, 0, 0}},
        {"223.0.0.0", true, F::Dotted, C::C, {223, 0, 0, 0}},
        {"239.0.0.0", true, F::Dotted, C::D, {239, 0, 0, 0}},
        {"10.1", true, F::Dotted, C::A, {0x0A, 0x00, 0x00, 0x01}},
        {"10.16777215", true, F::Dotted, C::A, {10, 0xFF, 0xFF, 0xFF}},
        {"172.16.1", true, F::Dotted, C::B, {0xAC, 0x10, 0x00, 0x01}},
        {"1.2.65535", true, F::Dotted, C::B, {1, 2, 0xFF, 0xFF}},
        {"3232235521", true, F::Numeric, C::Unclassified, {0xC0, 0xA8, 0x00, 0x01}},
        {"4294967295", true, F::Numeric, C::Unclassified, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"0", true, F::Numeric, C::Unclassified, {0, 0, 0, 0}},
        {"$C0A80001", true, F::Numeric, C::Unclassified, {0xC0, 0xA8, 0x00, 0x01}},
        {"0xFFFFFFFF", true, F::Numeric, C::Unclassified, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"0x7F.0.0.1", true, F::Dotted, C::A, {127, 0, 0, 1}},
        {"$7F.x0.X0.1", true, F::Dotted, C::A, {127, 0, 0, 1}},
        {" 1.2.3.4", true, F::Dotted, C::A, {1, 2, 3, 4}},
        {"4294967296", false, F::Invalid, C::Unclassified, {}},
        {"xFF", false, F::Invalid, C::Unclassified, {}},  // no bare x for a single number
        {"-1", false, F::Invalid, C::Unclassified, {}},
        {"256.1.1.1", false, F::Invalid, C::Unclassified, {}},
        {"1.2.3.4.5", false, F::Invalid, C::Unclassified, {}},
        {"1.2.3.-4", false, F::Invalid, C::Unclassified, {}},
        {"1.2.3.4 ", false, F::Invalid, C::Unclassified, {}},
        {"1.2.3.256", false, F::Invalid, C::Unclassified, {}},
        {"10.16777216", false, F::Invalid, C::Unclassified, {}},
        {"1.2.65536", false, F::Invalid, C::Unclassified, {}},
        {"a.b.c.d", false, F::Invalid, C::Unclassified, {}},
        {"localhost", false, F::Invalid, C::Unclassified, {}},
        {"", false, F::Invalid, C::Unclassified, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        TIdIPv4Address bytes = {0xEE, 0xEE, 0xEE, 0xEE};
        TIdAddressForm form = F::Numeric;
        TIdAddressClass addressClass = C::E;
        EXPECT_EQ(TIdStack::ParseAddressText(row.text, &bytes[0], &bytes[1], &bytes[2], &bytes[3],
                                             &form, &addressClass),
                  row.valid);
        EXPECT_EQ(form, row.form);
        EXPECT_EQ(addressClass, row.addressClass);
        // A failed parse writes no byte.
        const TIdIPv4Address expected =
            row.valid ? row.bytes : TIdIPv4Address{0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(TIdStack::IsAddressText(row.text), row.valid);
        EXPECT_TRUE(TIdStack::IsAddressForm(row.text, row.form));
    }
}

TEST(IdStack, TextToAddressRaisesForNonAddressesAndAddressToTextDropsZeros) {
    TRecordingStack stack(std::make_shared<RecordingState>());
    EXPECT_EQ(stack.TextToAddress("10.1"), (TIdIPv4Address{10, 0, 0, 1}));
    EXPECT_EQ(stack.AddressToText({0xC0, 0xA8, 0x00, 0xFF}), "192.168.0.255");
    EXPECT_EQ(stack.AddressToText({0, 0, 0, 0}), "0.0.0.0");
    try {
        stack.TextToAddress("256.1.1.1");
        FAIL() << "no exception";
    } catch (const EIdInvalidIPAddress& e) {
        EXPECT_EQ(e.Message(), "256.1.1.1 is not a valid IP address.");
    }
}

}  // namespace
