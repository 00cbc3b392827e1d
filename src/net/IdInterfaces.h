#pragma once

#include <string>
#include <vector>

// The machine's own IPv4 addresses, one entry per address of each network interface. A small
// platform piece beside the socket stack: getifaddrs on POSIX, the IP helper library (loaded at
// run time) on Windows.

struct TIdInterfaceAddress {
    std::string name;     // the interface's name: "eth0" on Linux; on Windows the adapter's
                          // friendly name ("Ethernet") in the ANSI code page
    std::string address;  // dotted text
    std::string mask;     // dotted text
};

// In the platform's order. Raises EIdSocketError when the platform cannot list them.
std::vector<TIdInterfaceAddress> ListInterfaceAddresses();
