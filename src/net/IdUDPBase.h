#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/IdComponent.h"
#include "net/IdSocketHandle.h"

// A UDP component: one IPv4 datagram socket (the binding), opened at the first send and kept
// open for every later send, with the broadcast permission set from BroadcastEnabled.
class TIdUDPBase : public TIdComponent {
public:
    TIdUDPBase();
    // Closes the socket (Active := false); never raises.
    ~TIdUDPBase() override;

    // True while the socket is open.
    bool Active() const;
    // true opens the socket (and applies the broadcast option); false closes it and frees the
    // binding.
    void SetActive(bool active);

    bool BroadcastEnabled() const { return broadcastEnabled_; }
    // Stores the value; while the socket is open a change is applied to it at once.
    void SetBroadcastEnabled(bool enabled);

    int32_t BufferSize() const { return bufferSize_; }
    void SetBufferSize(int32_t size) { bufferSize_ = size; }

    // Sends the bytes of data (its stored length, zero bytes included) as one datagram.
    void Send(const std::string& host, int32_t port, const std::string& data);
    // Resolves host first (LOCALHOST, an address text unchanged, else a name lookup), then
    // opens the socket if needed and sends one datagram to the low 16 bits of port.
    void SendBytes(const std::string& host, int32_t port, const void* buffer, int32_t count);

    // The binding with an open socket, created and opened if needed.
    virtual TIdSocketHandle& EnsureBinding();
    // Closes the socket and forgets the binding.
    virtual void ReleaseBinding();
    // Writes the broadcast option of BroadcastEnabled to the socket.
    virtual void ApplyBroadcastOption();
    // Writes the broadcast option (-1 or 0 as 4 bytes) to the binding, or to EnsureBinding()
    // when none is given.
    void SetBroadcastOption(bool enabled, TIdSocketHandle* binding = nullptr);

    // The binding, if any (for inspection).
    TIdSocketHandle* Binding() const { return binding_.get(); }

protected:
    const std::string& HostField() const { return host_; }
    void SetHostField(const std::string& host) { host_ = host; }
    int32_t PortField() const { return port_; }
    void SetPortField(int32_t port) { port_ = port; }
    int32_t ReceiveTimeoutField() const { return receiveTimeout_; }
    void SetReceiveTimeoutField(int32_t timeout) { receiveTimeout_ = timeout; }

private:
    std::unique_ptr<TIdSocketHandle> binding_;
    int32_t bufferSize_ = 8192;
    // Active requested while loading a stored form; forms are built in code here, so it stays
    // false.
    bool pendingActive_ = false;
    std::string host_;
    int32_t port_ = 0;
    int32_t receiveTimeout_ = -2;
    bool broadcastEnabled_ = false;
};
