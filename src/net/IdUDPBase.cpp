#include "net/IdUDPBase.h"

#include <limits>

#include "net/IdException.h"
#include "net/IdStack.h"

TIdUDPBase::TIdUDPBase() = default;

TIdUDPBase::~TIdUDPBase() {
    // ReleaseBinding only closes (which never raises) and frees.
    if (Active()) {
        TIdUDPBase::ReleaseBinding();
    }
}

bool TIdUDPBase::Active() const {
    return pendingActive_ || (binding_ != nullptr && binding_->SocketOpen());
}

void TIdUDPBase::SetActive(bool active) {
    if (active == Active()) {
        return;
    }
    if (active) {
        EnsureBinding();
    } else {
        ReleaseBinding();
    }
}

void TIdUDPBase::SetBroadcastEnabled(bool enabled) {
    if (enabled == broadcastEnabled_) {
        return;
    }
    broadcastEnabled_ = enabled;
    if (Active()) {
        ApplyBroadcastOption();
    }
}

void TIdUDPBase::Send(const std::string& host, int32_t port, const std::string& data) {
    // The byte count is 32-bit: a longer string would otherwise go out cut short and count as
    // sent. No datagram can be that long, so it is refused as one.
    if (data.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        throw EIdPackageSizeTooBig("Package Size Too Big.");
    }
    SendBytes(host, port, data.data(), static_cast<int32_t>(data.size()));
}

void TIdUDPBase::SendBytes(const std::string& host, int32_t port, const void* buffer,
                           int32_t count) {
    // Resolution first: a failed lookup on the first send leaves no socket behind.
    const std::string address = GlobalStack()->HostToAddress(host);
    EnsureBinding().SendDatagram(address, port, buffer, count);
}

TIdSocketHandle& TIdUDPBase::EnsureBinding() {
    if (binding_ == nullptr) {
        binding_ = std::make_unique<TIdSocketHandle>();
    }
    if (!binding_->SocketOpen()) {
        binding_->OpenSocket(kIdSockDgram, 0);
        ApplyBroadcastOption();
    }
    return *binding_;
}

void TIdUDPBase::ReleaseBinding() {
    binding_.reset();
}

void TIdUDPBase::ApplyBroadcastOption() {
    SetBroadcastOption(broadcastEnabled_, nullptr);
}

void TIdUDPBase::SetBroadcastOption(bool enabled, TIdSocketHandle* binding) {
    const int32_t value = enabled ? -1 : 0;
    if (binding == nullptr) {
        binding = &EnsureBinding();
    }
    TIdStack* stack = GlobalStack();
    binding->SetOption(stack->SocketOptionLevel(), stack->BroadcastOptionName(), &value,
                       sizeof(value));
}
