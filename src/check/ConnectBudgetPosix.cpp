#include <sys/resource.h>

#include <algorithm>

#include "check/CheckRunner.h"

// Each connect in flight holds one descriptor. The soft limit is raised to the hard one where
// the process may, and a margin stays free for the program's own files and sockets.

namespace {

constexpr rlim_t kMargin = 64;
constexpr rlim_t kMost = 4096;

}  // namespace

size_t ConnectBudget() {
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
        return kMost;
    }
    if (limit.rlim_cur <= 2 * kMargin) {
        return static_cast<size_t>(limit.rlim_cur > 8 ? limit.rlim_cur / 2 : 1);
    }
    return static_cast<size_t>(std::min(limit.rlim_cur - kMargin, kMost));
}
