#include <fstream>
#include <iterator>

#include "base/DottedText.h"
#include "base/Exception.h"
#include "check/CheckRunner.h"
#include "cli/Wake.h"
#include "cli/WakeOutput.h"
#include "hosts/HostsFile.h"
#include "hosts/HostsLearn.h"
#include "hosts/HostsLocation.h"
#include "relay/RelayForwarder.h"

// --learn: the machine is asked whether it is up (ICMP where it can run, and the default TCP
// ports), which makes the system resolve its link-layer address; the neighbour table is read
// until the address shows there or the timeout passes. The hosts file is checked before and
// only replaced (atomically, by the hosts layer) once the MAC address is known.

namespace {

constexpr int32_t kLongestWaitMs = 100;
constexpr int64_t kCheckEveryMs = 1000;

void WriteError(std::FILE* err, const std::string& line) {
    std::fprintf(err, "corvane-wake: %s\n", line.c_str());
    std::fflush(err);
}

int32_t PrefixOfMask(uint32_t mask) {
    int32_t prefix = 0;
    while (prefix < 32 && (mask & (0x80000000u >> prefix)) != 0) {
        ++prefix;
    }
    return prefix;
}

// The prefix of the local network that holds the address; false when none does.
bool ConnectedPrefix(const std::vector<TIdInterfaceAddress>& interfaces, uint32_t address,
                     int32_t& prefix) {
    for (const TIdInterfaceAddress& entry : interfaces) {
        uint32_t own = 0;
        uint32_t mask = 0;
        if (!ParseDottedQuad(entry.address, own) || !ParseDottedQuad(entry.mask, mask)) {
            continue;
        }
        if (mask != 0 && (own & mask) == (address & mask)) {
            prefix = PrefixOfMask(mask);
            return true;
        }
    }
    return false;
}

// The file's faults (or a name already there) before anything is asked of the network.
bool CheckFile(const std::string& path, const std::string& name, std::FILE* err) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return true;  // created by the append
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    if (!ParseHostsFile(text, path, hosts, errors)) {
        for (const std::string& error : errors) {
            WriteError(err, error);
        }
        return false;
    }
    for (const THost& host : hosts) {
        if (host.name == name) {
            WriteError(err,
                       path + ":" + std::to_string(host.line) + ": the name " + name + " is taken");
            return false;
        }
    }
    return true;
}

// Asks the machine until the neighbour table holds its MAC address or the time is up.
bool FindMac(TWakeContext& context, uint32_t address, int64_t timeoutMs, std::string& mac) {
    if (context.findNeighbourMac(address, mac)) {
        return true;
    }
    std::unique_ptr<TIdProber> prober = context.createProber();
    std::string reason;
    std::vector<TCheckSpec> checks = DefaultChecks();
    if (!prober->IcmpAvailable(reason)) {
        checks.erase(checks.begin());  // the TCP connects resolve the address as well
    }
    TCheckRunner runner(*prober, ConnectBudget());
    const int64_t startMs = context.nowMs();
    int64_t nextCheckMs = startMs;
    std::vector<TCheckAnswer> answers;
    for (int64_t nowMs = startMs; nowMs - startMs < timeoutMs; nowMs = context.nowMs()) {
        if (context.stopRequested && context.stopRequested()) {
            return false;
        }
        if (nowMs >= nextCheckMs) {
            runner.Stop(0);
            runner.Start(0, address, checks, nowMs);
            nextCheckMs = nowMs + kCheckEveryMs;
        }
        runner.Poll(nowMs, kLongestWaitMs, answers);
        if (context.findNeighbourMac(address, mac)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int RunLearn(const TWakeOptions& options, TWakeContext& context, std::FILE* out, std::FILE* err) {
    const std::string addressText = DottedAddressText(options.learnAddress);
    try {
        const std::string path = LearnHostsFilePath(
            HostsLocationFromEnvironment(options.hostsPath, context.executableFolder));
        if (!CheckFile(path, options.learnName, err)) {
            return kWakeBadUsage;
        }
        int32_t prefix = options.learnPrefix;
        int32_t connectedPrefix = -1;
        if (!ConnectedPrefix(context.listInterfaces(), options.learnAddress, connectedPrefix)) {
            WriteError(err, addressText +
                                " is not on a directly connected network: no MAC address can "
                                "be learned there");
            return kWakeCannotCheck;
        }
        if (prefix < 0) {
            prefix = connectedPrefix;
        }
        std::string mac;
        if (!FindMac(context, options.learnAddress, options.timeoutMs, mac)) {
            if (context.stopRequested && context.stopRequested()) {
                WriteError(err, "stopped");
                return kWakeInterrupted;
            }
            WriteError(err, addressText + " did not answer within " +
                                TimeoutText(options.timeoutMs) + " s");
            return kWakeNoAnswer;
        }
        std::string line;
        std::vector<std::string> errors;
        const TLearnStatus status =
            LearnHost(path, options.learnName, mac, options.learnAddress, prefix, line, errors);
        if (status != TLearnStatus::Appended) {
            for (const std::string& error : errors) {
                WriteError(err, error);
            }
            return kWakeBadUsage;
        }
        std::fprintf(out, "%s\n", line.c_str());
        std::fflush(out);
        return kWakeAllDone;
    } catch (const Exception& e) {
        WriteError(err, "cannot learn " + addressText + ": " + OneLineMessage(e.Message()));
        return kWakeCannotCheck;
    }
}
