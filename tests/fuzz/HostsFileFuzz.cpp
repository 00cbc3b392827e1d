// The hosts file's parser on any bytes: it never crashes, a refusal names a line, and whatever
// it accepts reads back the same when written out again in the name-first order.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/DottedText.h"
#include "hosts/HostsFile.h"

namespace {

std::string LineOf(const THost& host) {
    std::string line = host.name + " " + host.mac;
    if (host.hasAddress) {
        line += " " + DottedAddressText(host.address);
        if (host.prefix >= 0) {
            line += "/" + std::to_string(host.prefix);
        }
    }
    std::string to;
    for (const THostDestination& destination : host.to) {
        to += (to.empty() ? "" : ",") + DottedAddressText(destination.address);
        if (destination.port != 0) {
            to += ":" + std::to_string(destination.port);
        }
    }
    if (!to.empty()) {
        line += " to=" + to;
    }
    if (host.port != 0) {
        line += " port=" + std::to_string(host.port);
    }
    if (!host.password.empty()) {
        line += " pw=" + host.password;
    }
    line += " check=" + CheckListText(host.checks);
    std::string groups;
    for (const std::string& group : host.groups) {
        groups += (groups.empty() ? "" : ",") + group;
    }
    if (!groups.empty()) {
        line += " group=" + groups;
    }
    return line;
}

bool SameHost(const THost& a, const THost& b) {
    return a.name == b.name && a.mac == b.mac && a.hasAddress == b.hasAddress &&
           a.address == b.address && a.prefix == b.prefix && a.to == b.to && a.port == b.port &&
           a.password == b.password && a.checks == b.checks && a.groups == b.groups;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    if (!ParseHostsFile(text, "fuzz", hosts, errors)) {
        if (errors.empty() || !hosts.empty()) {
            std::abort();
        }
        for (const std::string& error : errors) {
            if (error.rfind("fuzz:", 0) != 0) {
                std::abort();
            }
        }
        return 0;
    }
    std::string written;
    for (const THost& host : hosts) {
        if (host.mac.size() != 17 || !IsHostNameText(host.name)) {
            std::abort();
        }
        written += LineOf(host) + "\n";
    }
    std::vector<THost> again;
    if (!ParseHostsFile(written, "fuzz", again, errors) || again.size() != hosts.size()) {
        std::abort();
    }
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (!SameHost(hosts[i], again[i])) {
            std::abort();
        }
    }
    return 0;
}
