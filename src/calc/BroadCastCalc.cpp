#include "calc/BroadCastCalc.h"

#include <cstdint>

std::vector<std::string> CalculatorResultLines(const TIdNetworkCalculator& calculator) {
    const int64_t hosts = static_cast<int64_t>(calculator.AddressCount()) - 2;
    return {
        "Network-Class: " + calculator.AddressClassText(),
        "Network: " + calculator.NetworkAddressText(),
        "# of Hosts: " + std::to_string(hosts),
        calculator.IsPrivateNetwork() ? "private network" : "public network",
    };
}
