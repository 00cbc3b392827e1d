#pragma once

#include <string>
#include <vector>

#include "calc/IdNetworkCalculator.h"

// The four memo lines the broadcast calculator window shows for the calculator's current
// address and mask: class, network, number of hosts (addresses minus network and broadcast:
// -1 for a /32, 0 for a /31, 4294967294 for mask 0.0.0.0) and the private/public verdict.
std::vector<std::string> CalculatorResultLines(const TIdNetworkCalculator& calculator);
