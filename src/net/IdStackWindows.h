#pragma once

#include "net/IdStack.h"

// The stack over Windows Sockets 2, bound at run time (IdWinsock2_win.h). Constructing the first
// one in the process loads the library and starts the subsystem (version 2.2); later ones find
// it started. Freeing a stack neither cleans up nor unloads: ShutdownWinsock does that at exit.
class TIdStackWindows : public TIdStack {
public:
    // Raises EIdWS2StubError when the library cannot be loaded and
    // EIdStackInitializationFailed "Winsock Initialization Error." when start-up fails.
    TIdStackWindows();

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
    int32_t SysGetLastError() override;
    void SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                        int32_t& port) override;
    int32_t SocketOptionLevel() const override;
    int32_t BroadcastOptionName() const override;
};

// True once the socket subsystem was started in this process (never cleared).
bool SocketsStarted();

// The program's exit step, after every window (and with them the stack) is gone: WSACleanup
// once if the subsystem was started, then the library is unloaded and every function returns
// to its stub. Socket calls afterwards raise the stub error.
void ShutdownWinsock();
