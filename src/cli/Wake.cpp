#include "cli/Wake.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/DottedText.h"
#include "base/Exception.h"
#include "check/CheckRunner.h"
#include "cli/ConsolePlatform.h"
#include "cli/StopRequest.h"
#include "cli/WakeOutput.h"
#include "hosts/HostsFile.h"
#include "hosts/HostsLocation.h"
#include "net/IdNeighbours.h"
#include "net/IdUDPClient.h"
#include "relay/RelayForwarder.h"
#include "schedule/WakeSchedule.h"
#include "wake/MagicPacket.h"

// One loop for every target: the schedule says what is due, the sends go out over one UDP
// client, the checks run over one prober through the check runner, and the loop waits in the
// runner's poll (at most kLongestWaitMs, so Ctrl-C and the progress line are seen to) until
// the next thing is due or an answer comes.

namespace {

constexpr int32_t kLongestWaitMs = 250;
constexpr int64_t kCheckEveryMs = 1000;

// A failure that ends the program before anything is sent: its line and exit status.
class EWakeStop : public Exception {
public:
    EWakeStop(std::string message, int status) : Exception(std::move(message)), status_(status) {}
    int Status() const { return status_; }

private:
    int status_;
};

void WriteLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// A target line of the loop: flushed with the others of its round before the loop waits again
// (TWakeRun::Wait), so thousands of answers in one round cost one write, not one each.
void WriteTargetLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
}

std::string DestinationText(const TWakeDestination& destination) {
    return DottedAddressText(destination.address) + ":" + std::to_string(destination.port);
}

// The hosts file's hosts. A file that is not there holds none, unless it was named (--hosts or
// $CORVANE_HOSTS).
std::vector<THost> ReadHosts(const THostsLocationInput& location, const std::string& path) {
    std::vector<THost> hosts;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (!location.hostsOption.empty() || !location.corvaneHosts.empty()) {
            throw EWakeStop("cannot read the hosts file " + path, kWakeBadUsage);
        }
        return hosts;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::vector<std::string> errors;
    if (!ParseHostsFile(text, path, hosts, errors)) {
        std::string lines;
        for (size_t i = 0; i < errors.size(); ++i) {
            lines += (i == 0 ? "" : "\ncorvane-wake: ") + errors[i];
        }
        throw EWakeStop(lines, kWakeBadUsage);
    }
    return hosts;
}

bool Checkable(const TWakeTarget& target) {
    return target.hasAddress && !target.checks.empty();
}

bool OnlyIcmp(const std::vector<TCheckSpec>& checks) {
    return std::all_of(checks.begin(), checks.end(),
                       [](const TCheckSpec& check) { return check.kind == TCheckKind::Icmp; });
}

bool HasIcmp(const std::vector<TCheckSpec>& checks) {
    return std::any_of(checks.begin(), checks.end(),
                       [](const TCheckSpec& check) { return check.kind == TCheckKind::Icmp; });
}

// Where ICMP cannot run: stops before anything is sent when a target has nothing else, else
// drops the icmp checks with one warning.
void DecideIcmp(TIdProber& prober, std::vector<TWakeTarget>& targets,
                const std::vector<bool>& checked, std::FILE* err) {
    bool icmpWanted = false;
    for (size_t i = 0; i < targets.size(); ++i) {
        icmpWanted = icmpWanted || (checked[i] && HasIcmp(targets[i].checks));
    }
    std::string reason;
    if (!icmpWanted || prober.IcmpAvailable(reason)) {
        return;
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        if (checked[i] && OnlyIcmp(targets[i].checks)) {
            throw EWakeStop(targets[i].name + ": " + reason, kWakeCannotCheck);
        }
    }
    WriteLine(err, "corvane-wake: warning: " + reason + "; the TCP checks go on");
    for (TWakeTarget& target : targets) {
        std::erase_if(target.checks,
                      [](const TCheckSpec& check) { return check.kind == TCheckKind::Icmp; });
    }
}

std::string ListLine(const TWakeTarget& target) {
    std::string to;
    for (const TWakeDestination& destination : target.destinations) {
        to += (to.empty() ? "" : ",") + DestinationText(destination);
    }
    std::string address = "none";
    if (target.hasAddress) {
        address = DottedAddressText(target.address);
        if (target.prefix >= 0) {
            address += "/" + std::to_string(target.prefix);
        }
    }
    std::string groups;
    for (const std::string& group : target.groups) {
        groups += (groups.empty() ? "" : ",") + group;
    }
    return target.name + " " + target.mac + " to=" + (to.empty() ? "none" : to) +
           " address=" + address + " check=" + CheckListText(target.checks) +
           " group=" + (groups.empty() ? "none" : groups);
}

// The state of one run: the targets, their reports, the schedule, and the output.
class TWakeRun {
public:
    TWakeRun(const TWakeOptions& options, TWakeContext& context, std::vector<TWakeTarget> targets,
             std::FILE* out, std::FILE* err)
        : options_(options),
          context_(context),
          targets_(std::move(targets)),
          out_(out),
          err_(err),
          schedule_(Timing(options)) {}

    int Run();

private:
    static TWakeTiming Timing(const TWakeOptions& options);
    void Prepare();
    void Carry(const TWakeAction& action, int64_t nowMs);
    void Send(size_t target, int64_t nowMs);
    void Settle(size_t target, TWakeOutcome outcome, const std::string& answered);
    void Report(size_t target);
    void Wait(int64_t nowMs);
    void DrawProgress(int64_t nowMs);
    void ClearProgress();

    const TWakeOptions& options_;
    TWakeContext& context_;
    std::vector<TWakeTarget> targets_;
    std::FILE* out_;
    std::FILE* err_;
    TWakeSchedule schedule_;
    bool checks_ = false;  // --wait or --status
    std::vector<bool> checked_;
    std::vector<std::string> packets_;
    std::vector<TWakeReport> reports_;
    std::vector<bool> settled_;
    size_t up_ = 0;
    std::unique_ptr<TIdProber> prober_;
    std::unique_ptr<TCheckRunner> runner_;
    TIdUDPClient client_;
    int64_t startMs_ = 0;
    int64_t progressMs_ = -1;  // when the progress line was drawn; -1: draw it at the next wait
    size_t progressLength_ = 0;
};

TWakeTiming TWakeRun::Timing(const TWakeOptions& options) {
    TWakeTiming timing;
    timing.send = options.mode == TWakeMode::Send;
    timing.wait = options.wait || options.mode == TWakeMode::Status;
    timing.delayMs = options.delayMs;
    timing.resendMs = options.resendMs;
    timing.timeoutMs = options.timeoutMs;
    timing.checkEveryMs = kCheckEveryMs;
    return timing;
}

// Everything that can stop the program before its first packet.
void TWakeRun::Prepare() {
    checks_ = options_.wait || options_.mode == TWakeMode::Status;
    checked_.assign(targets_.size(), false);
    if (options_.mode == TWakeMode::Send) {
        std::string error;
        if (!RequireDestinations(targets_, error)) {
            throw EWakeStop(error, kWakeBadUsage);
        }
    }
    if (checks_) {
        for (size_t i = 0; i < targets_.size(); ++i) {
            checked_[i] = Checkable(targets_[i]);
            if (!checked_[i] && options_.mode == TWakeMode::Status) {
                throw EWakeStop(targets_[i].name +
                                    ": cannot be checked: give ADDRESS and a check other than none",
                                kWakeBadUsage);
            }
        }
        try {
            prober_ = context_.createProber();
        } catch (const Exception& e) {
            throw EWakeStop("checks cannot run: " + OneLineMessage(e.Message()), kWakeCannotCheck);
        }
        DecideIcmp(*prober_, targets_, checked_, err_);
        runner_ = std::make_unique<TCheckRunner>(*prober_, ConnectBudget());
    }
    reports_.reserve(targets_.size());
    packets_.reserve(options_.mode == TWakeMode::Send ? targets_.size() : 0);
    for (const TWakeTarget& target : targets_) {
        TWakeReport report;
        report.name = target.name;
        report.mac = target.mac;
        reports_.push_back(report);
        if (options_.mode == TWakeMode::Send) {
            packets_.push_back(BuildMagicPacket(target.mac, target.password));
        }
    }
    settled_.assign(targets_.size(), false);
    client_.SetBroadcastEnabled(true);
}

int TWakeRun::Run() {
    Prepare();
    startMs_ = context_.nowMs();
    progressMs_ = startMs_;
    for (size_t i = 0; i < targets_.size(); ++i) {
        schedule_.Add(startMs_, !checks_ || checked_[i]);
    }
    std::vector<TWakeAction> actions;
    bool stopped = false;
    while (!schedule_.AllSettled()) {
        if (context_.stopRequested && context_.stopRequested()) {
            stopped = true;
            break;
        }
        const int64_t nowMs = context_.nowMs();
        actions.clear();
        schedule_.TakeDue(nowMs, actions);
        for (const TWakeAction& action : actions) {
            Carry(action, nowMs);
        }
        if (!schedule_.AllSettled()) {
            Wait(nowMs);
        }
    }
    std::fflush(out_);
    ClearProgress();
    const int64_t elapsedMs = context_.nowMs() - startMs_;
    if (stopped) {
        WriteLine(err_, "corvane-wake: stopped");
        // Only the settled targets count in the summary.
        size_t kept = 0;
        for (size_t i = 0; i < reports_.size(); ++i) {
            if (settled_[i]) {
                reports_[kept++] = std::move(reports_[i]);
            }
        }
        reports_.resize(kept);
    }
    if (checks_) {
        WriteLine(err_, SummaryLine(options_.mode == TWakeMode::Status, elapsedMs, reports_));
    }
    return stopped ? kWakeInterrupted : WakeExitStatus(reports_);
}

void TWakeRun::Carry(const TWakeAction& action, int64_t nowMs) {
    const size_t i = action.target;
    switch (action.kind) {
    case TWakeActionKind::Send:
        Send(i, nowMs);
        break;
    case TWakeActionKind::Check:
        if (schedule_.State(i) == TWakeState::Waiting) {
            runner_->Start(i, targets_[i].address, targets_[i].checks, nowMs);
        }
        break;
    case TWakeActionKind::Settle:
        if (schedule_.State(i) == TWakeState::Sent) {
            Settle(i, TWakeOutcome::Sent, "");
        } else if (schedule_.State(i) == TWakeState::NoAnswer) {
            runner_->Stop(i);
            Settle(i,
                   options_.mode == TWakeMode::Status ? TWakeOutcome::Down : TWakeOutcome::NoAnswer,
                   "");
        }
        break;
    }
}

// One packet to each destination. The first send's line names the destinations it reached;
// each failure has a line of its own, and a first send that reached none settles the target.
void TWakeRun::Send(size_t i, int64_t nowMs) {
    TWakeReport& report = reports_[i];
    const bool first = schedule_.Packets(i) == 1;
    std::vector<std::string> reached;
    for (const TWakeDestination& destination : targets_[i].destinations) {
        const std::string text = DestinationText(destination);
        try {
            client_.Send(DottedAddressText(destination.address), destination.port, packets_[i]);
            reached.push_back(text);
        } catch (const Exception& e) {
            const std::string line = SendFailedLine(report.name, text, OneLineMessage(e.Message()));
            if (report.error.empty()) {
                report.error = line.substr(report.name.size() + 2);
            }
            if (!options_.json) {
                ClearProgress();
                WriteTargetLine(out_, line);
            }
        }
    }
    report.packets = schedule_.Packets(i);
    if (!first) {
        return;
    }
    report.sentTo = reached;
    if (reached.empty()) {
        schedule_.SendFailed(i, nowMs);
        Settle(i, TWakeOutcome::SendFailed, "");
    } else if (!options_.json) {
        ClearProgress();
        WriteTargetLine(out_, SentLine(report.name, reached));
    }
}

void TWakeRun::Settle(size_t i, TWakeOutcome outcome, const std::string& answered) {
    if (settled_[i]) {
        return;
    }
    settled_[i] = true;
    TWakeReport& report = reports_[i];
    report.outcome = outcome;
    report.answered = answered;
    report.packets = schedule_.Packets(i);
    if (outcome == TWakeOutcome::Up || outcome == TWakeOutcome::NoAnswer ||
        outcome == TWakeOutcome::Down) {
        report.millis = schedule_.SettledMs(i) - schedule_.FirstActionMs(i);
    }
    if (outcome == TWakeOutcome::Up) {
        ++up_;
    }
    Report(i);
}

void TWakeRun::Report(size_t i) {
    const TWakeReport& report = reports_[i];
    if (options_.json) {
        WriteTargetLine(out_, JsonLine(report));
    } else if (report.outcome != TWakeOutcome::Sent && report.outcome != TWakeOutcome::SendFailed) {
        ClearProgress();
        WriteTargetLine(out_, SettledLine(report, options_.timeoutMs));
    }
}

// Until the next action is due, at most kLongestWaitMs: in the runner's poll while checks run,
// else asleep. Answers settle their targets at once.
void TWakeRun::Wait(int64_t nowMs) {
    std::fflush(out_);
    const int64_t next = schedule_.NextDueMs();
    const int32_t waitMs =
        static_cast<int32_t>(std::clamp<int64_t>(next - nowMs, 0, kLongestWaitMs));
    if (!runner_) {
        context_.sleepMs(waitMs);
        return;
    }
    std::vector<TCheckAnswer> answers;
    runner_->Poll(nowMs, waitMs, answers);
    const int64_t answeredMs = context_.nowMs();
    for (const TCheckAnswer& answer : answers) {
        if (schedule_.State(answer.target) != TWakeState::Waiting) {
            continue;
        }
        schedule_.Answered(answer.target, answeredMs);
        runner_->Stop(answer.target);
        Settle(answer.target, TWakeOutcome::Up, CheckText(answer.check));
    }
    std::fflush(out_);
    DrawProgress(answeredMs);
}

void TWakeRun::DrawProgress(int64_t nowMs) {
    if (!context_.progress || (progressMs_ >= 0 && nowMs - progressMs_ < kLongestWaitMs)) {
        return;
    }
    progressMs_ = nowMs;
    size_t settled = 0;
    for (bool done : settled_) {
        settled += done ? 1 : 0;
    }
    std::string line = ProgressLine(up_, targets_.size() - settled, nowMs - startMs_);
    const size_t length = line.size();
    line.append(progressLength_ > length ? progressLength_ - length : 0, ' ');
    std::fputs(("\r" + line).c_str(), err_);
    std::fflush(err_);
    progressLength_ = length;
}

void TWakeRun::ClearProgress() {
    if (progressLength_ == 0) {
        return;
    }
    std::fputs(("\r" + std::string(progressLength_, ' ') + "\r").c_str(), err_);
    std::fflush(err_);
    progressLength_ = 0;
    progressMs_ = -1;
}

int64_t SteadyNowMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

}  // namespace

TWakeContext MachineWakeContext(std::FILE* err) {
    TWakeContext context;
    context.nowMs = SteadyNowMs;
    context.sleepMs = [](int32_t ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    context.createProber = CreateProber;
    context.stopRequested = StopRequested;
    context.listInterfaces = ListInterfaceAddresses;
    context.findNeighbourMac = FindNeighbourMac;
    context.executableFolder = ExecutableFolder();
    context.progress = IsTerminal(err);
    return context;
}

int RunWake(const TWakeOptions& options, TWakeContext& context, std::FILE* out, std::FILE* err) {
    if (options.mode == TWakeMode::Learn) {
        return RunLearn(options, context, out, err);
    }
    try {
        THostsLocationInput location =
            HostsLocationFromEnvironment(options.hostsPath, context.executableFolder);
        const std::string path = HostsFilePath(location);
        std::vector<TWakeTarget> targets;
        {
            // The hosts are let go once selected: the run keeps only its targets.
            const std::vector<THost> hosts = ReadHosts(location, path);
            std::vector<std::string> words = options.targets;
            if (words.empty()) {
                words.push_back("all");  // --list
            }
            std::string error;
            if (!SelectTargets(hosts, path, words, options.targetOptions, targets, error)) {
                throw EWakeStop(error, kWakeBadUsage);
            }
        }
        if (options.mode == TWakeMode::List) {
            for (const TWakeTarget& target : targets) {
                WriteLine(out, ListLine(target));
            }
            return kWakeAllDone;
        }
        TWakeRun run(options, context, std::move(targets), out, err);
        return run.Run();
    } catch (const EWakeStop& e) {
        WriteLine(err, "corvane-wake: " + e.Message());
        return e.Status();
    } catch (const Exception& e) {
        WriteLine(err, "corvane-wake: " + OneLineMessage(e.Message()));
        return kWakeCannotCheck;
    }
}
