#include "check/CheckRunner.h"

#include <algorithm>

// Every check of every target is one token of the prober, so an outcome leads to its target
// through one hash look-up; nothing here walks all targets. Connects beyond the budget wait in
// a queue; an entry that was stopped or queued again since stays in the queue and is skipped
// when it comes up (its generation no longer matches).

namespace {

// How soon to try again a connect that found no free descriptor.
constexpr int64_t kRetryMs = 100;

size_t TargetOf(uint64_t token) {
    return static_cast<size_t>(token >> 16);
}

uint16_t PortOf(uint64_t token) {
    return static_cast<uint16_t>(token & 0xFFFF);
}

TCheckSpec CheckOf(uint64_t token) {
    const uint16_t port = PortOf(token);
    return port == 0 ? TCheckSpec{TCheckKind::Icmp, 0} : TCheckSpec{TCheckKind::Tcp, port};
}

}  // namespace

TCheckRunner::TCheckRunner(TIdProber& prober, size_t maxConnects)
    : prober_(prober), maxConnects_(std::max<size_t>(maxConnects, 1)) {}

void TCheckRunner::Start(size_t target, uint32_t address, const std::vector<TCheckSpec>& checks,
                         int64_t nowMs) {
    TTarget& state = targets_[target];
    state.address = address;
    state.answered = false;
    for (const TCheckSpec& check : checks) {
        if (check.kind == TCheckKind::Icmp) {
            // A new echo replaces the one before: one echo per target in the prober at most.
            prober_.SendEcho(Token(target, 0), address);
            state.echo = true;
            continue;
        }
        const uint16_t port = static_cast<uint16_t>(check.port);
        const uint64_t token = Token(target, port);
        if (inFlight_.count(token) != 0 || queued_.count(token) != 0) {
            continue;  // still under way from an earlier attempt
        }
        if (std::find(state.ports.begin(), state.ports.end(), port) == state.ports.end()) {
            state.ports.push_back(port);
        }
        queued_[token] = ++generation_;
        queue_.push_back({token, generation_});
    }
    StartQueued(nowMs);
}

void TCheckRunner::Stop(size_t target) {
    const auto found = targets_.find(target);
    if (found == targets_.end()) {
        return;
    }
    EndChecks(target, found->second);
    targets_.erase(found);
}

void TCheckRunner::Poll(int64_t nowMs, int32_t waitMs, std::vector<TCheckAnswer>& answers) {
    StartQueued(nowMs);
    results_.clear();
    prober_.Wait(WaitBound(nowMs, waitMs), results_);
    for (const TIdProbeResult& result : results_) {
        const auto found = targets_.find(TargetOf(result.token));
        if (found == targets_.end()) {
            continue;
        }
        TTarget& state = found->second;
        if (PortOf(result.token) == 0) {
            state.echo = false;
        } else {
            inFlight_.erase(result.token);
        }
        if (result.outcome != TIdProbeOutcome::Answered || state.answered) {
            continue;
        }
        state.answered = true;
        answers.push_back({found->first, CheckOf(result.token)});
        // Its other checks can prove nothing more: their descriptors go to other targets.
        EndChecks(found->first, state);
    }
    StartQueued(nowMs);
}

size_t TCheckRunner::ConnectsInFlight() const {
    return inFlight_.size();
}

void TCheckRunner::EndChecks(size_t target, TTarget& state) {
    if (state.echo) {
        prober_.Cancel(Token(target, 0));
        state.echo = false;
    }
    for (const uint16_t port : state.ports) {
        const uint64_t token = Token(target, port);
        if (inFlight_.erase(token) != 0) {
            prober_.Cancel(token);
        }
        queued_.erase(token);
    }
    state.ports.clear();
}

void TCheckRunner::StartQueued(int64_t nowMs) {
    if (retryAtMs_ >= 0 && nowMs < retryAtMs_) {
        return;
    }
    retryAtMs_ = -1;
    while (!queue_.empty() && inFlight_.size() < maxConnects_) {
        const TQueued next = queue_.front();
        const auto found = queued_.find(next.token);
        if (found == queued_.end() || found->second != next.generation) {
            queue_.pop_front();
            continue;
        }
        const uint32_t address = targets_[TargetOf(next.token)].address;
        if (!prober_.StartConnect(next.token, address, PortOf(next.token))) {
            retryAtMs_ = nowMs + kRetryMs;  // out of descriptors: it keeps its place
            return;
        }
        queue_.pop_front();
        queued_.erase(found);
        inFlight_.insert(next.token);
    }
}

int32_t TCheckRunner::WaitBound(int64_t nowMs, int32_t waitMs) const {
    // With a free slot, a queued connect can start only after a retry delay; without one, the
    // end of a connect in flight ends the prober's wait anyway.
    if (retryAtMs_ >= 0 && !queue_.empty()) {
        return static_cast<int32_t>(std::clamp<int64_t>(retryAtMs_ - nowMs, 0, waitMs));
    }
    return waitMs;
}
