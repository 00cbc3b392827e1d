#include "relay/RelayPolicy.h"

#include <algorithm>

#include "wake/MagicPacket.h"

namespace {

constexpr uint32_t kLoopbackNetwork = 0x7F000000;  // 127.0.0.0/8
constexpr uint32_t kLoopbackMask = 0xFF000000;

// Forwards that the rate lets through within one window: rate per started second.
size_t WindowCapacity(int64_t windowMs, int32_t rate) {
    const int64_t seconds = std::max<int64_t>(1, (windowMs + 999) / 1000);
    const int64_t entries = std::max<int64_t>(1, rate) * seconds;
    return static_cast<size_t>(std::min<int64_t>(entries, TRepeatWindow::kMaxCapacity));
}

}  // namespace

TRelayPolicy::TRelayPolicy(TAllowList allow, int64_t windowMs, int32_t rate)
    : allow_(std::move(allow)),
      windowMs_(windowMs),
      window_(windowMs, WindowCapacity(windowMs, rate)),
      rate_(rate) {}

void TRelayPolicy::SetOwnSender(std::vector<uint32_t> addresses, uint16_t port) {
    ownAddresses_ = std::move(addresses);
    ownPort_ = port;
}

TRelayVerdict TRelayPolicy::Judge(std::string_view data, uint32_t source, uint16_t sourcePort,
                                  int64_t nowMs) {
    if (FromOwnSender(source, sourcePort)) {
        return TRelayVerdict::FromThisRelay;
    }
    if (!allow_.Allows(source)) {
        return TRelayVerdict::SourceNotAllowed;
    }
    TMagicPacket packet;
    if (!DecodeMagicPacket(data, packet)) {
        return TRelayVerdict::NotMagicPacket;
    }
    if (window_.IsRepeat(data, nowMs)) {
        return TRelayVerdict::Repeat;
    }
    if (!rate_.Allow(nowMs)) {
        return TRelayVerdict::RateLimit;
    }
    window_.Remember(data, nowMs);
    return TRelayVerdict::Forward;
}

std::string TRelayPolicy::DropText(TRelayVerdict verdict) const {
    switch (verdict) {
    case TRelayVerdict::Forward:
        return {};
    case TRelayVerdict::FromThisRelay:
        return "dropped: from this relay";
    case TRelayVerdict::SourceNotAllowed:
        return "dropped: source not allowed";
    case TRelayVerdict::NotMagicPacket:
        return "dropped: not a magic packet";
    case TRelayVerdict::Repeat:
        return "dropped: repeat within " + SecondsText(windowMs_) + " s";
    case TRelayVerdict::RateLimit:
        return "dropped: rate limit";
    }
    return {};
}

bool TRelayPolicy::FromOwnSender(uint32_t source, uint16_t sourcePort) const {
    if (ownPort_ == 0 || sourcePort != ownPort_) {
        return false;
    }
    return (source & kLoopbackMask) == kLoopbackNetwork ||
           std::find(ownAddresses_.begin(), ownAddresses_.end(), source) != ownAddresses_.end();
}

std::string SecondsText(int64_t millis) {
    std::string text = std::to_string(millis / 1000);
    const int64_t fraction = millis % 1000;
    if (fraction != 0) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += "." + digits;
    }
    return text;
}
