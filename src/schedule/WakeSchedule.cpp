#include "schedule/WakeSchedule.h"

#include <algorithm>

// Targets not yet sent to wait in pending_, in the order added; every other unsettled target
// sits once in due_, keyed by the earliest of its next send, next check and deadline, so
// TakeDue and NextDueMs cost a look at two fronts however many targets wait.

namespace {

// The next time of a repeating event after `dueMs` that is later than `nowMs`: a late loop
// does not make up the missed ones in a burst.
int64_t Next(int64_t dueMs, int64_t everyMs, int64_t nowMs) {
    const int64_t next = dueMs + everyMs;
    return next > nowMs ? next : nowMs + everyMs;
}

}  // namespace

TWakeSchedule::TWakeSchedule(const TWakeTiming& timing) : timing_(timing) {}

size_t TWakeSchedule::Add(int64_t nowMs) {
    return Add(nowMs, timing_.wait);
}

size_t TWakeSchedule::Add(int64_t nowMs, bool wait) {
    TTarget target;
    target.wait = wait && timing_.wait;
    target.firstDueMs = nowMs;
    if (lastFirstDueMs_ != INT64_MIN && lastFirstDueMs_ + timing_.delayMs > nowMs) {
        target.firstDueMs = lastFirstDueMs_ + timing_.delayMs;
    }
    lastFirstDueMs_ = target.firstDueMs;
    targets_.push_back(target);
    pending_.push_back(targets_.size() - 1);
    return targets_.size() - 1;
}

void TWakeSchedule::Restart(size_t index, int64_t nowMs) {
    TTarget& target = targets_[index];
    Unqueue(index);
    LeavePending(index);
    if (target.settledMs >= 0) {
        --settled_;
    }
    const bool wait = target.wait;
    target = TTarget();
    target.wait = wait;
    target.firstDueMs = nowMs;
    Queue(index);
}

void TWakeSchedule::TakeDue(int64_t nowMs, std::vector<TWakeAction>& actions) {
    while (true) {
        const int64_t pendingMs = PendingDueMs();
        const int64_t queuedMs = due_.empty() ? INT64_MAX : due_.begin()->first;
        if (std::min(pendingMs, queuedMs) > nowMs) {
            break;
        }
        size_t index;
        if (pendingMs <= queuedMs) {
            index = pending_.front();
            pending_.pop_front();
        } else {
            index = due_.begin()->second;
            Unqueue(index);
        }
        Act(index, nowMs, actions);
        if (targets_[index].settledMs < 0) {
            Queue(index);
        }
    }
}

int64_t TWakeSchedule::NextDueMs() const {
    return std::min(PendingDueMs(), due_.empty() ? INT64_MAX : due_.begin()->first);
}

void TWakeSchedule::Answered(size_t index, int64_t nowMs) {
    if (targets_[index].state == TWakeState::Waiting && targets_[index].wait) {
        Unqueue(index);
        Settle(index, TWakeState::Up, nowMs);
    }
}

void TWakeSchedule::SendFailed(size_t index, int64_t nowMs) {
    const TWakeState state = targets_[index].state;
    if (state == TWakeState::Pending || state == TWakeState::Waiting || state == TWakeState::Sent) {
        if (state == TWakeState::Sent) {
            --settled_;  // a send-only target settled Sent with the send that failed
        }
        Unqueue(index);
        LeavePending(index);
        Settle(index, TWakeState::SendFailed, nowMs);
    }
}

TWakeState TWakeSchedule::State(size_t index) const {
    return targets_[index].state;
}

int32_t TWakeSchedule::Packets(size_t index) const {
    return targets_[index].packets;
}

int64_t TWakeSchedule::FirstActionMs(size_t index) const {
    return targets_[index].firstActionMs;
}

int64_t TWakeSchedule::SettledMs(size_t index) const {
    return targets_[index].settledMs;
}

bool TWakeSchedule::AllSettled() const {
    return settled_ == targets_.size();
}

size_t TWakeSchedule::Size() const {
    return targets_.size();
}

int64_t TWakeSchedule::NextOf(const TTarget& target) const {
    if (target.state == TWakeState::Pending) {
        return target.firstDueMs;
    }
    return std::min({target.nextSendMs, target.nextCheckMs, target.deadlineMs});
}

void TWakeSchedule::Queue(size_t index) {
    TTarget& target = targets_[index];
    target.queuedMs = NextOf(target);
    if (target.queuedMs != INT64_MAX) {
        due_.emplace(target.queuedMs, index);
    }
}

void TWakeSchedule::Unqueue(size_t index) {
    TTarget& target = targets_[index];
    if (target.queuedMs != INT64_MAX) {
        due_.erase({target.queuedMs, index});
        target.queuedMs = INT64_MAX;
    }
}

void TWakeSchedule::Settle(size_t index, TWakeState state, int64_t nowMs) {
    targets_[index].state = state;
    targets_[index].settledMs = nowMs;
    ++settled_;
}

// The target's events due at nowMs: the deadline first (a packet due at the deadline is not
// sent any more), then its packet, then its check.
void TWakeSchedule::Act(size_t index, int64_t nowMs, std::vector<TWakeAction>& actions) {
    TTarget& target = targets_[index];
    if (target.state == TWakeState::Pending) {
        target.state = TWakeState::Waiting;
        target.firstActionMs = nowMs;
        lastFirstActionMs_ = nowMs;
        if (timing_.send) {
            ++target.packets;
            actions.push_back({TWakeActionKind::Send, index});
        }
        if (!target.wait) {
            Settle(index, TWakeState::Sent, nowMs);
            actions.push_back({TWakeActionKind::Settle, index});
            return;
        }
        actions.push_back({TWakeActionKind::Check, index});
        target.deadlineMs = nowMs + timing_.timeoutMs;
        target.nextCheckMs = nowMs + timing_.checkEveryMs;
        if (timing_.send && timing_.resendMs > 0) {
            target.nextSendMs = nowMs + timing_.resendMs;
        }
        return;
    }
    if (target.deadlineMs <= nowMs) {
        Settle(index, TWakeState::NoAnswer, nowMs);
        actions.push_back({TWakeActionKind::Settle, index});
        return;
    }
    if (target.nextSendMs <= nowMs) {
        ++target.packets;
        actions.push_back({TWakeActionKind::Send, index});
        target.nextSendMs = Next(target.nextSendMs, timing_.resendMs, nowMs);
    }
    if (target.nextCheckMs <= nowMs) {
        actions.push_back({TWakeActionKind::Check, index});
        target.nextCheckMs = Next(target.nextCheckMs, timing_.checkEveryMs, nowMs);
    }
}

// The first packet of the oldest target not yet sent to: when planned, but at least delayMs
// after the previous first packet really went, so a loop that comes late sends the targets one
// after another in their order, not in a burst.
int64_t TWakeSchedule::PendingDueMs() const {
    if (pending_.empty()) {
        return INT64_MAX;
    }
    const int64_t plannedMs = targets_[pending_.front()].firstDueMs;
    if (timing_.delayMs <= 0 || lastFirstActionMs_ == INT64_MIN) {
        return plannedMs;
    }
    return std::max(plannedMs, lastFirstActionMs_ + timing_.delayMs);
}

void TWakeSchedule::LeavePending(size_t index) {
    const auto place = std::find(pending_.begin(), pending_.end(), index);
    if (place != pending_.end()) {
        pending_.erase(place);
    }
}
