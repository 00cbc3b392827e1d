#include "support/FakeProber.h"

bool TFakeProber::IcmpAvailable(std::string& reason) {
    if (!icmp) {
        reason = icmpReason;
    }
    return icmp;
}

void TFakeProber::SendEcho(uint64_t token, uint32_t address) {
    calls.push_back({'e', token, address, 0});
    echoes_[token] = address;
}

bool TFakeProber::StartConnect(uint64_t token, uint32_t address, uint16_t port) {
    if (refuseConnects > 0) {
        --refuseConnects;
        return false;
    }
    calls.push_back({'c', token, address, port});
    connects_[token] = address;
    return true;
}

void TFakeProber::Cancel(uint64_t token) {
    calls.push_back({'x', token, 0, 0});
    echoes_.erase(token);
    connects_.erase(token);
}

void TFakeProber::Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) {
    waits.push_back(timeoutMs);
    for (const TIdProbeResult& result : queued_) {
        if (echoes_.erase(result.token) + connects_.erase(result.token) != 0) {
            results.push_back(result);
        }
    }
    queued_.clear();
}

void TFakeProber::Queue(uint64_t token, TIdProbeOutcome outcome, int32_t error) {
    queued_.push_back({token, outcome, error});
}
