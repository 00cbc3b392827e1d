// The portable part of the socket stack: result checking, host-to-address and the stub error.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/IdException.h"
#include "net/IdStack.h"
#include "net/IdUDPClient.h"
#include "support/RecordingStack.h"

namespace {

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
