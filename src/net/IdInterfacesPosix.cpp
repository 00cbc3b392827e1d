#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "base/DottedText.h"
#include "net/IdErrorText.h"
#include "net/IdException.h"
#include "net/IdInterfaces.h"
#include "net/IdStackPosix.h"

namespace {

std::string AddressText(const sockaddr* address) {
    in_addr bytes;
    std::memcpy(&bytes, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, sizeof(bytes));
    return DottedAddressText(ntohl(bytes.s_addr));
}

}  // namespace

std::vector<TIdInterfaceAddress> ListInterfaceAddresses() {
    ifaddrs* first = nullptr;
    if (::getifaddrs(&first) != 0) {
        const int32_t code = TIdStackPosix::MapErrno(errno);
        throw EIdSocketError(SocketErrorMessage(code), code);
    }
    std::vector<TIdInterfaceAddress> found;
    for (const ifaddrs* entry = first; entry != nullptr; entry = entry->ifa_next) {
        // Interfaces without an address (or with an IPv6 one only) have no IPv4 entry.
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            entry->ifa_netmask == nullptr) {
            continue;
        }
        found.push_back(
            {entry->ifa_name, AddressText(entry->ifa_addr), AddressText(entry->ifa_netmask)});
    }
    ::freeifaddrs(first);
    return found;
}
