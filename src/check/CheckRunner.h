#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
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
    // not restarted. A target answers at most once until it is started again.
    void Start(size_t target, uint32_t address, const std::vector<TCheckSpec>& checks,
               int64_t nowMs);

    // Ends the target's echoes and connects (in flight or queued).
    void Stop(size_t target);

    // Starts queued connects that fit, waits at most waitMs for outcomes, and appends the
    // answers that came, each target once.
    void Poll(int64_t nowMs, int32_t waitMs, std::vector<TCheckAnswer>& answers);

    size_t ConnectsInFlight() const;
};

// How many connects to keep in flight: the open-file limit less a margin for the program's own
// descriptors, at most 4096.
size_t ConnectBudget();
