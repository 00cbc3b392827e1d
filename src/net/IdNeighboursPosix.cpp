#include <cstdio>

#include "base/DottedText.h"
#include "net/IdNeighbours.h"

// Linux lists the IPv4 neighbour table in /proc/net/arp, one entry a line after a heading:
//   IP address       HW type     Flags       HW address            Mask     Device
//   10.214.0.1       0x1         0x2         00:1b:21:aa:bb:01     *        veth0
// The flag 0x2 (complete) is set for reachable, stale, delayed and permanent entries and clear
// for incomplete and failed ones.

namespace {

constexpr unsigned kComplete = 0x2;

}  // namespace

bool FindNeighbourMac(uint32_t address, std::string& mac) {
    std::FILE* table = std::fopen("/proc/net/arp", "re");
    if (table == nullptr) {
        return false;
    }
    const std::string wanted = DottedAddressText(address);
    bool found = false;
    char line[256];
    std::fgets(line, sizeof(line), table);  // the heading
    while (!found && std::fgets(line, sizeof(line), table) != nullptr) {
        char ip[64];
        unsigned type = 0;
        unsigned flags = 0;
        unsigned octets[6];
        if (std::sscanf(line, "%63s %x %x %x:%x:%x:%x:%x:%x", ip, &type, &flags, &octets[0],
                        &octets[1], &octets[2], &octets[3], &octets[4], &octets[5]) != 9 ||
            wanted != ip || (flags & kComplete) == 0) {
            continue;
        }
        uint8_t bytes[6];
        unsigned any = 0;
        for (int i = 0; i < 6; ++i) {
            bytes[i] = static_cast<uint8_t>(octets[i]);
            any |= octets[i];
        }
        if (any != 0) {
            mac = NeighbourMacText(bytes);
            found = true;
        }
    }
    std::fclose(table);
    return found;
}
