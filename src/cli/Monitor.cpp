#include "cli/Monitor.h"

#include <memory>
#include <string>

#include "base/Exception.h"
#include "cli/DatagramSocket.h"
#include "cli/ReceiveLoop.h"
#include "net/IdStack.h"
#include "wake/MagicPacket.h"

namespace {

// A stack message on one line: "Socket Error # 10048: Address already in use.".
std::string OneLine(std::string message) {
    const size_t lineBreak = message.find("\r\n");
    if (lineBreak != std::string::npos) {
        message.replace(lineBreak, 2, ": ");
    }
    return message;
}

// Waits and receives until the count is reached or the time is up.
int Listen(TIdStack& stack, TIdStackSocketHandle socket, const TMonitorOptions& options,
           std::FILE* out) {
    const TReceiveLimits limits{options.count, options.timeoutMillis, std::nullopt, nullptr};
    const auto lineFor = [](std::string_view data, const std::string& sender, int32_t senderPort) {
        return FormatDatagramLine(sender, static_cast<uint16_t>(senderPort), data);
    };
    const EReceiveEnd end = ReceiveDatagrams(stack, socket, limits, lineFor, out);
    return end == EReceiveEnd::TimedOut ? kMonitorTimedOut : kMonitorCountReached;
}

}  // namespace

int RunMonitor(const TMonitorOptions& options, std::FILE* out, std::FILE* err) {
    std::string doing = "cannot start the socket library";
    try {
        const std::unique_ptr<TIdStack> stack = CreateDefaultStack();
        doing = "cannot listen on 0.0.0.0:" + std::to_string(options.port);
        TDatagramSocket socket(*stack);
        stack->CheckResult(stack->SysBind(socket.Handle(), "", options.port));
        std::fprintf(err, "corvane-monitor: listening on 0.0.0.0:%d\n", options.port);
        std::fflush(err);
        doing = "receiving failed";
        return Listen(*stack, socket.Handle(), options, out);
    } catch (const Exception& e) {
        std::fprintf(err, "corvane-monitor: %s: %s\n", doing.c_str(), OneLine(e.Message()).c_str());
        return kMonitorSocketError;
    }
}
