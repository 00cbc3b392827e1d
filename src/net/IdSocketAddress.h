#pragma once

#include <cstdint>
#include <cstring>

#include "net/IdStack.h"

// The IPv4 socket address of the POSIX and the Windows stack. Both platforms' sockaddr_in hold
// the same members (sin_family, sin_port, sin_addr) in types of their own, so the conversion is
// written once over the platform's type, which each stack names from its own headers.

// Family IPv4, the port as given (already in network order), the four address bytes, and every
// other byte zero.
template <typename TSockAddrIn>
TSockAddrIn MakeSocketAddress(const TIdIPv4Address& address, uint16_t networkPort) {
    TSockAddrIn result;
    static_assert(sizeof(result.sin_addr) == sizeof(TIdIPv4Address));
    std::memset(&result, 0, sizeof(result));
    result.sin_family = static_cast<decltype(result.sin_family)>(kIdAfInet);
    result.sin_port = networkPort;
    std::memcpy(&result.sin_addr, address.data(), address.size());
    return result;
}

// The four address bytes of a socket address, first octet first.
template <typename TSockAddrIn>
TIdIPv4Address SocketAddressBytes(const TSockAddrIn& address) {
    TIdIPv4Address bytes{};
    std::memcpy(bytes.data(), &address.sin_addr, bytes.size());
    return bytes;
}
