#pragma once

#include <cstdint>
#include <string>

#include "net/IdUDPBase.h"

// The UDP client: a destination host and port, and a one-argument Send to them.
class TIdUDPClient : public TIdUDPBase {
public:
    TIdUDPClient() = default;

    // Exactly Send(Host(), Port(), data).
    void Send(const std::string& data) { TIdUDPBase::Send(Host(), Port(), data); }
    using TIdUDPBase::Send;

    const std::string& Host() const { return HostField(); }
    void SetHost(const std::string& host) { SetHostField(host); }
    int32_t Port() const { return PortField(); }
    void SetPort(int32_t port) { SetPortField(port); }
    int32_t ReceiveTimeout() const { return ReceiveTimeoutField(); }
    void SetReceiveTimeout(int32_t timeout) { SetReceiveTimeoutField(timeout); }
};
