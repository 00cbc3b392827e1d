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

namespace {

static_assert(AF_INET == kIdAfInet && SOCK_DGRAM == kIdSockDgram && SHUT_WR == kIdShutdownSend,
              "the portable socket numbers must be the platform's");

struct ErrnoRow {
    int error;
    int32_t wsaError;
};

// errno values differ between POSIX systems; the Windows Sockets numbers follow BSD's.
const ErrnoRow kErrnoRows[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},
    {EPERM, 10013},  // a firewall refusing a send: the same meaning to the user
    {EFAULT, 10014},       {EINVAL, 10022},          {EMFILE, 10024},
    {ENFILE, 10024},       {EWOULDBLOCK, 10035},     {EAGAIN, 10035},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},  {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {ENOBUFS, 10055},         {ENOMEM, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {ELOOP, 10062},        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
};

sockaddr_in MakeAddress(const TIdIPv4Address& address, uint16_t networkPort) {
    sockaddr_in result;
    std::memset(&result, 0, sizeof(result));
    result.sin_family = AF_INET;
    result.sin_port = networkPort;
    std::memcpy(&result.sin_addr, address.data(), address.size());
    return result;
}

TIdIPv4Address AddressBytes(const in_addr& address) {
    TIdIPv4Address bytes{};
    std::memcpy(bytes.data(), &address, bytes.size());
    return bytes;
}

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
    const TIdIPv4Address address = ip.empty() ? TIdIPv4Address{} : TextToAddress(ip);
    const sockaddr_in local = MakeAddress(address, SysHtons(static_cast<uint16_t>(port)));
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
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const TIdIPv4Address bytes = AddressBytes(address->sin_addr);
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
    ip = AddressToText(AddressBytes(from.sin_addr));
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
    const sockaddr_in destination =
        MakeAddress(TextToAddress(ip), SysHtons(static_cast<uint16_t>(port)));
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

std::string TIdStackPosix::ErrorText(int32_t code) const {
    if (code == kIdErrorHostNotFound) {
        return FormatErrorText(code, "Host not found.");
    }
    return TIdStack::ErrorText(code);
}

void TIdStackPosix::SysGetSockName(TIdStackSocketHandle socket, int32_t& family, std::string& ip,
                                   int32_t& port) {
    sockaddr_in local;
    std::memset(&local, 0, sizeof(local));
    socklen_t localLength = sizeof(local);
    CheckResult(Track(::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &localLength)));
    family = local.sin_family;
    ip = AddressToText(AddressBytes(local.sin_addr));
    port = ntohs(local.sin_port);
}

int32_t TIdStackPosix::SocketOptionLevel() const {
    return SOL_SOCKET;
}

int32_t TIdStackPosix::BroadcastOptionName() const {
    return SO_BROADCAST;
}
