#include "cli/Monitor.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "net/IdStack.h"
#include "wake/MagicPacket.h"

// The monitor's loop runs on the program's own socket stack, so the one loop serves every
// platform: the stack maps the platform's errors to the same numbers and texts everywhere.

namespace {

// Larger than any IPv4 UDP payload (65507 bytes).
constexpr int32_t kReceiveBuffer = 65536;

// Errors that end one wait or receive but not the monitor: a signal that interrupted the call,
// and an ICMP-reported failure of an earlier send (Windows reports it to the next receive).
constexpr int32_t kRetryErrors[] = {kIdErrorInterrupted, kIdErrorConnectionReset};

// A stack message on one line: "Socket Error # 10048: Address already in use.".
std::string OneLine(std::string message) {
    const size_t lineBreak = message.find("\r\n");
    if (lineBreak != std::string::npos) {
        message.replace(lineBreak, 2, ": ");
    }
    return message;
}

// Owns the socket for the run and closes it on every way out.
class TListeningSocket {
public:
    TListeningSocket(TIdStack& stack, int32_t port)
        : stack_(stack), socket_(stack.CreateSocket(kIdSockDgram, 0)) {
        try {
            stack_.CheckResult(stack_.SysBind(socket_, "", port));
        } catch (...) {
            stack_.SysCloseSocket(socket_);
            throw;
        }
    }
    ~TListeningSocket() { stack_.SysCloseSocket(socket_); }
    TListeningSocket(const TListeningSocket&) = delete;
    TListeningSocket& operator=(const TListeningSocket&) = delete;

    TIdStackSocketHandle Handle() const { return socket_; }

private:
    TIdStack& stack_;
    TIdStackSocketHandle socket_;
};

// Waits and receives until the count is reached or the time is up.
int Listen(TIdStack& stack, TIdStackSocketHandle socket, const TMonitorOptions& options,
           std::FILE* out) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMillis);
    std::string buffer(kReceiveBuffer, '\0');
    int64_t received = 0;
    while (options.count == 0 || received < options.count) {
        int32_t waitMillis = -2;  // no limit
        if (options.timeoutMillis > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return kMonitorTimedOut;
            }
            // One millisecond more, so a wait that ends early by rounding still reaches the end.
            waitMillis = static_cast<int32_t>(std::min<int64_t>(left.count() + 1, 1 << 30));
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
        const std::string line =
            FormatDatagramLine(sender, static_cast<uint16_t>(senderPort),
                               std::string_view(buffer.data(), static_cast<size_t>(length)));
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fflush(out);
        ++received;
    }
    return kMonitorCountReached;
}

}  // namespace

int RunMonitor(const TMonitorOptions& options, std::FILE* out, std::FILE* err) {
    std::string doing = "cannot start the socket library";
    try {
        const std::unique_ptr<TIdStack> stack = CreateDefaultStack();
        doing = "cannot listen on 0.0.0.0:" + std::to_string(options.port);
        TListeningSocket socket(*stack, options.port);
        std::fprintf(err, "corvane-monitor: listening on 0.0.0.0:%d\n", options.port);
        std::fflush(err);
        doing = "receiving failed";
        return Listen(*stack, socket.Handle(), options, out);
    } catch (const Exception& e) {
        std::fprintf(err, "corvane-monitor: %s: %s\n", doing.c_str(), OneLine(e.Message()).c_str());
        return kMonitorSocketError;
    }
}
