#include "support/LoopbackReceiver.h"

#include <vector>

namespace {

constexpr int32_t kMaxDatagram = 65536;

}  // namespace

LoopbackReceiver::LoopbackReceiver(const std::string& bindAddress, uint16_t port)
    : stack_(CreatePlatformStack()) {
    socket_ = stack_->CreateSocket(kIdSockDgram, 0);
    try {
        stack_->CheckResult(stack_->SysBind(socket_, bindAddress, port));
        int32_t family = 0;
        std::string ip;
        int32_t boundPort = 0;
        stack_->SysGetSockName(socket_, family, ip, boundPort);
        port_ = static_cast<uint16_t>(boundPort);
    } catch (...) {
        stack_->SysCloseSocket(socket_);
        throw;
    }
}

LoopbackReceiver::~LoopbackReceiver() {
    stack_->SysCloseSocket(socket_);
}

std::optional<ReceivedDatagram> LoopbackReceiver::Receive(int32_t timeoutMs) {
    std::vector<TIdStackSocketHandle> ready{socket_};
    stack_->CheckResult(stack_->SysSelect(&ready, nullptr, nullptr, timeoutMs));
    if (ready.empty()) {
        return std::nullopt;
    }
    std::string buffer(kMaxDatagram, '\0');
    ReceivedDatagram datagram;
    int32_t fromPort = 0;
    const int32_t received =
        stack_->SysRecvFrom(socket_, buffer.data(), kMaxDatagram, 0, datagram.address, fromPort);
    stack_->CheckResult(received);
    buffer.resize(static_cast<size_t>(received));
    datagram.data = std::move(buffer);
    datagram.port = static_cast<uint16_t>(fromPort);
    return datagram;
}

bool LoopbackReceiver::PortIsFree(const std::string& bindAddress, uint16_t port) {
    std::unique_ptr<TIdStack> stack = CreatePlatformStack();
    const TIdStackSocketHandle socket = stack->CreateSocket(kIdSockDgram, 0);
    const bool free = stack->SysBind(socket, bindAddress, port) == 0;
    stack->SysCloseSocket(socket);
    return free;
}
