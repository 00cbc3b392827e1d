#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/IdInterfaces.h"

// Where accepted packets go: an address and port given with --to, or an interface named with
// --interface whose directed broadcast is looked up at start.
struct TRelayTarget {
    std::string interfaceName;  // empty for --to
    uint32_t address = 0;       // --to's address
    int32_t port = 9;
};

// A destination with its address looked up: "10.0.2.255" and 9.
struct TRelayDestination {
    std::string address;
    int32_t port;
};

// --to targets as given; an --interface target becomes the directed broadcast of that
// interface's first IPv4 address and mask, computed by the network calculator. False with
// `error` set for a name that no interface has, or one without an IPv4 address.
bool ResolveTargets(const std::vector<TRelayTarget>& targets,
                    const std::vector<TIdInterfaceAddress>& interfaces,
                    std::vector<TRelayDestination>& destinations, std::string& error);

// "10.0.2.255:9, 10.0.3.255:9"
std::string DestinationsText(const std::vector<TRelayDestination>& destinations);
