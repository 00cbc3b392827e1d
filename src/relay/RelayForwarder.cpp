#include "relay/RelayForwarder.h"

#include "base/DottedText.h"
#include "base/Exception.h"
#include "wake/MagicPacket.h"

TRelayForwarder::TRelayForwarder(TIdStack& stack, TIdStackSocketHandle sendSocket,
                                 std::vector<TRelayDestination> destinations, TRelayPolicy& policy)
    : stack_(stack),
      sendSocket_(sendSocket),
      destinations_(std::move(destinations)),
      policy_(policy) {}

std::string TRelayForwarder::Handle(std::string_view data, const std::string& sender,
                                    int32_t senderPort, int64_t nowMs) {
    uint32_t source = 0;
    ParseDottedQuad(sender, source);  // the stack's own dotted text: always four octets
    const TRelayVerdict verdict =
        policy_.Judge(data, source, static_cast<uint16_t>(senderPort), nowMs);
    std::string line = FormatDatagramLine(sender, static_cast<uint16_t>(senderPort), data);
    line += " -> ";
    line += verdict == TRelayVerdict::Forward ? Send(data) : policy_.DropText(verdict);
    return line;
}

std::string TRelayForwarder::Send(std::string_view data) {
    std::string forwarded;
    std::string failures;
    for (const TRelayDestination& destination : destinations_) {
        const std::string where = destination.address + ":" + std::to_string(destination.port);
        std::string failure;
        try {
            const int32_t sent =
                stack_.SysSendTo(sendSocket_, data.data(), static_cast<int32_t>(data.size()), 0,
                                 destination.address, destination.port);
            if (sent == -1) {
                failure = OneLineMessage(stack_.ErrorText(stack_.SysGetLastError()));
            } else if (sent != static_cast<int32_t>(data.size())) {
                failure = "Not all bytes sent.";
            }
        } catch (const Exception& e) {
            failure = OneLineMessage(e.Message());
        }
        if (failure.empty()) {
            forwarded += (forwarded.empty() ? "forwarded to " : ", ") + where;
        } else {
            failures += "; send to " + where + " failed: " + failure;
        }
    }
    if (forwarded.empty()) {
        return failures.substr(2);
    }
    return forwarded + failures;
}

std::string OneLineMessage(std::string message) {
    const size_t lineBreak = message.find("\r\n");
    if (lineBreak != std::string::npos) {
        message.replace(lineBreak, 2, ": ");
    }
    while (!message.empty() && (message.back() == ' ' || message.back() == ':')) {
        message.pop_back();
    }
    return message;
}
