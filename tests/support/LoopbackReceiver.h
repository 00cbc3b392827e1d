#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/IdStack.h"

struct ReceivedDatagram {
    std::string data;
    std::string address;  // sender
    uint16_t port;        // sender's port
};

// A UDP listener for tests, on the platform's own socket stack (not the default stack class, so
// it works beside a recording stack). Bind it to "127.0.0.1", or to "0.0.0.0" to receive the
// loopback broadcast 127.255.255.255. It only receives; it never sends.
class LoopbackReceiver {
public:
    // port 0 lets the system choose a free port. Raises EIdSocketError when binding fails.
    explicit LoopbackReceiver(const std::string& bindAddress = "127.0.0.1", uint16_t port = 0);
    ~LoopbackReceiver();
    LoopbackReceiver(const LoopbackReceiver&) = delete;
    LoopbackReceiver& operator=(const LoopbackReceiver&) = delete;

    uint16_t Port() const { return port_; }

    // The next datagram, or nothing when none arrives within timeoutMs. The wait is only a
    // guard against a hang: tests wait for datagrams that must come, or check what came first.
    std::optional<ReceivedDatagram> Receive(int32_t timeoutMs = 5000);

    // True when a UDP socket can be bound to the address and port right now.
    static bool PortIsFree(const std::string& bindAddress, uint16_t port);

private:
    std::unique_ptr<TIdStack> stack_;
    TIdStackSocketHandle socket_ = kIdInvalidSocket;
    uint16_t port_ = 0;
};
