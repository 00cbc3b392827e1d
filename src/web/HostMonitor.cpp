#include "web/HostMonitor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "base/DottedText.h"
#include "base/Exception.h"
#include "hosts/HostsFile.h"
#include "wake/MagicPacket.h"

namespace {

// The longest wait of the thread while checks or wakes run, so that a queued wake is sent
// within this time.
constexpr int32_t kBusyWaitMs = 50;
// A stream whose reader is this far behind gets one hosts event instead of its backlog.
constexpr size_t kMaxStreamBytes = 1 << 20;
// How long a handler waits for its wake to be sent.
constexpr auto kWakeReplyWait = std::chrono::seconds(5);

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t NowUnix() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string EventFrame(const char* event, const std::string& data) {
    return std::string("event: ") + event + "\ndata: " + data + "\n\n";
}

bool ReadText(const std::string& path, std::string& text, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot read: " + std::strerror(errno);
        return false;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

THostMonitor::THostMonitor(TMonitorSettings settings, TProberFactory proberFactory, std::FILE* log)
    : settings_(std::move(settings)),
      proberFactory_(std::move(proberFactory)),
      log_(log),
      watch_(settings_.hostsPath),
      schedule_(TWakeTiming{true, true, 0, settings_.resendMs, settings_.timeoutMs, 1000}) {
    client_.SetBroadcastEnabled(true);
}

THostMonitor::~THostMonitor() {
    Stop();
}

void THostMonitor::Start() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        watch_.Changed();
        Reload(NowMs());
    }
    thread_ = std::thread([this] { Run(); });
}

void THostMonitor::Stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    work_.notify_all();
    events_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string THostMonitor::HostsJson() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return CachedHostsJson();
}

TWakeReply THostMonitor::WakeHost(const std::string& name) {
    return Wake({name});
}

TWakeReply THostMonitor::WakeGroup(const std::string& name) {
    std::vector<std::string> names;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (const TEntry& entry : entries_) {
            const auto& groups = entry.target.groups;
            if (std::find(groups.begin(), groups.end(), name) != groups.end()) {
                names.push_back(entry.target.name);
            }
        }
    }
    if (names.empty()) {
        return {};
    }
    return Wake(std::move(names));
}

TWakeReply THostMonitor::Wake(std::vector<std::string> names) {
    TWakeReply reply;
    std::future<std::vector<THostView>> done;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::vector<TWakeTarget> targets;
        for (const std::string& name : names) {
            const TEntry* entry = Find(name);
            if (entry == nullptr) {
                return reply;
            }
            targets.push_back(entry->target);
        }
        if (!RequireDestinations(targets, reply.error)) {
            reply.outcome = TWakeOutcome::NoDestination;
            return reply;
        }
        commands_.push_back(TCommand{std::move(names), {}});
        done = commands_.back().done.get_future();
    }
    work_.notify_all();
    try {
        if (done.wait_for(kWakeReplyWait) == std::future_status::ready) {
            reply.hosts = done.get();
        }
    } catch (const std::future_error&) {
        // The monitor stopped before it took the wake: nothing was sent.
    }
    reply.outcome = TWakeOutcome::Accepted;
    return reply;
}

void THostMonitor::RequestReload() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        reloadRequested_ = true;
    }
    work_.notify_all();
}

uint64_t THostMonitor::Subscribe() {
    uint64_t id = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (streams_.empty()) {
            // The first page: every host is checked at once.
            for (TEntry& entry : entries_) {
                entry.nextRoundMs = 0;
            }
        }
        id = nextStream_++;
        std::shared_ptr<const std::string> frame = HostsFrame();
        TStream& stream = streams_[id];
        stream.bytes = frame->size();
        stream.frames.push_back(std::move(frame));
    }
    work_.notify_all();
    return id;
}

void THostMonitor::Unsubscribe(uint64_t stream) {
    const std::lock_guard<std::mutex> lock(mutex_);
    streams_.erase(stream);
}

size_t THostMonitor::StreamCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return streams_.size();
}

bool THostMonitor::NextFrames(uint64_t stream, int32_t waitMs,
                              std::vector<std::shared_ptr<const std::string>>& frames) {
    frames.clear();
    std::unique_lock<std::mutex> lock(mutex_);
    const auto ready = [&] {
        const auto found = streams_.find(stream);
        return stop_ || found == streams_.end() || !found->second.frames.empty();
    };
    events_.wait_for(lock, std::chrono::milliseconds(waitMs), ready);
    const auto found = streams_.find(stream);
    if (stop_ || found == streams_.end()) {
        return false;
    }
    frames.assign(found->second.frames.begin(), found->second.frames.end());
    found->second.frames.clear();
    found->second.bytes = 0;
    return true;
}

void THostMonitor::Run() {
    std::vector<TCheckAnswer> answers;
    while (true) {
        const int64_t started = NowMs();
        bool busy = false;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) {
                break;
            }
            busy = Tick(started);
        }
        if (busy && runner_) {
            answers.clear();
            runner_->Poll(NowMs(), kBusyWaitMs, answers);
            const std::lock_guard<std::mutex> lock(mutex_);
            for (const TCheckAnswer& answer : answers) {
                Answer(answer, NowMs());
            }
        }
        // Waits the rest of the turn (all of an idle one) unless a wake or a stop comes.
        const int64_t turnMs = busy ? kBusyWaitMs : settings_.fileCheckMs;
        const int64_t leftMs = started + turnMs - NowMs();
        std::unique_lock<std::mutex> lock(mutex_);
        if (leftMs > 0 && commands_.empty() && !stop_ && !reloadRequested_) {
            work_.wait_for(lock, std::chrono::milliseconds(leftMs),
                           [&] { return stop_ || reloadRequested_ || !commands_.empty(); });
        }
    }
}

// One turn of the thread, under the lock; true while checks or wakes run.
bool THostMonitor::Tick(int64_t nowMs) {
    if (reloadRequested_ || nowMs >= nextFileCheckMs_) {
        nextFileCheckMs_ = nowMs + settings_.fileCheckMs;
        if (watch_.Changed() || reloadRequested_) {
            Reload(nowMs);
        }
        reloadRequested_ = false;
    }
    std::deque<TCommand> commands;
    commands.swap(commands_);
    for (TCommand& command : commands) {
        for (const std::string& name : command.names) {
            if (TEntry* entry = Find(name)) {
                StartWake(*entry, nowMs);
            }
        }
    }
    std::vector<TWakeAction> actions;
    schedule_.TakeDue(nowMs, actions);
    for (const TWakeAction& action : actions) {
        CarryOut(action, nowMs);
    }
    for (TCommand& command : commands) {
        std::vector<THostView> views;
        for (const std::string& name : command.names) {
            if (const TEntry* entry = Find(name)) {
                views.push_back(entry->view);
            }
        }
        command.done.set_value(std::move(views));
    }
    bool waking = false;
    for (TEntry& entry : entries_) {
        if (entry.view.state != THostState::Waking) {
            continue;
        }
        waking = true;
        if (nowMs - entry.lastPublishMs >= settings_.progressEveryMs) {
            const int64_t firstMs = schedule_.FirstActionMs(entry.scheduleIndex);
            entry.view.seconds = static_cast<double>(nowMs - firstMs) / 1000.0;
            entry.view.packets = schedule_.Packets(entry.scheduleIndex);
            Publish(entry);
        }
    }
    if (streams_.empty()) {
        EndRounds();
    } else {
        StatusRounds(nowMs);
    }
    return waking || !streams_.empty();
}

void THostMonitor::Reload(int64_t nowMs) {
    std::string text;
    std::string error;
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    std::vector<TWakeTarget> targets;
    if (!ReadText(settings_.hostsPath, text, error)) {
    } else if (!ParseHostsFile(text, settings_.hostsPath, hosts, errors)) {
        error = errors.empty() ? settings_.hostsPath + ": cannot be read" : errors.front();
    } else if (!SelectTargets(hosts, settings_.hostsPath, {"all"}, TTargetOptions{}, targets,
                              error)) {
        targets.clear();
    }
    if (!error.empty()) {
        // The last good list stays; the page shows why the file was not taken.
        error_ = error;
        std::fprintf(log_, "corvane-web: %s\n", error.c_str());
    } else {
        std::vector<TEntry> entries;
        std::map<std::string, size_t> byName;
        for (TWakeTarget& target : targets) {
            TEntry entry;
            if (const TEntry* old = Find(target.name)) {
                entry = *old;
            } else {
                entry.runnerTarget = nextRunnerTarget_++;
                runnerNames_[entry.runnerTarget] = target.name;
            }
            entry.view.name = target.name;
            entry.view.mac = target.mac;
            entry.view.hasAddress = target.hasAddress;
            entry.view.address = target.address;
            entry.view.groups = target.groups;
            entry.target = std::move(target);
            entry.nextRoundMs = std::min(entry.nextRoundMs, nowMs);
            byName[entry.target.name] = entries.size();
            entries.push_back(std::move(entry));
        }
        for (const TEntry& old : entries_) {
            if (byName.find(old.target.name) == byName.end()) {
                if (runner_) {
                    runner_->Stop(old.runnerTarget);
                }
                runnerNames_.erase(old.runnerTarget);
            }
        }
        entries_ = std::move(entries);
        byName_ = std::move(byName);
        error_.clear();
    }
    cache_.clear();
    PushFrame(HostsFrame());
}

void THostMonitor::StartWake(TEntry& entry, int64_t nowMs) {
    if (entry.roundInFlight && runner_) {
        runner_->Stop(entry.runnerTarget);
    }
    entry.roundInFlight = false;
    if (entry.scheduleIndex >= 0) {
        schedule_.Restart(static_cast<size_t>(entry.scheduleIndex), nowMs);
    } else {
        entry.scheduleIndex = static_cast<int64_t>(schedule_.Add(nowMs));
        scheduleNames_.push_back(entry.target.name);
    }
    entry.view.state = THostState::Waking;
    entry.view.sinceUnix = NowUnix();
    entry.view.seconds = 0;
    entry.view.packets = 0;
    entry.lastPublishMs = nowMs - settings_.progressEveryMs;
}

void THostMonitor::CarryOut(const TWakeAction& action, int64_t nowMs) {
    if (action.target >= scheduleNames_.size()) {
        return;
    }
    TEntry* entry = Find(scheduleNames_[action.target]);
    if (entry == nullptr || entry->scheduleIndex != static_cast<int64_t>(action.target)) {
        return;  // the host left the file
    }
    switch (action.kind) {
    case TWakeActionKind::Send:
        SendPacket(*entry);
        break;
    case TWakeActionKind::Check:
        StartChecks(*entry, nowMs);
        break;
    case TWakeActionKind::Settle:
        if (runner_) {
            runner_->Stop(entry->runnerTarget);
        }
        entry->view.packets = schedule_.Packets(action.target);
        SetState(*entry, THostState::NoAnswer, -1);
        break;
    }
}

void THostMonitor::SendPacket(TEntry& entry) {
    const TWakeTarget& target = entry.target;
    const std::string packet = BuildMagicPacket(target.mac, target.password);
    size_t failed = 0;
    for (const TWakeDestination& destination : target.destinations) {
        const std::string address = DottedAddressText(destination.address);
        try {
            client_.Send(address, destination.port, packet);
        } catch (const Exception& error) {
            ++failed;
            std::fprintf(log_, "corvane-web: %s: send to %s:%d failed: %s\n", target.name.c_str(),
                         address.c_str(), destination.port, error.Message().c_str());
        }
    }
    const size_t index = static_cast<size_t>(entry.scheduleIndex);
    entry.view.packets = schedule_.Packets(index);
    if (failed == target.destinations.size() && schedule_.Packets(index) == 1) {
        schedule_.SendFailed(index, NowMs());
        SetState(entry, THostState::NoAnswer, -1);
    } else {
        Publish(entry);
    }
}

void THostMonitor::StatusRounds(int64_t nowMs) {
    for (TEntry& entry : entries_) {
        if (entry.view.state == THostState::Waking) {
            continue;
        }
        if (entry.roundInFlight && nowMs - entry.roundStartMs >= settings_.roundTimeoutMs) {
            runner_->Stop(entry.runnerTarget);
            entry.roundInFlight = false;
            if (entry.view.state != THostState::NoAnswer) {
                SetState(entry, THostState::Down, -1);
            }
        }
        if (!entry.roundInFlight && nowMs >= entry.nextRoundMs) {
            entry.nextRoundMs = nowMs + settings_.roundEveryMs;
            entry.roundInFlight = StartChecks(entry, nowMs);
            entry.roundStartMs = nowMs;
        }
    }
}

void THostMonitor::EndRounds() {
    for (TEntry& entry : entries_) {
        if (entry.roundInFlight && runner_) {
            runner_->Stop(entry.runnerTarget);
        }
        entry.roundInFlight = false;
    }
}

void THostMonitor::Answer(const TCheckAnswer& answer, int64_t nowMs) {
    const auto name = runnerNames_.find(answer.target);
    TEntry* entry = name == runnerNames_.end() ? nullptr : Find(name->second);
    if (entry == nullptr) {
        return;
    }
    runner_->Stop(entry->runnerTarget);
    if (entry->view.state == THostState::Waking) {
        const size_t index = static_cast<size_t>(entry->scheduleIndex);
        schedule_.Answered(index, nowMs);
        if (schedule_.State(index) == TWakeState::Up) {
            entry->view.packets = schedule_.Packets(index);
            const int64_t tookMs = schedule_.SettledMs(index) - schedule_.FirstActionMs(index);
            SetState(*entry, THostState::Up, static_cast<double>(tookMs) / 1000.0);
        }
    } else if (entry->roundInFlight) {
        entry->roundInFlight = false;
        if (entry->view.state != THostState::Up) {
            SetState(*entry, THostState::Up, -1);
        }
    }
}

// One check attempt of the host's checks (those this process can run); false when it has none.
bool THostMonitor::StartChecks(TEntry& entry, int64_t nowMs) {
    if (!entry.target.hasAddress || entry.target.checks.empty() || !EnsureRunner()) {
        return false;
    }
    std::vector<TCheckSpec> checks = entry.target.checks;
    if (!icmpAvailable_) {
        std::erase_if(checks,
                      [](const TCheckSpec& check) { return check.kind == TCheckKind::Icmp; });
    }
    if (checks.empty()) {
        return false;
    }
    runner_->Start(entry.runnerTarget, entry.target.address, checks, nowMs);
    return true;
}

// The prober is made at the first check, so that a program no page ever opens opens no socket.
bool THostMonitor::EnsureRunner() {
    if (runner_ || checksBroken_) {
        return runner_ != nullptr;
    }
    try {
        prober_ = proberFactory_();
        std::string reason;
        icmpAvailable_ = prober_->IcmpAvailable(reason);
        if (!icmpAvailable_) {
            std::fprintf(log_, "corvane-web: warning: %s\n", reason.c_str());
        }
        runner_ = std::make_unique<TCheckRunner>(*prober_, ConnectBudget());
    } catch (const Exception& error) {
        checksBroken_ = true;
        std::fprintf(log_, "corvane-web: checks cannot run: %s\n", error.Message().c_str());
    }
    return runner_ != nullptr;
}

void THostMonitor::SetState(TEntry& entry, THostState state, double seconds) {
    entry.view.state = state;
    entry.view.sinceUnix = NowUnix();
    entry.view.seconds = seconds;
    Publish(entry);
}

void THostMonitor::Publish(TEntry& entry) {
    entry.lastPublishMs = NowMs();
    cache_.clear();
    if (!streams_.empty()) {
        PushFrame(std::make_shared<const std::string>(EventFrame("host", HostJson(entry.view))));
    }
}

// One frame for every stream; each holds it until its reader took it.
void THostMonitor::PushFrame(const std::shared_ptr<const std::string>& frame) {
    for (auto& [id, stream] : streams_) {
        if (stream.bytes + frame->size() > kMaxStreamBytes) {
            // Too far behind: the whole state replaces the backlog.
            stream.frames.clear();
            stream.frames.push_back(HostsFrame());
            stream.bytes = stream.frames.back()->size();
            continue;
        }
        stream.frames.push_back(frame);
        stream.bytes += frame->size();
    }
    events_.notify_all();
}

// Under the lock.
const std::string& THostMonitor::CachedHostsJson() {
    if (cache_.empty()) {
        cache_ = ::HostsJson(
            entries_.size(), [this](size_t i) -> const THostView& { return entries_[i].view; },
            error_);
    }
    return cache_;
}

std::shared_ptr<const std::string> THostMonitor::HostsFrame() {
    return std::make_shared<const std::string>(EventFrame("hosts", CachedHostsJson()));
}

THostMonitor::TEntry* THostMonitor::Find(const std::string& name) {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &entries_[found->second];
}
