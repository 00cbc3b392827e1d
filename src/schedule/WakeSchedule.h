#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <set>
#include <utility>
#include <vector>

// When each target's magic packet is sent and resent, when it is checked, and when it settles:
// a plain function of the times it is given, so that corvane-wake and corvane-web drive it with
// their own clocks and the tests with made-up ones. Times are milliseconds on one monotonic clock.

struct TWakeTiming {
    bool send = true;             // false: checks only, nothing sent (corvane-wake --status)
    bool wait = true;             // false: send once and settle as sent, no checks
    int64_t delayMs = 0;          // between consecutive targets' first packets
    int64_t resendMs = 10000;     // a waiting target's packet again after this; 0: never
    int64_t timeoutMs = 120000;   // from the target's first packet (or first check): no answer
    int64_t checkEveryMs = 1000;  // a new check attempt of a waiting target after this
};

enum class TWakeState {
    Pending,     // its first packet (or check) is not due yet
    Waiting,     // sent (or being checked), no answer yet
    Sent,        // settled: sent, and not waited for
    SendFailed,  // settled: its first send failed to every destination
    Up,          // settled: a check answered
    NoAnswer,    // settled: the timeout passed (under --status: down)
};

enum class TWakeActionKind {
    Send,    // send the target's packet (to every destination) now
    Check,   // start a check attempt of the target now
    Settle,  // the target has just settled (Sent or NoAnswer); report it
};

struct TWakeAction {
    TWakeActionKind kind;
    size_t target;
};

class TWakeSchedule {
public:
    explicit TWakeSchedule(const TWakeTiming& timing);

    // A new target (its index is returned, counting from 0); its first packet is due at nowMs,
    // or delayMs after the previous target's first packet when that is later.
    size_t Add(int64_t nowMs);
    // The same, for a target that is sent to but never waited for (it cannot be checked: no
    // address, or check=none) when `wait` is false, whatever the timing says.
    size_t Add(int64_t nowMs, bool wait);

    // Wakes a target again (corvane-web's Wake on a host that is waking or settled): its first
    // packet is due at once, its packet count and timeout start over.
    void Restart(size_t target, int64_t nowMs);

    // The actions due at nowMs, in the order to carry them out; the schedule counts them done.
    // A first packet goes at least delayMs after the previous target's first packet was taken,
    // also when the loop comes late: late targets follow one another, not in a burst.
    void TakeDue(int64_t nowMs, std::vector<TWakeAction>& actions);

    // When the next action is due; INT64_MAX when none is.
    int64_t NextDueMs() const;

    // A check of a waiting target answered: it settles Up (ignored in any other state).
    void Answered(size_t target, int64_t nowMs);

    // The target's first send failed to every destination: it settles SendFailed.
    void SendFailed(size_t target, int64_t nowMs);

    TWakeState State(size_t target) const;
    int32_t Packets(size_t target) const;        // sends so far (each to every destination)
    int64_t FirstActionMs(size_t target) const;  // its first packet (or check); -1 before it
    int64_t SettledMs(size_t target) const;      // -1 while not settled
    bool AllSettled() const;
    size_t Size() const;

private:
    struct TTarget {
        TWakeState state = TWakeState::Pending;
        bool wait = true;
        int32_t packets = 0;
        int64_t firstDueMs = 0;
        int64_t firstActionMs = -1;
        int64_t nextSendMs = INT64_MAX;
        int64_t nextCheckMs = INT64_MAX;
        int64_t deadlineMs = INT64_MAX;
        int64_t settledMs = -1;
        int64_t queuedMs = INT64_MAX;  // its entry in due_, INT64_MAX when it has none
    };

    int64_t NextOf(const TTarget& target) const;
    void Queue(size_t index);
    void Unqueue(size_t index);
    void Settle(size_t index, TWakeState state, int64_t nowMs);
    void Act(size_t index, int64_t nowMs, std::vector<TWakeAction>& actions);
    int64_t PendingDueMs() const;
    void LeavePending(size_t index);

    TWakeTiming timing_;
    std::vector<TTarget> targets_;
    std::deque<size_t> pending_;                // targets added and not yet sent to, in order
    std::set<std::pair<int64_t, size_t>> due_;  // the others unsettled, by their next time
    int64_t lastFirstDueMs_ = INT64_MIN;
    int64_t lastFirstActionMs_ = INT64_MIN;  // when the latest first packet really went
    size_t settled_ = 0;
};
