#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "relay/AllowList.h"
#include "relay/RateLimit.h"
#include "relay/RepeatWindow.h"

// What the relay does with one datagram, decided from its bytes, its source and the time
// alone, so every rule is testable without a network or a clock.

enum class TRelayVerdict {
    Forward,
    FromThisRelay,
    SourceNotAllowed,
    NotMagicPacket,
    Repeat,
    RateLimit,
};

class TRelayPolicy {
public:
    // windowMs 0 turns the repeat check off. The repeat window holds as many entries as the
    // rate can let through within one window, so with any sensible options it never forgets a
    // packet early (and at most TRepeatWindow::kMaxCapacity).
    TRelayPolicy(TAllowList allow, int64_t windowMs, int32_t rate);

    // The relay's own sending endpoint: a datagram from one of these addresses (or any loopback
    // address) and this port is one that the relay itself sent.
    void SetOwnSender(std::vector<uint32_t> addresses, uint16_t port);

    // The checks in order: the relay's own datagram, the allow-list, the magic packet's form,
    // the repeat window, the rate. A forwarded datagram counts for the window and the rate;
    // a dropped one for neither.
    TRelayVerdict Judge(std::string_view data, uint32_t source, uint16_t sourcePort, int64_t nowMs);

    // "dropped: repeat within 2 s" and the other reasons; empty for Forward.
    std::string DropText(TRelayVerdict verdict) const;

private:
    bool FromOwnSender(uint32_t source, uint16_t sourcePort) const;

    TAllowList allow_;
    int64_t windowMs_;
    TRepeatWindow window_;
    TRateLimit rate_;
    std::vector<uint32_t> ownAddresses_;
    uint16_t ownPort_ = 0;  // 0 until the sending socket exists
};

// Milliseconds as seconds without trailing zeros: 2000 "2", 1500 "1.5", 250 "0.25".
std::string SecondsText(int64_t millis);
