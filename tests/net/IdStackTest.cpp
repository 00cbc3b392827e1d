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
    // Every row, typed apart from the table in the code: users see these texts.
    const struct {
        int32_t code;
        std::string text;
    } rows[] = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
        {11004, ""},  // outside the table: the number and the line break alone
        {10093, ""},
        {0, ""},
        {-1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(stack.ErrorText(row.code),
                  "Socket Error # " + std::to_string(row.code) + "\r\n" + row.text);
    }
    // The texts that break the pattern of the others, spelled out whole.
    EXPECT_EQ(stack.ErrorText(10035), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_EQ(stack.ErrorText(10066), "Socket Error # 10066\r\nDirectory not empty");
    EXPECT_EQ(stack.ErrorText(11004), "Socket Error # 11004\r\n");
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
