#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "net/IdProber.h"

// A prober that sends nothing. It records every echo, connect and cancel, keeps which tokens are
// in flight, and answers when the test says so: Answer/Refuse/Fail queue an outcome that the
// next Wait hands out (only for tokens still in flight, as a real prober would). Wait never
// sleeps; it records the timeout it was given.
class TFakeProber : public TIdProber {
public:
    struct TCall {
        char what;  // 'e' echo, 'c' connect, 'x' cancel
        uint64_t token;
        uint32_t address;
        uint16_t port;  // 0 for echoes and cancels
    };

    bool IcmpAvailable(std::string& reason) override;
    void SendEcho(uint64_t token, uint32_t address) override;
    bool StartConnect(uint64_t token, uint32_t address, uint16_t port) override;
    void Cancel(uint64_t token) override;
    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override;

    // The next outcome of a token in flight: an echo reply or completed connect, a refusal (also
    // Answered), or a failure with a Windows Sockets number (10065 host unreachable, ...).
    void Answer(uint64_t token) { Queue(token, TIdProbeOutcome::Answered, 0); }
    void Refuse(uint64_t token) { Queue(token, TIdProbeOutcome::Answered, 0); }
    void Fail(uint64_t token, int32_t error) { Queue(token, TIdProbeOutcome::Failed, error); }

    // The connects in flight now, and whether a token is in flight.
    size_t ConnectsInFlight() const { return connects_.size(); }
    bool InFlight(uint64_t token) const {
        return connects_.count(token) != 0 || echoes_.count(token) != 0;
    }

    std::vector<TCall> calls;
    std::vector<int32_t> waits;  // the timeout of each Wait
    bool icmp = true;            // what IcmpAvailable says
    std::string icmpReason = "no ICMP";
    int32_t refuseConnects = 0;  // the next N StartConnect calls find no descriptor

private:
    void Queue(uint64_t token, TIdProbeOutcome outcome, int32_t error);

    std::map<uint64_t, uint32_t> echoes_;    // token -> address
    std::map<uint64_t, uint32_t> connects_;  // token -> address
    std::vector<TIdProbeResult> queued_;
};
