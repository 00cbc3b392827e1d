#pragma once

#include <cstdint>
#include <string>

// The link-layer (MAC) address of an IPv4 neighbour, read from the system's neighbour table:
// the kernel's table on Linux, the IP helper's on Windows (IPHLPAPI.DLL loaded at run time).
// Only entries that hold an address count (complete, reachable or stale), never incomplete or
// failed ones. Addresses are 32-bit values, most significant octet first.

// True with `mac` set ("00-1b-21-aa-bb-01": lower-case pairs joined by '-') when the table holds
// the address; false when it does not or the table cannot be read.
bool FindNeighbourMac(uint32_t address, std::string& mac);

// The text of a link-layer address of six bytes, as above.
std::string NeighbourMacText(const uint8_t (&bytes)[6]);
