#include "net/IdStackPosix.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/IdException.h"
#include "net/IdSocketAddress.h"

namespace {

static_assert(AF_INET == kIdAfInet && SOCK_DGRAM == kIdSockDgram && SHUT_WR == kIdShutdownSend,
              "the portable socket numbers must be the platform's");

struct ErrnoRow {
    int error;
    TIdErrorCode wsaError;
};

// errno values differ between POSIX systems; the Windows Sockets numbers follow BSD's.
const ErrnoRow kErrnoRows[] = {
    {EINTR, kIdErrorInterrupted},
    {EBADF, kIdErrorBadFile},
    {EACCES, kIdErrorAccessDenied},
    {EPERM, kIdErrorAccessDenied},  // a firewall refusing a send: the same meaning to the user
    {EFAULT, kIdErrorBadAddress},
    {EINVAL, kIdErrorInvalidArgument},
    {EMFILE, kIdErrorTooManyOpenFiles},
    {ENFILE, kIdErrorTooManyOpenFiles},
    {EWOULDBLOCK, kIdErrorWouldBlock},
    {EAGAIN, kIdErrorWouldBlock},
    {EINPROGRESS, kIdErrorInProgress},
    {EALREADY, kIdErrorAlreadyInProgress},
    {ENOTSOCK, kIdErrorNotSocket},
    {EDESTADDRREQ, kIdErrorDestinationRequired},
    {EMSGSIZE, kIdErrorMessageTooLong},
    {EPROTOTYPE, kIdErrorWrongProtocolType},
    {ENOPROTOOPT, kIdErrorBadProtocolOption},
    {EPROTONOSUPPORT, kIdErrorProtocolNotSupported},
    {ESOCKTNOSUPPORT, kIdErrorSocketTypeNotSupported},
    {EOPNOTSUPP, kIdErrorOperationNotSupported},
    {EPFNOSUPPORT, kIdErrorProtocolFamilyNotSupported},
    {EAFNOSUPPORT, kIdErrorAddressFamilyNotSupported},
    {EADDRINUSE, kIdErrorAddressInUse},
    {EADDRNOTAVAIL, kIdErrorAddressNotAvailable},
    {ENETDOWN, kIdErrorNetworkDown},
    {ENETUNREACH, kIdErrorNetworkUnreachable},
    {ENETRESET, kIdErrorNetworkReset},
    {ECONNABORTED, kIdErrorConnectionAborted},
    {ECONNRESET, kIdErrorConnectionReset},
    {ENOBUFS, kIdErrorNoBufferSpace},
    {ENOMEM, kIdErrorNoBufferSpace},
    {EISCONN, kIdErrorAlreadyConnected},
    {ENOTCONN, kIdErrorNotConnected},
    {ESHUTDOWN, kIdErrorShutDown},
    {ETOOMANYREFS, kIdErrorTooManyReferences},
    {ETIMEDOUT, kIdErrorTimedOut},
    {ECONNREFUSED, kIdErrorConnectionRefused},
    {ELOOP, kIdErrorTooManyLinks},
    {ENAMETOOLONG, kIdErrorNameTooLong},
    {EHOSTDOWN, kIdErrorHostDown},
    {EHOSTUNREACH, kIdErrorHostUnreachable},
    {ENOTEMPTY, kIdErrorNotEmpty},
};

}  // namespace

std::unique_ptr<TIdStack> CreatePlatformStack() {
    return std::make_unique<TIdStackPosix>();
}

int32_t TIdStackPosix::MapErrno(int error) {
    for (const ErrnoRow& row : kErrnoRows) {
        if (row.error == error) {
            return row.wsaError;
        }
    }
    // Unknown numbers stay visible in the message rather than being disguised as another error.
    return error;
}

int32_t TIdStackPosix::MapLookupError(int error, int systemErrno) {
    switch (error) {
    case EAI_NONAME:
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:  // the name has no IPv4 address
#endif
        return kIdErrorHostNotFound;
    case EAI_AGAIN:
        return kIdErrorTryAgain;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return kIdErrorNoData;
#endif
    case EAI_SYSTEM:
        return MapErrno(systemErrno);
    default:
        return kIdErrorNoRecovery;
    }
}

int32_t TIdStackPosix::Track(int32_t result) {
    if (result == -1) {
        lastError_ = MapErrno(errno);
    }
    return result;
}

int32_t TIdStackPosix::SysBind(TIdStackSocketHandle socket, const std::string& ip, int32_t port) {
    const auto local = MakeSocketAddress<sockaddr_in>(BindAddressBytes(ip), NetworkPort(port));
    return Track(::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof(local)));
}

int32_t TIdStackPosix::SysCloseSocket(TIdStackSocketHandle socket) {
    return Track(::close(socket));
}

std::string TIdStackPosix::SysGetHostByName(const std::string& name) {
    addrinfo hints;
    std::memset(&hints, 0, sizeof(hints));
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    // c_str() ends the name at its first zero byte, as the platform's lookup would.
    const int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (result != 0 || found == nullptr) {
        lastError_ = result != 0 ? MapLookupError(result, errno) : kIdErrorNoData;
        CheckResult(-1);  // raises: nothing is tolerated
        return {};
    }
    const TIdIPv4Address bytes =
        SocketAddressBytes(*reinterpret_cast<const sockaddr_in*>(found->ai_addr));
    ::freeaddrinfo(found);
    return AddressToText(bytes);
}

uint16_t TIdStackPosix::SysHtons(uint16_t hostShort) {
    return htons(hostShort);
}

int32_t TIdStackPosix::SysRecvFrom(TIdStackSocketHandle socket, void* buffer, int32_t length,
                                   int32_t flags, std::string& ip, int32_t& port) {
    if (length < 0) {
        lastError_ = MapErrno(EINVAL);
        return -1;
    }
    sockaddr_in from;
    std::memset(&from, 0, sizeof(from));
    socklen_t fromLength = sizeof(from);
    const ssize_t received = ::recvfrom(socket, buffer, static_cast<size_t>(length), flags,
                                        reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received < 0) {
        return Track(-1);
    }
    ip = AddressToText(SocketAddressBytes(from));
    port = ntohs(from.sin_port);
    return static_cast<int32_t>(received);
}

int32_t TIdStackPosix::SysSelect(std::vector<TIdStackSocketHandle>* read,
                                 std::vector<TIdStackSocketHandle>* write,
                                 std::vector<TIdStackSocketHandle>* except, int32_t timeoutMs) {
    CheckSetSize(read);
    CheckSetSize(write);
    CheckSetSize(except);
    // poll instead of select: descriptors above FD_SETSIZE must not overflow a set.
    std::vector<pollfd> polled;
    std::vector<TIdStackSocketHandle>* lists[] = {read, write, except};
    const short events[] = {POLLIN, POLLOUT, POLLPRI};
    for (int i = 0; i < 3; ++i) {
        if (lists[i] != nullptr) {
            for (const TIdStackSocketHandle socket : *lists[i]) {
                polled.push_back(pollfd{socket, events[i], 0});
            }
        }
    }
    const int result =
        Track(::poll(polled.data(), polled.size(), timeoutMs == -2 ? -1 : timeoutMs));
    if (result < 0) {
        return result;
    }
    size_t next = 0;
    for (int i = 0; i < 3; ++i) {
        if (lists[i] == nullptr) {
            continue;
        }
        std::vector<TIdStackSocketHandle> ready;
        for (size_t j = 0; j < lists[i]->size(); ++j, ++next) {
            if ((polled[next].revents & (events[i] | POLLERR | POLLHUP)) != 0) {
                ready.push_back(polled[next].fd);
            }
        }
        *lists[i] = std::move(ready);
    }
    return result;
}

int32_t TIdStackPosix::SysSendTo(TIdStackSocketHandle socket, const void* buffer, int32_t length,
                                 int32_t flags, const std::string& ip, int32_t port) {
    const auto destination = MakeSocketAddress<sockaddr_in>(TextToAddress(ip), NetworkPort(port));
    if (length < 0) {
        lastError_ = MapErrno(EINVAL);
        return -1;
    }
    const ssize_t sent =
        ::sendto(socket, buffer, static_cast<size_t>(length), flags,
                 reinterpret_cast<const sockaddr*>(&destination), sizeof(destination));
    return sent < 0 ? Track(-1) : static_cast<int32_t>(sent);
}

int32_t TIdStackPosix::SysSetSockOpt(TIdStackSocketHandle socket, int32_t level, int32_t name,
                                     const void* value, int32_t length) {
    return Track(::setsockopt(socket, level, name, value, static_cast<socklen_t>(length)));
}

TIdStackSocketHandle TIdStackPosix::SysSocket(int32_t family, int32_t type, int32_t protocol) {
    return Track(::socket(family, type, protocol));
}

int32_t TIdStackPosix::SysShutdown(TIdStackSocketHandle socket, int32_t how) {
    return Track(::shutdown(socket, how));
}

void TIdStackPosix::SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                                   int32_t& port) {
    sockaddr_in local;
    std::memset(&local, 0, sizeof(local));
    socklen_t localLength = sizeof(local);
    CheckResult(Track(::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &localLength)));
    family = local.sin_family;
    ip = AddressToText(SocketAddressBytes(local));
    port = ntohs(local.sin_port);
}

int32_t TIdStackPosix::SocketOptionLevel() const {
    return SOL_SOCKET;
}

int32_t TIdStackPosix::BroadcastOptionName() const {
    return SO_BROADCAST;
}
