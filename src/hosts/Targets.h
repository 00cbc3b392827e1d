#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/CheckSpec.h"
#include "hosts/HostsFile.h"

// Turns the TARGET words of a command line into the machines to wake: host names, @GROUP,
// all, and MAC addresses (xx-xx-xx-xx-xx-xx or xx:xx:xx:xx:xx:xx, either case).

struct TWakeDestination {
    uint32_t address = 0;
    int32_t port = 0;

    bool operator==(const TWakeDestination&) const = default;
};

struct TWakeTarget {
    std::string name;      // the host's name; for a MAC target the MAC as given
    std::string mac;       // "00-11-22-33-44-55", lower case: what BuildMagicPacket takes
    std::string password;  // the bytes appended to the packet
    std::vector<TWakeDestination> destinations;  // empty when none can be found
    bool hasAddress = false;
    uint32_t address = 0;  // where checks go
    int32_t prefix = -1;
    std::vector<TCheckSpec> checks;
    std::vector<std::string> groups;
};

// What the command line says for MAC targets (--to, --address, --check) and for every
// destination without a port (--port).
struct TTargetOptions {
    std::vector<THostDestination> to;  // --to, in order
    bool hasAddress = false;           // --address ADDRESS[/PREFIX]
    uint32_t address = 0;
    int32_t prefix = -1;
    bool checksGiven = false;  // --check
    std::vector<TCheckSpec> checks;
    int32_t port = 0;  // --port; 0 when not given
};

// The targets in the order given, each once (its first place kept). A destination's port is
// its own, else the host's port=, else --port, else 26354. A host's destinations are its to=
// list, else the directed broadcast of ADDRESS/PREFIX (the network calculator's), else none.
// False with `error` set for an unknown name or group; the error names the hosts file `path`.
bool SelectTargets(const std::vector<THost>& hosts, const std::string& path,
                   const std::vector<std::string>& words, const TTargetOptions& options,
                   std::vector<TWakeTarget>& targets, std::string& error);

// The first target without a destination as "nas: no destination: give ADDRESS/PREFIX or to=";
// true when every target has one.
bool RequireDestinations(const std::vector<TWakeTarget>& targets, std::string& error);
