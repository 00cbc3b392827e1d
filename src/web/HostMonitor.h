#pragma once

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "check/CheckRunner.h"
#include "hosts/Targets.h"
#include "net/IdProber.h"
#include "net/IdUDPClient.h"
#include "schedule/WakeSchedule.h"
#include "web/FileWatch.h"
#include "web/HostJson.h"

// The hosts of corvane-web and what is known of them. One thread does all the work: it rereads
// the hosts file, sends the magic packets, runs the checks and writes the events; the server's
// handler threads only read the last state, queue a wake and wait for their stream's events.
//
// Checks run only while an event stream is open (every host every roundEveryMs, as
// corvane-wake --status checks) or a wake is in progress (that host, as corvane-wake --wait
// checks, over the same TWakeSchedule). With neither, nothing is sent and the thread only looks
// at the hosts file's stamp now and then.

struct TMonitorSettings {
    std::string hostsPath;
    int64_t resendMs = 10000;        // --resend
    int64_t timeoutMs = 120000;      // --wake-timeout
    int64_t roundEveryMs = 5000;     // a status check of each host while a page is open
    int64_t roundTimeoutMs = 3000;   // a status check without answer: down
    int64_t fileCheckMs = 1000;      // how often the hosts file's stamp is looked at
    int64_t progressEveryMs = 1000;  // a waking host's event at least this often
};

using TProberFactory = std::function<std::unique_ptr<TIdProber>()>;

enum class TWakeOutcome {
    Accepted,       // sent: `hosts` holds the woken hosts as they are now
    Unknown,        // no such host or group
    NoDestination,  // a host has nowhere to send to: `error` says which
};

struct TWakeReply {
    TWakeOutcome outcome = TWakeOutcome::Unknown;
    std::vector<THostView> hosts;
    std::string error;
};

class THostMonitor {
public:
    THostMonitor(TMonitorSettings settings, TProberFactory proberFactory, std::FILE* log);
    ~THostMonitor();
    THostMonitor(const THostMonitor&) = delete;
    THostMonitor& operator=(const THostMonitor&) = delete;

    // Reads the hosts file and starts the thread.
    void Start();
    void Stop();

    // GET /api/hosts's answer.
    std::string HostsJson();

    // Sends the host's (or each host of the group's) packet at once, whatever its state, and
    // follows the wake to its end. Returns once the first packets are sent.
    TWakeReply WakeHost(const std::string& name);
    TWakeReply WakeGroup(const std::string& name);

    // Rereads the hosts file soon (SIGHUP).
    void RequestReload();

    // An event stream: its first frame is the hosts event. Frames are whole server-sent events.
    uint64_t Subscribe();
    void Unsubscribe(uint64_t stream);
    size_t StreamCount() const;
    // Waits at most waitMs for the stream's next frames and moves them into `frames` (empty
    // when none came); a frame is shared by every stream. False once the monitor stops.
    bool NextFrames(uint64_t stream, int32_t waitMs,
                    std::vector<std::shared_ptr<const std::string>>& frames);

private:
    struct TEntry {
        TWakeTarget target;
        THostView view;
        int64_t scheduleIndex = -1;  // in schedule_ once woken
        size_t runnerTarget = 0;
        bool roundInFlight = false;  // a status check is running
        int64_t roundStartMs = 0;
        int64_t nextRoundMs = 0;
        int64_t lastPublishMs = 0;
    };
    struct TCommand {
        std::vector<std::string> names;
        std::promise<std::vector<THostView>> done;
    };
    struct TStream {
        std::deque<std::shared_ptr<const std::string>> frames;
        size_t bytes = 0;
    };

    TWakeReply Wake(std::vector<std::string> names);
    void Run();
    bool Tick(int64_t nowMs);
    void Reload(int64_t nowMs);
    void StartWake(TEntry& entry, int64_t nowMs);
    void CarryOut(const TWakeAction& action, int64_t nowMs);
    void SendPacket(TEntry& entry);
    void StatusRounds(int64_t nowMs);
    void EndRounds();
    void Answer(const TCheckAnswer& answer, int64_t nowMs);
    bool StartChecks(TEntry& entry, int64_t nowMs);
    bool EnsureRunner();
    void SetState(TEntry& entry, THostState state, double seconds);
    void Publish(TEntry& entry);
    void PushFrame(const std::shared_ptr<const std::string>& frame);
    const std::string& CachedHostsJson();
    std::shared_ptr<const std::string> HostsFrame();
    TEntry* Find(const std::string& name);

    TMonitorSettings settings_;
    TProberFactory proberFactory_;
    std::FILE* log_;

    mutable std::mutex mutex_;  // guards everything below but the thread
    std::condition_variable work_;
    std::condition_variable events_;
    bool stop_ = false;
    bool reloadRequested_ = false;
    std::vector<TEntry> entries_;  // in file order
    std::map<std::string, size_t> byName_;
    std::string error_;  // the hosts file's last reload error
    std::string cache_;  // HostsJson, empty when stale
    std::deque<TCommand> commands_;
    std::map<uint64_t, TStream> streams_;
    uint64_t nextStream_ = 1;

    // Used by the thread only.
    TFileWatch watch_;
    TWakeSchedule schedule_;
    std::vector<std::string> scheduleNames_;  // schedule target -> host name
    std::unique_ptr<TIdProber> prober_;
    std::unique_ptr<TCheckRunner> runner_;
    bool checksBroken_ = false;
    bool icmpAvailable_ = true;
    std::map<size_t, std::string> runnerNames_;  // runner target -> host name
    size_t nextRunnerTarget_ = 0;
    TIdUDPClient client_;
    int64_t nextFileCheckMs_ = 0;
    std::thread thread_;
};
