#include "cli/Relay.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "base/DottedText.h"
#include "base/Exception.h"
#include "cli/DatagramSocket.h"
#include "cli/ReceiveLoop.h"
#include "cli/StopRequest.h"
#include "net/IdInterfaces.h"
#include "net/IdStack.h"
#include "relay/RelayForwarder.h"

// Every decision is made by TRelayForwarder and TRelayPolicy; this file only sets the sockets
// up and runs the receive loop over them.

namespace {

using Clock = std::chrono::steady_clock;

// The longest single wait, so that Ctrl-C is seen soon even when the signal arrives just
// before a wait begins.
constexpr int32_t kLongestWaitMs = 250;

// A failure before the relay runs: the reason, already on one line.
class ESetupError : public Exception {
public:
    using Exception::Exception;
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
    const TReceiveLimits limits{options.count, options.timeoutMillis, kLongestWaitMs,
                                StopRequested};
    const auto lineFor = [&forwarder](std::string_view data, const std::string& sender,
                                      int32_t senderPort) {
        return forwarder.Handle(data, sender, senderPort, NowMs());
    };
    const EReceiveEnd end = ReceiveDatagrams(stack, socket, limits, lineFor, out);
    return end == EReceiveEnd::TimedOut ? kRelayTimedOut : kRelayCountReached;
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
    TDatagramSocket listening(*stack);
    stack->CheckResult(
        stack->SysBind(listening.Handle(), DottedAddressText(options.listen), options.port));

    // A socket of its own for sending, on a port the system picks: the relay's own broadcasts
    // that come back to the listening port are known by that port.
    doing = "cannot open the sending socket";
    TDatagramSocket sending(*stack);
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
