#include "hosts/Targets.h"

#include <unordered_map>
#include <unordered_set>

#include "base/DottedText.h"
#include "calc/IdNetworkCalculator.h"
#include "hosts/MacText.h"

// Selection keeps the order of the words and each host's first place. Destinations are
// resolved here once, so the sender and the web page see the same list.

namespace {

constexpr int32_t kDefaultWakePort = 26354;

int32_t PortOf(int32_t own, int32_t hostPort, int32_t optionPort) {
    if (own != 0) {
        return own;
    }
    if (hostPort != 0) {
        return hostPort;
    }
    return optionPort != 0 ? optionPort : kDefaultWakePort;
}

// The subnets' directed broadcasts, from the network calculator. The last answer is kept:
// hosts files list a subnet's machines together, and the calculator works through texts.
class TBroadcasts {
public:
    // A /31 (a point-to-point link, RFC 3021) has no broadcast and a /32 no subnet: both send
    // to the address itself.
    uint32_t Of(uint32_t address, int32_t prefix) {
        if (prefix >= 31) {
            return address;
        }
        const uint32_t mask = prefix == 0 ? 0 : 0xFFFFFFFFu << (32 - prefix);
        if (prefix != lastPrefix_ || (address & mask) != lastNetwork_) {
            calculator_.SetNetworkMaskLength(static_cast<uint32_t>(prefix));
            calculator_.NetworkAddress().SetAsDoubleWord(address);
            ParseDottedQuad(calculator_.BroadcastAddressText(), lastBroadcast_);
            lastPrefix_ = prefix;
            lastNetwork_ = address & mask;
        }
        return lastBroadcast_;
    }

private:
    TIdNetworkCalculator calculator_;
    int32_t lastPrefix_ = -1;
    uint32_t lastNetwork_ = 0;
    uint32_t lastBroadcast_ = 0;
};

std::vector<TWakeDestination> DestinationsOf(TBroadcasts& broadcasts,
                                             const std::vector<THostDestination>& to,
                                             bool hasAddress, uint32_t address, int32_t prefix,
                                             int32_t hostPort, int32_t optionPort) {
    std::vector<TWakeDestination> destinations;
    for (const THostDestination& destination : to) {
        destinations.push_back(
            {destination.address, PortOf(destination.port, hostPort, optionPort)});
    }
    if (to.empty() && hasAddress && prefix >= 0) {
        destinations.push_back({broadcasts.Of(address, prefix), PortOf(0, hostPort, optionPort)});
    }
    return destinations;
}

TWakeTarget HostTarget(TBroadcasts& broadcasts, const THost& host, const TTargetOptions& options) {
    TWakeTarget target;
    target.name = host.name;
    target.mac = host.mac;
    target.password = host.password;
    target.destinations = DestinationsOf(broadcasts, host.to, host.hasAddress, host.address,
                                         host.prefix, host.port, options.port);
    target.hasAddress = host.hasAddress;
    target.address = host.address;
    target.prefix = host.prefix;
    target.checks = host.checks;
    target.groups = host.groups;
    return target;
}

TWakeTarget MacTarget(TBroadcasts& broadcasts, const std::string& word, const std::string& mac,
                      const TTargetOptions& options) {
    TWakeTarget target;
    target.name = word;
    target.mac = mac;
    target.destinations = DestinationsOf(broadcasts, options.to, options.hasAddress,
                                         options.address, options.prefix, 0, options.port);
    target.hasAddress = options.hasAddress;
    target.address = options.address;
    target.prefix = options.prefix;
    target.checks = options.checksGiven ? options.checks : DefaultChecks();
    return target;
}

}  // namespace

bool SelectTargets(const std::vector<THost>& hosts, const std::string& path,
                   const std::vector<std::string>& words, const TTargetOptions& options,
                   std::vector<TWakeTarget>& targets, std::string& error) {
    std::unordered_map<std::string_view, size_t> indexOfName;
    indexOfName.reserve(hosts.size());
    for (size_t i = 0; i < hosts.size(); ++i) {
        indexOfName.emplace(hosts[i].name, i);
    }
    // The hosts in the order of their first mention, then the MAC targets among them.
    std::vector<bool> hostTaken(hosts.size(), false);
    std::unordered_set<std::string> macsTaken;
    TBroadcasts broadcasts;
    std::vector<TWakeTarget> selected;
    auto takeHost = [&](size_t index) {
        if (!hostTaken[index]) {
            hostTaken[index] = true;
            selected.push_back(HostTarget(broadcasts, hosts[index], options));
        }
    };
    for (const std::string& word : words) {
        std::string mac;
        if (word == "all") {
            for (size_t i = 0; i < hosts.size(); ++i) {
                takeHost(i);
            }
        } else if (!word.empty() && word[0] == '@') {
            const std::string_view group = std::string_view(word).substr(1);
            bool found = false;
            for (size_t i = 0; i < hosts.size(); ++i) {
                for (const std::string& name : hosts[i].groups) {
                    if (name == group) {
                        found = true;
                        takeHost(i);
                        break;
                    }
                }
            }
            if (!found) {
                error = "unknown group '" + std::string(group) + "' (not in " + path + ")";
                return false;
            }
        } else if (NormaliseMacAddress(word, false, mac)) {
            if (macsTaken.insert(mac).second) {
                selected.push_back(MacTarget(broadcasts, word, mac, options));
            }
        } else {
            const auto found = indexOfName.find(word);
            if (found == indexOfName.end()) {
                error = "unknown host '" + word + "' (not in " + path + ")";
                return false;
            }
            takeHost(found->second);
        }
    }
    targets = std::move(selected);
    return true;
}

bool RequireDestinations(const std::vector<TWakeTarget>& targets, std::string& error) {
    for (const TWakeTarget& target : targets) {
        if (target.destinations.empty()) {
            error = target.name + ": no destination: give ADDRESS/PREFIX or to=";
            return false;
        }
    }
    return true;
}
