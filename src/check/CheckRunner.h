#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/CheckSpec.h"
#include "net/IdProber.h"

// Runs the checks of many targets over one prober, within a bound on the connects in flight
// (the open-file limit). A target is up when one of its checks answers: an echo reply, or a
// connect that completed or was refused.

struct TCheckAnswer {
    size_t target;
    TCheckSpec check;  // the check that answered first
};

class TCheckRunner {
public:
    // maxConnects: connects in flight at most; more wait in a queue, in the order started.
    TCheckRunner(TIdProber& prober, size_t maxConnects);

    // One attempt of the target's checks at address: an echo for icmp, a connect per tcp:PORT.
    // A connect of the same target and port still in flight from an earlier attempt is kept,
    // not restarted; an echo still out is replaced by the new one. A target answers at most once
    // until it is started again; its answer ends its other checks.
    void Start(size_t target, uint32_t address, const std::vector<TCheckSpec>& checks,
               int64_t nowMs);

    // Ends the target's echoes and connects (in flight or queued).
    void Stop(size_t target);

    // Starts queued connects that fit, waits at most waitMs for outcomes, and appends the
    // answers that came, each target once.
    void Poll(int64_t nowMs, int32_t waitMs, std::vector<TCheckAnswer>& answers);

    size_t ConnectsInFlight() const;

private:
    struct TTarget {
        uint32_t address = 0;
        bool answered = false;
        bool echo = false;            // an echo of this target awaits its reply
        std::vector<uint16_t> ports;  // the ports of its connects, in flight or queued
    };

    struct TQueued {
        uint64_t token;
        uint64_t generation;  // stale when the token was queued again or ended since
    };

    // A token names the target and the check: the target above 16 bits, below them the TCP
    // port, or 0 for the echo. So a target's connect to a port is one token across attempts.
    static uint64_t Token(size_t target, uint16_t port) {
        return static_cast<uint64_t>(target) << 16 | port;
    }

    void EndChecks(size_t target, TTarget& state);
    void StartQueued(int64_t nowMs);
    int32_t WaitBound(int64_t nowMs, int32_t waitMs) const;

    TIdProber& prober_;
    size_t maxConnects_;
    std::unordered_map<size_t, TTarget> targets_;
    std::unordered_set<uint64_t> inFlight_;          // connect tokens
    std::unordered_map<uint64_t, uint64_t> queued_;  // connect token -> its queue generation
    std::deque<TQueued> queue_;
    uint64_t generation_ = 0;
    int64_t retryAtMs_ = -1;  // when a connect that found no descriptor is tried again
    std::vector<TIdProbeResult> results_;
};

// How many connects to keep in flight: the open-file limit less a margin for the program's own
// descriptors, at most 4096.
size_t ConnectBudget();
