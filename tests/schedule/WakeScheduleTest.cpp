#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/WakeSchedule.h"

namespace {

// The actions as text, "S0 C0 E1" (Send, Check, sEttle and the target), to compare in one go.
std::string Take(TWakeSchedule& schedule, int64_t nowMs) {
    std::vector<TWakeAction> actions;
    schedule.TakeDue(nowMs, actions);
    std::string text;
    for (const TWakeAction& action : actions) {
        const char kind = action.kind == TWakeActionKind::Send    ? 'S'
                          : action.kind == TWakeActionKind::Check ? 'C'
                                                                  : 'E';
        text += (text.empty() ? "" : " ") + std::string(1, kind) + std::to_string(action.target);
    }
    return text;
}

// Runs the schedule at each due time up to untilMs; the actions of each step as "t: actions".
std::vector<std::string> RunUntil(TWakeSchedule& schedule, int64_t untilMs) {
    std::vector<std::string> steps;
    while (schedule.NextDueMs() <= untilMs) {
        const int64_t now = schedule.NextDueMs();
        steps.push_back(std::to_string(now) + ": " + Take(schedule, now));
    }
    return steps;
}

TWakeTiming Timing(int64_t delayMs, int64_t resendMs, int64_t timeoutMs, int64_t checkEveryMs) {
    TWakeTiming timing;
    timing.delayMs = delayMs;
    timing.resendMs = resendMs;
    timing.timeoutMs = timeoutMs;
    timing.checkEveryMs = checkEveryMs;
    return timing;
}

TEST(WakeSchedule, ResendsChecksAndGivesUpAtTheDeadline) {
    TWakeSchedule schedule(Timing(0, 10000, 30000, 4000));
    EXPECT_EQ(schedule.NextDueMs(), INT64_MAX);
    schedule.Add(1000);
    EXPECT_EQ(schedule.State(0), TWakeState::Pending);
    EXPECT_EQ(schedule.FirstActionMs(0), -1);
    EXPECT_EQ(RunUntil(schedule, 100000),
              (std::vector<std::string>{"1000: S0 C0", "5000: C0", "9000: C0", "11000: S0",
                                        "13000: C0", "17000: C0", "21000: S0 C0", "25000: C0",
                                        "29000: C0", "31000: E0"}));
    EXPECT_EQ(schedule.State(0), TWakeState::NoAnswer);
    EXPECT_EQ(schedule.Packets(0), 3) << "the packet due at the deadline is not sent";
    EXPECT_EQ(schedule.FirstActionMs(0), 1000);
    EXPECT_EQ(schedule.SettledMs(0), 31000);
    EXPECT_TRUE(schedule.AllSettled());
    EXPECT_EQ(schedule.NextDueMs(), INT64_MAX);
}

TEST(WakeSchedule, TheDefaultsSendTwelvePacketsInTwoMinutes) {
    TWakeSchedule schedule{TWakeTiming()};
    schedule.Add(0);
    RunUntil(schedule, 200000);
    EXPECT_EQ(schedule.Packets(0), 12);
    EXPECT_EQ(schedule.SettledMs(0), 120000);
}

TEST(WakeSchedule, ResendZeroSendsOnce) {
    TWakeSchedule schedule(Timing(0, 0, 5000, 2000));
    schedule.Add(0);
    EXPECT_EQ(RunUntil(schedule, 100000),
              (std::vector<std::string>{"0: S0 C0", "2000: C0", "4000: C0", "5000: E0"}));
    EXPECT_EQ(schedule.Packets(0), 1);
}

TEST(WakeSchedule, DelaySpacesTheFirstPacketsAndEachDeadlineCountsFromItsOwn) {
    TWakeSchedule schedule(Timing(300, 0, 1000, 10000));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(schedule.Add(0), static_cast<size_t>(i));
    }
    EXPECT_EQ(RunUntil(schedule, 100000),
              (std::vector<std::string>{"0: S0 C0", "300: S1 C1", "600: S2 C2", "1000: E0",
                                        "1300: E1", "1600: E2"}));
    // A target added later than the delay after the previous first packet goes at once.
    schedule.Add(5000);
    EXPECT_EQ(schedule.NextDueMs(), 5000);
}

TEST(WakeSchedule, ALateLoopKeepsTheDelayBetweenFirstPackets) {
    TWakeSchedule schedule(Timing(5, 0, 60000, 60000));
    for (int i = 0; i < 3; ++i) {
        schedule.Add(0);
    }
    // Due at 0, 5 and 10; the loop comes at 12 and then in steps: one first packet each time
    // the delay has passed since the one before, in order.
    EXPECT_EQ(Take(schedule, 12), "S0 C0");
    EXPECT_EQ(schedule.NextDueMs(), 17);
    EXPECT_EQ(Take(schedule, 15), "");
    EXPECT_EQ(Take(schedule, 17), "S1 C1");
    EXPECT_EQ(Take(schedule, 30), "S2 C2");
    EXPECT_EQ(schedule.FirstActionMs(2), 30);
}

TEST(WakeSchedule, LateFirstPacketsKeepTheTargetsOrder) {
    // Planned at 0, 5 and 10. Target 1 is held back to 12 by the late first packet at 7; at 13
    // target 2, planned for 10, must still wait its turn behind it.
    TWakeSchedule schedule(Timing(5, 0, 60000, 60000));
    for (int i = 0; i < 3; ++i) {
        schedule.Add(0);
    }
    EXPECT_EQ(Take(schedule, 7), "S0 C0");
    EXPECT_EQ(Take(schedule, 13), "S1 C1");
    EXPECT_EQ(schedule.NextDueMs(), 18);
    EXPECT_EQ(Take(schedule, 18), "S2 C2");
}

TEST(WakeSchedule, AnAnswerSettlesUpAndStopsItsActions) {
    TWakeSchedule schedule(Timing(0, 10000, 120000, 1000));
    schedule.Add(0);
    schedule.Add(0);
    EXPECT_EQ(Take(schedule, 0), "S0 C0 S1 C1");
    schedule.Answered(1, 700);
    EXPECT_EQ(schedule.State(1), TWakeState::Up);
    EXPECT_EQ(schedule.SettledMs(1), 700);
    EXPECT_EQ(Take(schedule, 1000), "C0");
    schedule.Answered(1, 1200);
    EXPECT_EQ(schedule.SettledMs(1), 700) << "a second answer changes nothing";
    EXPECT_FALSE(schedule.AllSettled());
    schedule.Answered(0, 12400);
    EXPECT_EQ(schedule.State(0), TWakeState::Up);
    EXPECT_EQ(schedule.Packets(0), 1) << "nothing was taken after 1000";
    EXPECT_TRUE(schedule.AllSettled());
    EXPECT_EQ(schedule.NextDueMs(), INT64_MAX);
}

TEST(WakeSchedule, AnAnswerBeforeTheFirstCheckIsIgnored) {
    TWakeSchedule schedule(Timing(500, 0, 1000, 1000));
    schedule.Add(0);
    schedule.Add(0);
    Take(schedule, 0);
    schedule.Answered(1, 100);
    EXPECT_EQ(schedule.State(1), TWakeState::Pending);
}

TEST(WakeSchedule, ALateLoopDoesNotSendABurst) {
    TWakeSchedule schedule(Timing(0, 1000, 60000, 1000));
    schedule.Add(0);
    Take(schedule, 0);
    EXPECT_EQ(Take(schedule, 5500), "S0 C0");
    EXPECT_EQ(schedule.NextDueMs(), 6500);
}

TEST(WakeSchedule, SettlingOrderFollowsTheDeadlinesThenTheTargets) {
    TWakeSchedule schedule(Timing(0, 0, 1000, 5000));
    schedule.Add(0);
    schedule.Add(0);
    schedule.Add(500);
    Take(schedule, 0);
    EXPECT_EQ(Take(schedule, 600), "S2 C2");
    EXPECT_EQ(Take(schedule, 2000), "E0 E1 E2");
}

TEST(WakeSchedule, SendFailedSettlesAtOnce) {
    TWakeSchedule schedule(Timing(0, 10000, 120000, 1000));
    schedule.Add(0);
    schedule.Add(0);
    Take(schedule, 0);
    schedule.SendFailed(0, 3);
    EXPECT_EQ(schedule.State(0), TWakeState::SendFailed);
    EXPECT_EQ(schedule.SettledMs(0), 3);
    EXPECT_EQ(schedule.Packets(0), 1);
    EXPECT_EQ(Take(schedule, 1000), "C1");
    schedule.Answered(0, 1100);
    EXPECT_EQ(schedule.State(0), TWakeState::SendFailed);
}

TEST(WakeSchedule, StatusChecksWithoutSending) {
    TWakeTiming timing = Timing(0, 10000, 3000, 1000);
    timing.send = false;
    TWakeSchedule schedule(timing);
    schedule.Add(0);
    schedule.Add(0);
    EXPECT_EQ(RunUntil(schedule, 1000), (std::vector<std::string>{"0: C0 C1", "1000: C0 C1"}));
    schedule.Answered(0, 1500);
    EXPECT_EQ(RunUntil(schedule, 10000), (std::vector<std::string>{"2000: C1", "3000: E1"}));
    EXPECT_EQ(schedule.State(0), TWakeState::Up);
    EXPECT_EQ(schedule.State(1), TWakeState::NoAnswer);
    EXPECT_EQ(schedule.Packets(0), 0);
    EXPECT_EQ(schedule.Packets(1), 0);
}

TEST(WakeSchedule, WithoutWaitEachTargetSettlesSentWithItsPacket) {
    TWakeTiming timing = Timing(250, 10000, 120000, 1000);
    timing.wait = false;
    TWakeSchedule schedule(timing);
    schedule.Add(0);
    schedule.Add(0);
    EXPECT_EQ(RunUntil(schedule, 100000), (std::vector<std::string>{"0: S0 E0", "250: S1 E1"}));
    EXPECT_EQ(schedule.State(1), TWakeState::Sent);
    EXPECT_EQ(schedule.Packets(1), 1);
    EXPECT_TRUE(schedule.AllSettled());
    // The send that failed turns the settled target into a failure.
    schedule.SendFailed(1, 251);
    EXPECT_EQ(schedule.State(1), TWakeState::SendFailed);
    EXPECT_TRUE(schedule.AllSettled());
}

TEST(WakeSchedule, ATargetThatCannotBeCheckedIsSentOnlyWhileOthersWait) {
    TWakeSchedule schedule(Timing(0, 10000, 5000, 1000));
    schedule.Add(0, false);
    schedule.Add(0);
    EXPECT_EQ(Take(schedule, 0), "S0 E0 S1 C1");
    EXPECT_EQ(schedule.State(0), TWakeState::Sent);
    EXPECT_EQ(schedule.State(1), TWakeState::Waiting);
}

TEST(WakeSchedule, RestartStartsCountAndTimeoutOver) {
    TWakeSchedule schedule(Timing(0, 1000, 3000, 1000));
    schedule.Add(0);
    RunUntil(schedule, 3000);
    EXPECT_EQ(schedule.State(0), TWakeState::NoAnswer);
    EXPECT_EQ(schedule.Packets(0), 3);
    schedule.Restart(0, 10000);
    EXPECT_EQ(schedule.State(0), TWakeState::Pending);
    EXPECT_EQ(schedule.Packets(0), 0);
    EXPECT_EQ(schedule.SettledMs(0), -1);
    EXPECT_FALSE(schedule.AllSettled());
    EXPECT_EQ(Take(schedule, 10000), "S0 C0");
    EXPECT_EQ(schedule.FirstActionMs(0), 10000);
    schedule.Restart(0, 10500);  // while waiting
    EXPECT_EQ(Take(schedule, 10500), "S0 C0");
    EXPECT_EQ(schedule.Packets(0), 1);
    RunUntil(schedule, 20000);
    EXPECT_EQ(schedule.SettledMs(0), 13500);
    EXPECT_TRUE(schedule.AllSettled());
}

}  // namespace
