#include "cli/ReceiveLoop.h"

#include <algorithm>
#include <chrono>
#include <vector>

// The console programs' loop runs on the program's own socket stack, so the one loop serves
// every platform: the stack maps the platform's errors to the same numbers and texts everywhere.

namespace {

// Larger than any IPv4 UDP payload (65507 bytes).
constexpr int32_t kReceiveBuffer = 65536;

// Errors that end one wait or receive but not the loop: a signal that interrupted the call,
// and an ICMP-reported failure of an earlier send (Windows reports it to the next receive).
constexpr int32_t kRetryErrors[] = {kIdErrorInterrupted, kIdErrorConnectionReset};

// The stack's wait without a limit, and the longest wait it is given before a deadline.
constexpr int32_t kWaitWithoutLimit = -2;
constexpr int32_t kLongestDeadlineWait = 1 << 30;

}  // namespace

EReceiveEnd ReceiveDatagrams(TIdStack& stack, TIdStackSocketHandle socket,
                             const TReceiveLimits& limits, const TDatagramLine& lineFor,
                             std::FILE* out) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.timeoutMillis);
    std::string buffer(kReceiveBuffer, '\0');
    int64_t received = 0;
    while (limits.count == 0 || received < limits.count) {
        if (limits.stopRequested && limits.stopRequested()) {
            return EReceiveEnd::Stopped;
        }
        int32_t waitMillis = limits.longestWaitMillis.value_or(kWaitWithoutLimit);
        if (limits.timeoutMillis > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return EReceiveEnd::TimedOut;
            }
            // One millisecond more, so a wait that ends early by rounding still reaches the end.
            waitMillis = static_cast<int32_t>(std::min<int64_t>(
                left.count() + 1, limits.longestWaitMillis.value_or(kLongestDeadlineWait)));
        }
        std::vector<TIdStackSocketHandle> ready{socket};
        if (stack.CheckResult(stack.SysSelect(&ready, nullptr, nullptr, waitMillis),
                              kRetryErrors) ||
            ready.empty()) {
            continue;  // interrupted or no datagram yet: the deadline check decides
        }
        std::string sender;
        int32_t senderPort = 0;
        const int32_t length =
            stack.SysRecvFrom(socket, buffer.data(), kReceiveBuffer, 0, sender, senderPort);
        if (stack.CheckResult(length, kRetryErrors)) {
            continue;
        }
        const std::string line = lineFor(
            std::string_view(buffer.data(), static_cast<size_t>(length)), sender, senderPort);
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fflush(out);
        ++received;
    }
    return EReceiveEnd::CountReached;
}
