#include <vector>

#include "base/DottedText.h"
#include "base/WinApi.h"
#include "net/IdNeighbours.h"

// The IP helper's neighbour table, GetIpNetTable from IPHLPAPI.DLL loaded at run time like the
// interface list. Dynamic and static rows hold an address; invalid ones (incomplete, failed) and
// "other" rows do not.

namespace {

using GetIpNetTableFn = ULONG(WINAPI*)(PMIB_IPNETTABLE, PULONG, BOOL);

constexpr DWORD kDynamic = 3;  // MIB_IPNET_TYPE_DYNAMIC
constexpr DWORD kStatic = 4;   // MIB_IPNET_TYPE_STATIC

bool FindIn(const MIB_IPNETTABLE& table, uint32_t address, std::string& mac) {
    const auto octets = AddressOctets(address);
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_IPNETROW& row = table.table[i];
        const auto* rowAddress = reinterpret_cast<const uint8_t*>(&row.dwAddr);
        if (row.dwPhysAddrLen != 6 || (row.dwType != kDynamic && row.dwType != kStatic) ||
            rowAddress[0] != octets[0] || rowAddress[1] != octets[1] ||
            rowAddress[2] != octets[2] || rowAddress[3] != octets[3]) {
            continue;
        }
        uint8_t bytes[6];
        for (int b = 0; b < 6; ++b) {
            bytes[b] = row.bPhysAddr[b];
        }
        mac = NeighbourMacText(bytes);
        return true;
    }
    return false;
}

}  // namespace

bool FindNeighbourMac(uint32_t address, std::string& mac) {
    const HMODULE library = LoadLibraryA("IPHLPAPI.DLL");
    if (library == nullptr) {
        return false;
    }
    const auto getTable = reinterpret_cast<GetIpNetTableFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "GetIpNetTable")));
    bool found = false;
    if (getTable != nullptr) {
        // The table's size is known only after a first call; it may grow between two calls.
        std::vector<unsigned char> buffer(16 * 1024);
        ULONG size = static_cast<ULONG>(buffer.size());
        ULONG result = ERROR_INSUFFICIENT_BUFFER;
        for (int attempt = 0; attempt < 4 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
            buffer.resize(size);
            result = getTable(reinterpret_cast<PMIB_IPNETTABLE>(buffer.data()), &size, FALSE);
        }
        found = result == NO_ERROR &&
                FindIn(*reinterpret_cast<const MIB_IPNETTABLE*>(buffer.data()), address, mac);
    }
    FreeLibrary(library);
    return found;
}
