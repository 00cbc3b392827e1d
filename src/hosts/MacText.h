#pragma once

#include <string>
#include <string_view>

// MAC address texts as the hosts file and the command line write them.

// Six groups of hexadecimal digits joined by one separator, '-' or ':', either case. Groups are
// pairs; with `shortGroups` a group joined by ':' may also be one digit, as /etc/ethers writes
// them (8:0:20:1:a:b). Fills `mac` with lower-case pairs joined by '-' ("08-00-20-01-0a-0b").
bool NormaliseMacAddress(std::string_view text, bool shortGroups, std::string& mac);
