#include <gtest/gtest.h>

#include "check/CheckRunner.h"
#include "support/FakeProber.h"

namespace {

constexpr uint32_t kNas = 0x0A000001;  // 10.0.0.1: nothing is sent, the prober is a fake
constexpr uint32_t kLab = 0x0A000002;

const TCheckSpec kIcmp{TCheckKind::Icmp, 0};
const TCheckSpec kSsh{TCheckKind::Tcp, 22};
const TCheckSpec kSmb{TCheckKind::Tcp, 445};
const TCheckSpec kRdp{TCheckKind::Tcp, 3389};

// The token of the last echo ('e') or connect ('c') the runner gave the prober.
uint64_t TokenOf(const TFakeProber& prober, char what, uint32_t address, uint16_t port = 0) {
    for (auto call = prober.calls.rbegin(); call != prober.calls.rend(); ++call) {
        if (call->what == what && call->address == address && call->port == port) {
            return call->token;
        }
    }
    ADD_FAILURE() << "no such call";
    return 0;
}

size_t Count(const TFakeProber& prober, char what) {
    size_t count = 0;
    for (const auto& call : prober.calls) {
        count += call.what == what ? 1 : 0;
    }
    return count;
}

std::vector<TCheckAnswer> Poll(TCheckRunner& runner, int64_t nowMs = 0, int32_t waitMs = 0) {
    std::vector<TCheckAnswer> answers;
    runner.Poll(nowMs, waitMs, answers);
    return answers;
}

TEST(CheckRunner, AnswersAndRefusalsProveUpFailuresDoNot) {
    struct Row {
        const char* name;
        TCheckSpec check;
        char outcome;  // 'a' answered, 'r' refused, 'f' failed
        int32_t error;
        bool up;
    };
    const Row rows[] = {
        {"echo reply", kIcmp, 'a', 0, true},
        {"connect completed", kSmb, 'a', 0, true},
        {"connect refused", kSmb, 'r', 0, true},
        {"host unreachable", kSmb, 'f', 10065, false},
        {"network unreachable", kSmb, 'f', 10051, false},
        {"timed out", kSsh, 'f', 10060, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeProber prober;
        TCheckRunner runner(prober, 16);
        runner.Start(7, kNas, {row.check}, 0);
        const uint64_t token =
            row.check.kind == TCheckKind::Icmp
                ? TokenOf(prober, 'e', kNas)
                : TokenOf(prober, 'c', kNas, static_cast<uint16_t>(row.check.port));
        if (row.outcome == 'a') {
            prober.Answer(token);
        } else if (row.outcome == 'r') {
            prober.Refuse(token);
        } else {
            prober.Fail(token, row.error);
        }
        const auto answers = Poll(runner);
        ASSERT_EQ(answers.size(), row.up ? 1u : 0u);
        if (row.up) {
            EXPECT_EQ(answers[0].target, 7u);
            EXPECT_EQ(answers[0].check, row.check);
        }
        EXPECT_EQ(runner.ConnectsInFlight(), 0u);
    }
}

TEST(CheckRunner, ATargetAnswersOnceWithItsFirstCheckAndEndsTheOthers) {
    TFakeProber prober;
    TCheckRunner runner(prober, 16);
    runner.Start(1, kNas, {kIcmp, kSsh, kSmb, kRdp}, 0);
    prober.Answer(TokenOf(prober, 'c', kNas, 445));
    prober.Answer(TokenOf(prober, 'c', kNas, 22));
    const auto answers = Poll(runner);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].check, kSmb);
    EXPECT_FALSE(prober.InFlight(TokenOf(prober, 'e', kNas)));
    EXPECT_FALSE(prober.InFlight(TokenOf(prober, 'c', kNas, 3389)));
    EXPECT_EQ(runner.ConnectsInFlight(), 0u);
    EXPECT_TRUE(Poll(runner).empty());

    // Started again, it may answer again.
    runner.Start(1, kNas, {kSmb}, 1000);
    prober.Answer(TokenOf(prober, 'c', kNas, 445));
    EXPECT_EQ(Poll(runner, 1000).size(), 1u);
}

TEST(CheckRunner, TargetsAreToldApart) {
    TFakeProber prober;
    TCheckRunner runner(prober, 16);
    runner.Start(0, kNas, {kSmb}, 0);
    runner.Start(12345, kLab, {kSmb}, 0);
    prober.Answer(TokenOf(prober, 'c', kLab, 445));
    const auto answers = Poll(runner);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].target, 12345u);
    EXPECT_EQ(runner.ConnectsInFlight(), 1u);
}

TEST(CheckRunner, ConnectsBeyondTheBudgetWaitInOrder) {
    TFakeProber prober;
    TCheckRunner runner(prober, 2);
    runner.Start(1, kNas, {kIcmp, kSsh, kSmb, kRdp}, 0);
    runner.Start(2, kLab, {kSsh}, 0);
    EXPECT_EQ(Count(prober, 'e'), 1u);  // echoes need no descriptor of their own
    EXPECT_EQ(Count(prober, 'c'), 2u);
    EXPECT_EQ(runner.ConnectsInFlight(), 2u);

    prober.Fail(TokenOf(prober, 'c', kNas, 22), 10060);
    EXPECT_TRUE(Poll(runner).empty());
    EXPECT_EQ(prober.calls.back().port, 3389);  // the next in line, once a slot is free
    EXPECT_EQ(runner.ConnectsInFlight(), 2u);

    prober.Answer(TokenOf(prober, 'c', kNas, 445));  // ends tcp:3389 too: two slots free
    EXPECT_EQ(Poll(runner).size(), 1u);
    EXPECT_EQ(prober.calls.back().what, 'c');
    EXPECT_EQ(prober.calls.back().address, kLab);
    EXPECT_EQ(runner.ConnectsInFlight(), 1u);
    EXPECT_EQ(Count(prober, 'c'), 4u);
}

TEST(CheckRunner, AConnectStillInFlightIsKeptByTheNextAttempt) {
    TFakeProber prober;
    TCheckRunner runner(prober, 1);
    runner.Start(1, kNas, {kIcmp, kSsh, kSmb}, 0);
    runner.Start(1, kNas, {kIcmp, kSsh, kSmb}, 1000);  // tcp:22 in flight, tcp:445 queued
    EXPECT_EQ(Count(prober, 'c'), 1u);
    EXPECT_EQ(Count(prober, 'e'), 2u);  // the echo is sent again
    prober.Fail(TokenOf(prober, 'c', kNas, 22), 10060);
    Poll(runner, 1000);
    EXPECT_EQ(Count(prober, 'c'), 2u);  // tcp:445 once, not twice
    prober.Fail(TokenOf(prober, 'c', kNas, 445), 10060);
    Poll(runner, 1000);
    EXPECT_EQ(Count(prober, 'c'), 2u);
}

TEST(CheckRunner, StopEndsInFlightAndQueuedChecks) {
    TFakeProber prober;
    TCheckRunner runner(prober, 1);
    runner.Start(1, kNas, {kIcmp, kSsh, kSmb}, 0);
    runner.Start(2, kLab, {kSsh}, 0);
    const uint64_t echo = TokenOf(prober, 'e', kNas);
    const uint64_t ssh = TokenOf(prober, 'c', kNas, 22);
    runner.Stop(1);
    EXPECT_FALSE(prober.InFlight(echo));
    EXPECT_FALSE(prober.InFlight(ssh));
    EXPECT_TRUE(Poll(runner).empty());
    // tcp:445 of the stopped target never starts; the other target's connect does.
    ASSERT_EQ(Count(prober, 'c'), 2u);
    EXPECT_EQ(prober.calls.back().address, kLab);
    runner.Stop(99);  // unknown: ignored
}

TEST(CheckRunner, NoDescriptorRetriesLaterAndBoundsTheWait) {
    TFakeProber prober;
    TCheckRunner runner(prober, 8);
    prober.refuseConnects = 1;
    runner.Start(1, kNas, {kSmb}, 5000);
    EXPECT_EQ(Count(prober, 'c'), 0u);
    Poll(runner, 5000, 1000);
    EXPECT_LE(prober.waits.back(), 100);  // not past the retry
    EXPECT_EQ(Count(prober, 'c'), 0u);
    Poll(runner, 5100, 1000);
    EXPECT_EQ(Count(prober, 'c'), 1u);
    EXPECT_EQ(prober.waits.back(), 1000);  // nothing waits for a retry any more
}

TEST(CheckRunner, AnEchoThatFailedDoesNotStopTheConnects) {
    TFakeProber prober;
    TCheckRunner runner(prober, 8);
    runner.Start(3, kNas, {kIcmp, kRdp}, 0);
    prober.Fail(TokenOf(prober, 'e', kNas), 10013);
    EXPECT_TRUE(Poll(runner).empty());
    prober.Refuse(TokenOf(prober, 'c', kNas, 3389));
    const auto answers = Poll(runner);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].check, kRdp);
}

}  // namespace
