#pragma once

#include <cstdint>
#include <string>

#include "net/IdStack.h"

// One socket of a transport component (the UDP client calls it its binding). All platform work
// goes through the process-wide stack.
class TIdSocketHandle {
public:
    TIdSocketHandle() = default;
    // Closes the socket; never raises.
    virtual ~TIdSocketHandle();
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Closes any open socket, then creates an IPv4 socket (EIdInvalidSocket on failure, after
    // which the handle has no open socket).
    void OpenSocket(int32_t type, int32_t protocol);
    // Shuts the sending direction down and closes the socket, ignoring both results. The
    // descriptor keeps its number.
    virtual void CloseDescriptor();
    // setsockopt through the stack; -1 raises EIdSocketError.
    void SetOption(int32_t level, int32_t name, const void* value, int32_t length);
    // One datagram to an address text and port. EIdPackageSizeTooBig for a datagram the
    // platform finds too long, EIdSocketError for any other refusal, EIdNotAllBytesSent when
    // fewer bytes went out than given.
    void SendDatagram(const std::string& ip, int32_t port, const void* buffer, int32_t count);

    TIdStackSocketHandle Descriptor() const { return descriptor_; }
    bool SocketOpen() const { return socketOpen_; }
    const std::string& IP() const { return ip_; }
    void SetIP(const std::string& ip) { ip_ = ip; }
    const std::string& PeerIP() const { return peerIP_; }
    int32_t Port() const { return port_; }
    void SetPort(int32_t port) { port_ = port; }
    int32_t PeerPort() const { return peerPort_; }
    int32_t ClientPortMin() const { return clientPortMin_; }
    void SetClientPortMin(int32_t port) { clientPortMin_ = port; }
    int32_t ClientPortMax() const { return clientPortMax_; }
    void SetClientPortMax(int32_t port) { clientPortMax_ = port; }

private:
    TIdStackSocketHandle descriptor_ = kIdInvalidSocket;
    bool socketOpen_ = false;
    std::string ip_;
    std::string peerIP_;
    int32_t port_ = 0;
    int32_t peerPort_ = 0;
    int32_t clientPortMin_ = 0;
    int32_t clientPortMax_ = 0;
};
