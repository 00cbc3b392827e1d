#include "relay/RelayTargets.h"

#include "base/DottedText.h"
#include "base/Exception.h"
#include "calc/IdNetworkCalculator.h"

namespace {

// The directed broadcast of an address and its mask; a mask that is not a run of leading
// ones (which no interface should have) is an error like a missing address.
bool DirectedBroadcast(const TIdInterfaceAddress& entry, std::string& broadcast,
                       std::string& error) {
    try {
        TIdNetworkCalculator calculator;
        calculator.NetworkAddress().SetAsString(entry.address);
        calculator.NetworkMask().SetAsString(entry.mask);
        broadcast = calculator.BroadcastAddressText();
        return true;
    } catch (const Exception& e) {
        error = "interface '" + entry.name + "': " + e.Message();
        return false;
    }
}

bool InterfaceBroadcast(const std::string& name, const std::vector<TIdInterfaceAddress>& interfaces,
                        std::string& broadcast, std::string& error) {
    for (const TIdInterfaceAddress& entry : interfaces) {
        if (entry.name == name) {
            return DirectedBroadcast(entry, broadcast, error);
        }
    }
    // getifaddrs lists interfaces without IPv4 too, but only their IPv4 entries reach here.
    error = "no interface '" + name + "' with an IPv4 address";
    return false;
}

}  // namespace

bool ResolveTargets(const std::vector<TRelayTarget>& targets,
                    const std::vector<TIdInterfaceAddress>& interfaces,
                    std::vector<TRelayDestination>& destinations, std::string& error) {
    std::vector<TRelayDestination> resolved;
    for (const TRelayTarget& target : targets) {
        std::string address = DottedAddressText(target.address);
        if (!target.interfaceName.empty() &&
            !InterfaceBroadcast(target.interfaceName, interfaces, address, error)) {
            return false;
        }
        resolved.push_back({address, target.port});
    }
    destinations = std::move(resolved);
    return true;
}

std::string DestinationsText(const std::vector<TRelayDestination>& destinations) {
    std::string text;
    for (const TRelayDestination& destination : destinations) {
        if (!text.empty()) {
            text += ", ";
        }
        text += destination.address + ":" + std::to_string(destination.port);
    }
    return text;
}
