#include <sys/resource.h>

#include <algorithm>
#include <fstream>

#include "check/CheckRunner.h"

// Each connect in flight holds one descriptor. The soft limit is raised to the hard one where
// the process may, and a margin stays free for the program's own files and sockets.
//
// Each machine of a directly connected subnet also needs an entry in the kernel's neighbour
// table, which refuses new entries beyond net.ipv4.neigh.default.gc_thresh3 (1024 by default)
// when none can be collected: the connect's first packet is then lost and the machine seems
// down. Finished checks' entries can be collected, so keeping the connects in flight below that
// size keeps the table from overflowing. Where the setting is not visible (inside a network
// namespace) only the descriptors count.

namespace {

constexpr rlim_t kMargin = 64;
constexpr rlim_t kMost = 4096;

// Three quarters of the neighbour table's hard size, or kMost when it cannot be read.
rlim_t NeighbourBound() {
    std::ifstream setting("/proc/sys/net/ipv4/neigh/default/gc_thresh3");
    long entries = 0;
    if (!(setting >> entries) || entries <= 0) {
        return kMost;
    }
    return std::max<rlim_t>(static_cast<rlim_t>(entries) / 4 * 3, 1);
}

}  // namespace

size_t ConnectBudget() {
    const rlim_t most = std::min(kMost, NeighbourBound());
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 256;
    }
    const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? kMost + kMargin : limit.rlim_max;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        rlimit raised = limit;
        raised.rlim_cur = wanted;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
            limit = raised;
        }
    }
    if (limit.rlim_cur == RLIM_INFINITY) {
        return static_cast<size_t>(most);
    }
    if (limit.rlim_cur <= 2 * kMargin) {
        // A very small limit: half of it, so the program's own files still open.
        return static_cast<size_t>(std::min(limit.rlim_cur > 8 ? limit.rlim_cur / 2 : 1, most));
    }
    return static_cast<size_t>(std::min(limit.rlim_cur - kMargin, most));
}
