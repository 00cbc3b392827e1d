#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/Targets.h"

// corvane-wake [--hosts FILE] [--wait] [--timeout SECONDS] [--resend SECONDS] [--delay MS]
//              [--to ADDRESS[:PORT]]... [--address ADDRESS[/PREFIX]] [--port N]
//              [--check CHECKS] [--json] TARGET...
// corvane-wake [--hosts FILE] --status [--timeout SECONDS] [--json] TARGET...
// corvane-wake [--hosts FILE] --list [TARGET...]
// corvane-wake [--hosts FILE] --learn NAME ADDRESS[/PREFIX]

enum class TWakeMode {
    Send,    // send, and with --wait wait for the answers
    Status,  // check only
    List,    // print the hosts as resolved
    Learn,   // add a host from the neighbour table
};

struct TWakeOptions {
    TWakeMode mode = TWakeMode::Send;
    std::string hostsPath;  // --hosts; empty: the lookup rule
    bool wait = false;
    int64_t timeoutMs = 0;     // 0 until resolved: 120 s with --wait, 3 s for --status and --learn
    int64_t resendMs = 10000;  // 0: never
    int64_t delayMs = 0;
    bool json = false;
    TTargetOptions targetOptions;  // --to, --address, --check, --port
    std::vector<std::string> targets;
    std::string learnName;  // --learn NAME
    uint32_t learnAddress = 0;
    int32_t learnPrefix = -1;  // -1: that of the local interface that reaches the address
    bool help = false;
};

// Exit statuses of corvane-wake.
constexpr int kWakeAllDone = 0;        // all sent (and, waited or checked, every target up)
constexpr int kWakeSendFailed = 1;     // a send failed (wins over kWakeNoAnswer)
constexpr int kWakeBadUsage = 2;       // bad usage, hosts file, target or destination
constexpr int kWakeCannotCheck = 3;    // a check cannot run; --learn: no directly connected net
constexpr int kWakeNoAnswer = 4;       // a target did not answer, or is down
constexpr int kWakeInterrupted = 130;  // stopped by Ctrl-C (or SIGTERM)

constexpr int64_t kWakeDefaultWaitMs = 120000;
constexpr int64_t kWakeDefaultCheckMs = 3000;
constexpr int64_t kWakeMaxDelayMs = 3600000;

extern const char kWakeUsage[];

// True for xx-xx-xx-xx-xx-xx and xx:xx:xx:xx:xx:xx in either case: a MAC target.
bool IsMacTarget(const std::string& word);

// Reads the arguments after the program name. Options take their value as the next argument
// or after '='. On failure `error` says what is wrong (one line) and false is returned.
bool ParseWakeOptions(const std::vector<std::string>& arguments, TWakeOptions& options,
                      std::string& error);
