#include <cstring>

#include "base/WinApi.h"
#include "net/IdException.h"
#include "net/IdSocketAddress.h"
#include "net/IdStackWindows.h"
#include "net/IdWinsock2_win.h"

namespace {

constexpr WORD kWinsockVersion = 0x0202;
constexpr size_t kMaxSetSize = 64;

bool gSocketsStarted = false;

SOCKET ToSocket(TIdStackSocketHandle socket) {
    return static_cast<SOCKET>(socket);
}

TIdStackSocketHandle FromSocket(SOCKET socket) {
    return socket == INVALID_SOCKET ? kIdInvalidSocket : static_cast<TIdStackSocketHandle>(socket);
}

// fd_set filled by hand: the FD_ISSET macro calls a library export of its own.
void FillSet(fd_set& set, const std::vector<TIdStackSocketHandle>* list) {
    set.fd_count = 0;
    if (list != nullptr) {
        for (const TIdStackSocketHandle socket : *list) {
            set.fd_array[set.fd_count++] = ToSocket(socket);
        }
    }
}

// After select a set holds only the ready sockets.
void ReadSet(const fd_set& set, std::vector<TIdStackSocketHandle>* list) {
    if (list == nullptr) {
        return;
    }
    list->clear();
    for (u_int i = 0; i < set.fd_count; ++i) {
        list->push_back(FromSocket(set.fd_array[i]));
    }
}

}  // namespace

std::unique_ptr<TIdStack> CreatePlatformStack() {
    return std::make_unique<TIdStackWindows>();
}

TIdStackWindows::TIdStackWindows() {
    if (gSocketsStarted) {
        return;
    }
    WSADATA data;
    if (Ws2Startup(kWinsockVersion, &data) != 0) {
        throw EIdStackInitializationFailed("Winsock Initialization Error.");
    }
    gSocketsStarted = true;
}

int32_t TIdStackWindows::SysBind(TIdStackSocketHandle socket, const std::string& ip, int32_t port) {
    const auto local = MakeSocketAddress<sockaddr_in>(BindAddressBytes(ip), NetworkPort(port));
    return Ws2Bind::Call(ToSocket(socket), reinterpret_cast<const sockaddr*>(&local),
                         sizeof(local));
}

int32_t TIdStackWindows::SysCloseSocket(TIdStackSocketHandle socket) {
    return Ws2CloseSocket::Call(ToSocket(socket));
}

std::string TIdStackWindows::SysGetHostByName(const std::string& name) {
    const hostent* host = Ws2GetHostByName::Call(name.c_str());
    if (host == nullptr) {
        CheckResult(-1);  // raises with the platform's number
        return {};
    }
    if (host->h_length != 4 || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
        RaiseError(kIdErrorNoData);  // a name without an IPv4 address
    }
    TIdIPv4Address bytes{};
    std::memcpy(bytes.data(), host->h_addr_list[0], bytes.size());
    return AddressToText(bytes);
}

uint16_t TIdStackWindows::SysHtons(uint16_t hostShort) {
    return Ws2Htons::Call(hostShort);
}

int32_t TIdStackWindows::SysRecvFrom(TIdStackSocketHandle socket, void* buffer, int32_t length,
                                     int32_t flags, std::string& ip, int32_t& port) {
    sockaddr_in from;
    std::memset(&from, 0, sizeof(from));
    int fromLength = sizeof(from);
    const int received = Ws2RecvFrom::Call(ToSocket(socket), static_cast<char*>(buffer), length,
                                           flags, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received != SOCKET_ERROR) {
        ip = AddressToText(SocketAddressBytes(from));
        port = Ws2Ntohs::Call(from.sin_port);
    }
    return received;
}

int32_t TIdStackWindows::SysSelect(std::vector<TIdStackSocketHandle>* read,
                                   std::vector<TIdStackSocketHandle>* write,
                                   std::vector<TIdStackSocketHandle>* except, int32_t timeoutMs) {
    CheckSetSize(read);
    CheckSetSize(write);
    CheckSetSize(except);
    static_assert(FD_SETSIZE >= kMaxSetSize, "a set must hold 64 sockets");
    fd_set readSet;
    fd_set writeSet;
    fd_set exceptSet;
    FillSet(readSet, read);
    FillSet(writeSet, write);
    FillSet(exceptSet, except);
    timeval timeout;
    timeout.tv_sec = timeoutMs / 1000;
    timeout.tv_usec = (timeoutMs % 1000) * 1000;
    const int result =
        Ws2Select::Call(0, read ? &readSet : nullptr, write ? &writeSet : nullptr,
                        except ? &exceptSet : nullptr, timeoutMs == -2 ? nullptr : &timeout);
    if (result != SOCKET_ERROR) {
        ReadSet(readSet, read);
        ReadSet(writeSet, write);
        ReadSet(exceptSet, except);
    }
    return result;
}

int32_t TIdStackWindows::SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                                   int32_t flags, const std::string& ip, int32_t port) {
    const auto destination = MakeSocketAddress<sockaddr_in>(TextToAddress(ip), NetworkPort(port));
    return Ws2SendTo::Call(ToSocket(socket), static_cast<const char*>(buffer), length, flags,
                           reinterpret_cast<const sockaddr*>(&destination), sizeof(destination));
}

int32_t TIdStackWindows::SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                                       const void* value, int32_t length) {
    return Ws2SetSockOpt::Call(ToSocket(socket), level, name, static_cast<const char*>(value),
                               length);
}

TIdStackSocketHandle TIdStackWindows::SysSocket(int32_t family, int32_t type, int32_t protocol) {
    return FromSocket(Ws2Socket::Call(family, type, protocol));
}

int32_t TIdStackWindows::SysShutdown(TIdStackSocketHandle socket, int32_t how) {
    return Ws2Shutdown::Call(ToSocket(socket), how);
}

int32_t TIdStackWindows::SysGetLastError() {
    return Ws2WSAGetLastError::Call();
}

void TIdStackWindows::SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                                     int32_t& port) {
    sockaddr_in local;
    std::memset(&local, 0, sizeof(local));
    int localLength = sizeof(local);
    CheckResult(
        Ws2GetSockName::Call(ToSocket(socket), reinterpret_cast<sockaddr*>(&local), &localLength));
    family = local.sin_family;
    ip = AddressToText(SocketAddressBytes(local));
    port = Ws2Ntohs::Call(local.sin_port);
}

int32_t TIdStackWindows::SocketOptionLevel() const {
    return SOL_SOCKET;
}

int32_t TIdStackWindows::BroadcastOptionName() const {
    return SO_BROADCAST;
}

bool SocketsStarted() {
    return gSocketsStarted;
}

void ShutdownWinsock() {
    // A second call finds the library gone; cleaning up an unloaded library does nothing useful
    // and would only raise during exit.
    if (gSocketsStarted && Ws2Loaded()) {
        Ws2WSACleanup::Call();
    }
    Ws2Unload();
}
