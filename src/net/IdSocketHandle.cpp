#include "net/IdSocketHandle.h"

#include "net/IdException.h"

TIdSocketHandle::~TIdSocketHandle() {
    CloseDescriptor();
}

void TIdSocketHandle::OpenSocket(int32_t type, int32_t protocol) {
    CloseDescriptor();
    descriptor_ = GlobalStack()->CreateSocket(type, protocol);
    socketOpen_ = true;
}

void TIdSocketHandle::CloseDescriptor() {
    if (!socketOpen_) {
        return;
    }
    socketOpen_ = false;
    TIdStack* stack = GlobalStack();
    if (stack == nullptr) {
        return;
    }
    // Closing must not fail: it runs from destructors, possibly after the socket library was
    // unloaded at exit, where even the call itself raises.
    try {
        stack->SysShutdown(descriptor_, kIdShutdownSend);
    } catch (const Exception&) {
    }
    try {
        stack->SysCloseSocket(descriptor_);
    } catch (const Exception&) {
    }
}

void TIdSocketHandle::SetOption(int32_t level, int32_t name, const void* value, int32_t length) {
    TIdStack* stack = GlobalStack();
    stack->CheckResult(stack->SysSetSockOpt(descriptor_, level, name, value, length));
}

void TIdSocketHandle::SendDatagram(const std::string& ip, int32_t port, const void* buffer,
                                   int32_t count) {
    TIdStack* stack = GlobalStack();
    const int32_t sent = stack->SysSendTo(descriptor_, buffer, count, 0, ip, port);
    if (sent == -1) {
        if (stack->SysGetLastError() == kIdErrorMessageTooLong) {
            throw EIdPackageSizeTooBig("Package Size Too Big.");
        }
        stack->CheckResult(-1);
        return;
    }
    if (sent != count) {
        throw EIdNotAllBytesSent("Not all bytes sent.");
    }
}
