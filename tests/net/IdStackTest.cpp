// The portable part of the socket stack: error texts, the address parser, host-to-address and
// the lifetime of the process-wide stack.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/IdException.h"
#include "net/IdStack.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"

namespace {

TEST(IdStack, ErrorTextGivesNumberLineBreakAndTableText) {
    TRecordingStack stack(std::make_shared<RecordingState>());
    const struct {
        int32_t code;
        std::string expected;
    } rows[] = {
        {10004, "Socket Error # 10004\r\nInterrupted system call."},
        {10013, "Socket Error # 10013\r\nAccess denied."},
        {10035, "Socket Error # 10035\r\nOperation would block. "},
        {10040, "Socket Error # 10040\r\nMessage too long."},
        {10047, "Socket Error # 10047\r\nAddress family not supported by protocol family."},
        {10058, "Socket Error # 10058\r\nCannot send or receive after socket is closed."},
        {10065, "Socket Error # 10065\r\nNo route to host."},
        {10066, "Socket Error # 10066\r\nDirectory not empty"},
        {11001, "Socket Error # 11001\r\nHost not found."},
        {11004, "Socket Error # 11004\r\n"},
        {10093, "Socket Error # 10093\r\n"},
        {0, "Socket Error # 0\r\n"},
        {-1, "Socket Error # -1\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(stack.ErrorText(row.code), row.expected);
    }
}

TEST(IdStack, CheckResultRaisesUnlessToleratedAndKeepsTheFailure) {
    ScopedRecordingStack recording;
    TIdUDPClient client;  // makes the global stack
    TIdStack& stack = *GlobalStack();
    EXPECT_FALSE(stack.CheckResult(0));
    EXPECT_FALSE(stack.CheckResult(5));

    recording.FailSocketCreation(true);  // the socket call fails with 10024
    EXPECT_THROW(stack.CreateSocket(kIdSockDgram, 0), EIdInvalidSocket);
    const int32_t tolerated[] = {10035, 10024};
    EXPECT_TRUE(stack.CheckResult(-1, tolerated));
    EXPECT_EQ(stack.LastFailure(), 10024);
    try {
        stack.CheckResult(-1);
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 10024);
        EXPECT_EQ(e.Message(), "Socket Error # 10024\r\nToo many open files.");
    }
}

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

TEST(IdStack, HostToAddressLooksUpOnlyNamesThatAreNotAddresses) {
    auto state = std::make_shared<RecordingState>();
    state->hosts["wol-target"] = "10.0.0.7";
    TRecordingStack stack(state);
    for (const char* host : {"LOCALHOST", "localhost", "LocalHost"}) {
        SCOPED_TRACE(host);
        EXPECT_EQ(stack.HostToAddress(host), "127.0.0.1");
    }
    EXPECT_EQ(stack.HostToAddress("192.168.0.255"), "192.168.0.255");
    EXPECT_EQ(stack.HostToAddress("3232235521"), "3232235521");
    EXPECT_TRUE(state->lookups.empty());

    EXPECT_EQ(stack.HostToAddress("wol-target"), "10.0.0.7");
    EXPECT_EQ(stack.HostToAddress("wol-target"), "10.0.0.7");  // no cache: looked up again
    EXPECT_EQ(state->lookups, (std::vector<std::string>{"wol-target", "wol-target"}));
    try {
        stack.HostToAddress("localhost.");
        FAIL() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
    EXPECT_EQ(stack.LastFailure(), 11001);
}

TEST(IdStack, OneStackServesAllComponentsAndGoesWithTheLast) {
    ScopedRecordingStack recording;
    ASSERT_EQ(StackUsers(), 0);
    ASSERT_EQ(GlobalStack(), nullptr);
    {
        TIdUDPClient first;
        TIdStack* stack = GlobalStack();
        ASSERT_NE(stack, nullptr);
        EXPECT_EQ(StackUsers(), 1);
        {
            TIdUDPClient second;
            EXPECT_EQ(StackUsers(), 2);
            EXPECT_EQ(GlobalStack(), stack);
        }
        EXPECT_EQ(StackUsers(), 1);
        EXPECT_EQ(GlobalStack(), stack);
        EXPECT_EQ(recording.stacksCreated, 1);
        EXPECT_EQ(recording.stacksDestroyed, 0);
    }
    EXPECT_EQ(StackUsers(), 0);
    EXPECT_EQ(GlobalStack(), nullptr);
    EXPECT_EQ(recording.stacksDestroyed, 1);
}

TEST(IdStack, FailedStackCreationLeavesTheCountAndTheNextComponentTriesAgain) {
    ScopedRecordingStack recording;
    recording.FailStackCreation(true);
    try {
        TIdUDPClient client;
        FAIL() << "no exception";
    } catch (const EIdStackInitializationFailed& e) {
        EXPECT_EQ(e.Message(), "Winsock Initialization Error.");
    }
    EXPECT_EQ(StackUsers(), 0);
    EXPECT_EQ(GlobalStack(), nullptr);

    recording.FailStackCreation(false);
    TIdUDPClient client;
    EXPECT_EQ(StackUsers(), 1);
    EXPECT_NE(GlobalStack(), nullptr);
}

TEST(IdStack, ScopedRecordingStackRestoresThePreviousClass) {
    int made = 0;
    SetDefaultStackClass([&made]() -> std::unique_ptr<TIdStack> {
        ++made;
        return std::make_unique<TRecordingStack>(std::make_shared<RecordingState>());
    });
    { ScopedRecordingStack recording; }
    { TIdUDPClient client; }
    EXPECT_EQ(made, 1);
    SetDefaultStackClass(nullptr);
}

TEST(IdWS2StubError, MessageIsHeadingAloneOnlyWithoutSystemError) {
    const EIdWS2StubError withText(10093, "Either the start-up was not done", "Heading x");
    EXPECT_EQ(withText.Message(), "Heading x: Either the start-up was not done");
    EXPECT_EQ(withText.SystemError(), 10093u);
    EXPECT_EQ(EIdWS2StubError(0, "ignored", "Heading y").Message(), "Heading y");
    // A system error without a text still gets the separator: the number said there was one.
    EXPECT_EQ(EIdWS2StubError(126, "", "Heading z").Message(), "Heading z: ");
    EXPECT_EQ(EIdWS2StubError::TrimSystemText("The module was not found. \r\n"),
              "The module was not found");
    EXPECT_EQ(EIdWS2StubError::TrimSystemText("Ends..\t. ."), "Ends");
}

}  // namespace
