#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/WakeOptions.h"
#include "net/IdInterfaces.h"
#include "net/IdProber.h"

// What corvane-wake takes from the machine besides its socket stack, so that the tests run the
// whole program over a fake clock, a fake prober and made-up tables.
struct TWakeContext {
    std::function<int64_t()> nowMs;        // a monotonic clock
    std::function<void(int32_t)> sleepMs;  // waits while no check is in flight
    std::function<std::unique_ptr<TIdProber>()> createProber;
    std::function<bool()> stopRequested;
    std::function<std::vector<TIdInterfaceAddress>()> listInterfaces;
    std::function<bool(uint32_t address, std::string& mac)> findNeighbourMac;
    std::string executableFolder;  // the Windows hosts file rule
    bool progress = false;         // draw the progress line on `err`
};

// The machine's own: steady clock, the platform's prober, Ctrl-C, getifaddrs (or the IP
// helper), the neighbour table; the progress line when `err` is a terminal.
TWakeContext MachineWakeContext(std::FILE* err);

// Runs corvane-wake with options that ParseWakeOptions accepted: per-target lines (or JSON
// Lines) on `out`, flushed as written; warnings, errors and the summary on `err`. Returns the
// exit status (kWakeAllDone ... kWakeInterrupted).
int RunWake(const TWakeOptions& options, TWakeContext& context, std::FILE* out, std::FILE* err);

// --learn: checks the address so that its MAC enters the neighbour table, reads it, and
// appends the host to the hosts file.
int RunLearn(const TWakeOptions& options, TWakeContext& context, std::FILE* out, std::FILE* err);
