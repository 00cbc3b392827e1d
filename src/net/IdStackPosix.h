#pragma once

#include "net/IdStack.h"

// The stack over POSIX sockets. Every failing call maps errno once, right after the call, to
// the Windows Sockets number (10000 + the BSD number), so callers and texts see one numbering.
class TIdStackPosix : public TIdStack {
public:
    TIdStackPosix() = default;

    int32_t SysBind(TIdStackSocketHandle socket, const std::string& ip, int32_t port) override;
    int32_t SysCloseSocket(TIdStackSocketHandle socket) override;
    std::string SysGetHostByName(const std::string& name) override;
    uint16_t SysHtons(uint16_t hostShort) override;
    int32_t SysRecvFrom(TIdStackSocketHandle socket, void* buffer, int32_t length, int32_t flags,
                        std::string& ip, int32_t& port) override;
    int32_t SysSelect(std::vector<TIdStackSocketHandle>* read,
                      std::vector<TIdStackSocketHandle>* write,
                      std::vector<TIdStackSocketHandle>* except, int32_t timeoutMs) override;
    int32_t SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                      int32_t flags, const std::string& ip, int32_t port) override;
    int32_t SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                          const void* value, int32_t length) override;
    TIdStackSocketHandle SysSocket(int32_t family, int32_t type, int32_t protocol) override;
    int32_t SysShutdown(TIdStackSocketHandle socket, int32_t how) override;
    int32_t SysGetLastError() override { return lastError_; }
    void SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                        int32_t& port) override;
    int32_t SocketOptionLevel() const override;
    int32_t BroadcastOptionName() const override;

    // The Windows Sockets number for a POSIX errno value.
    static int32_t MapErrno(int error);
    // The Windows Sockets number for a getaddrinfo result (EAI_*).
    static int32_t MapLookupError(int error, int systemErrno);

private:
    // Stores the mapped errno when result is -1 and passes the result on.
    int32_t Track(int32_t result);

    int32_t lastError_ = 0;
};
