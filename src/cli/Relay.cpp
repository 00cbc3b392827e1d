#include "cli/Relay.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "base/DottedText.h"
#include "base/Exception.h"
#include "cli/RelayForwarder.h"
#include "cli/StopRequest.h"
#include "net/IdInterfaces.h"
#include "net/IdStack.h"

// The loop over the program's own socket stack, as the monitor's: every decision is made by
// TRelayForwarder and TRelayPolicy; this file only waits, receives and prints.

namespace {

using Clock = std::chrono::steady_clock;

// Larger than any IPv4 UDP payload (65507 bytes).
constexpr int32_t kReceiveBuffer = 65536;

// Errors that end one wait or receive but not the relay: a signal that interrupted the call,
// and an ICMP-reported failure of an earlier send (Windows reports it to the next receive).
constexpr int32_t kRetryErrors[] = {kIdErrorInterrupted, kIdErrorConnectionReset};

// The longest single wait, so that Ctrl-C is seen soon even when the signal arrives just
// before a wait begins.
constexpr int32_t kLongestWaitMs = 250;

// A failure before the relay runs: the reason, already on one line.
class ESetupError : public Exception {
public:
    using Exception::Exception;
};

// Owns a socket for the run and closes it on every way out.
class TSocket {
public:
    explicit TSocket(TIdStack& stack)
        : stack_(stack), socket_(stack.CreateSocket(kIdSockDgram, 0)) {}
    ~TSocket() { stack_.SysCloseSocket(socket_); }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;

    TIdStackSocketHandle Handle() const { return socket_; }

private:
    TIdStack& stack_;
    TIdStackSocketHandle socket_;
};

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

// The machine's own addresses, for recognising the relay's own broadcasts when they come back.
std::vector<uint32_t> OwnAddresses(const std::vector<TIdInterfaceAddress>& interfaces) {
    std::vector<uint32_t> addresses;
    for (const TIdInterfaceAddress& entry : interfaces) {
        uint32_t address = 0;
        if (ParseDottedQuad(entry.address, address)) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

bool NeedsInterfaces(const TRelayOptions& options) {
    return std::any_of(options.targets.begin(), options.targets.end(),
                       [](const TRelayTarget& target) { return !target.interfaceName.empty(); });
}

// Waits and receives until the count is reached, the time is up or a stop is requested.
int Listen(TIdStack& stack, TIdStackSocketHandle socket, TRelayForwarder& forwarder,
           const TRelayOptions& options, std::FILE* out) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMillis);
    std::string buffer(kReceiveBuffer, '\0');
    int64_t received = 0;
    while (options.count == 0 || received < options.count) {
        if (StopRequested()) {
            return kRelayCountReached;
        }
        int32_t waitMillis = kLongestWaitMs;
        if (options.timeoutMillis > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return kRelayTimedOut;
            }
            // One millisecond more, so a wait that ends early by rounding still reaches the end.
            waitMillis = static_cast<int32_t>(std::min<int64_t>(left.count() + 1, waitMillis));
        }
        std::vector<TIdStackSocketHandle> ready{socket};
        if (stack.CheckResult(stack.SysSelect(&ready, nullptr, nullptr, waitMillis),
                              kRetryErrors) ||
            ready.empty()) {
            continue;
        }
        std::string sender;
        int32_t senderPort = 0;
        const int32_t length =
            stack.SysRecvFrom(socket, buffer.data(), kReceiveBuffer, 0, sender, senderPort);
        if (stack.CheckResult(length, kRetryErrors)) {
            continue;
        }
        const std::string line =
            forwarder.Handle(std::string_view(buffer.data(), static_cast<size_t>(length)), sender,
                             senderPort, NowMs());
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fflush(out);
        ++received;
    }
    return kRelayCountReached;
}

int Run(const TRelayOptions& options, std::FILE* out, std::FILE* err, std::string& doing) {
    const std::unique_ptr<TIdStack> stack = CreateDefaultStack();

    std::vector<TIdInterfaceAddress> interfaces;
    doing = "cannot list the network interfaces";
    try {
        interfaces = ListInterfaceAddresses();
    } catch (const Exception&) {
        if (NeedsInterfaces(options)) {
            throw;
        }
        // Only the loopback addresses are then known as the relay's own.
    }
    std::vector<TRelayDestination> destinations;
    std::string error;
    if (!ResolveTargets(options.targets, interfaces, destinations, error)) {
        throw ESetupError(error);
    }

    const std::string listen =
        DottedAddressText(options.listen) + ":" + std::to_string(options.port);
    doing = "cannot listen on " + listen;
    TSocket listening(*stack);
    stack->CheckResult(
        stack->SysBind(listening.Handle(), DottedAddressText(options.listen), options.port));

    // A socket of its own for sending, on a port the system picks: the relay's own broadcasts
    // that come back to the listening port are known by that port.
    doing = "cannot open the sending socket";
    TSocket sending(*stack);
    const int32_t broadcast = -1;
    stack->CheckResult(stack->SysSetSockOpt(sending.Handle(), stack->SocketOptionLevel(),
                                            stack->BroadcastOptionName(), &broadcast,
                                            sizeof(broadcast)));
    stack->CheckResult(stack->SysBind(sending.Handle(), "", 0));
    int32_t family = 0;
    std::string sendAddress;
    int32_t sendPort = 0;
    stack->SysGetSockName(sending.Handle(), family, sendAddress, sendPort);

    TRelayPolicy policy(TAllowList(options.allow), options.windowMillis, options.rate);
    policy.SetOwnSender(OwnAddresses(interfaces), static_cast<uint16_t>(sendPort));
    TRelayForwarder forwarder(*stack, sending.Handle(), destinations, policy);

    std::fprintf(err, "corvane-relay: listening on %s, forwarding to %s\n", listen.c_str(),
                 DestinationsText(destinations).c_str());
    std::fflush(err);
    doing = "receiving failed";
    return Listen(*stack, listening.Handle(), forwarder, options, out);
}

}  // namespace

int RunRelay(const TRelayOptions& options, std::FILE* out, std::FILE* err) {
    InstallStopHandler();
    std::string doing = "cannot start the socket library";
    try {
        return Run(options, out, err, doing);
    } catch (const ESetupError& e) {
        std::fprintf(err, "corvane-relay: %s\n", e.Message().c_str());
    } catch (const Exception& e) {
        std::fprintf(err, "corvane-relay: %s: %s\n", doing.c_str(),
                     OneLineMessage(e.Message()).c_str());
    }
    return kRelaySetupError;
}
