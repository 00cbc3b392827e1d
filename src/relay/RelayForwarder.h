#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/IdStack.h"
#include "relay/RelayPolicy.h"
#include "relay/RelayTargets.h"

// One received datagram, judged by the policy and, when accepted, sent unchanged to every
// destination from the relay's sending socket. Returns the line that says what happened:
//   from 10.0.1.2:40000, 102 bytes: magic packet for 00-11-22-33-44-55 -> forwarded to 10.0.2.255:9
// A failed send is reported on the line ("send to 10.0.3.255:9 failed: ...") and the other
// destinations still get the packet.
class TRelayForwarder {
public:
    TRelayForwarder(TIdStack& stack, TIdStackSocketHandle sendSocket,
                    std::vector<TRelayDestination> destinations, TRelayPolicy& policy);

    std::string Handle(std::string_view data, const std::string& sender, int32_t senderPort,
                       int64_t nowMs);

private:
    // "forwarded to A:9, B:9" and "send to C:9 failed: <error>" parts joined by "; ".
    std::string Send(std::string_view data);

    TIdStack& stack_;
    TIdStackSocketHandle sendSocket_;
    std::vector<TRelayDestination> destinations_;
    TRelayPolicy& policy_;
};

// A stack message on one line, without a dangling separator: "Socket Error # 10051: Network is
// unreachable.", and "Socket Error # 8" for a number without a text.
std::string OneLineMessage(std::string message);
