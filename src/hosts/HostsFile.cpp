#include "hosts/HostsFile.h"

#include <algorithm>
#include <unordered_map>

#include "base/DottedText.h"
#include "hosts/MacText.h"

// One pass over the text without regular expressions: fields are views into the text, and a
// line's fault stops that line only, so one run reports every faulty line.

namespace {

constexpr std::string_view kNameRule = "(letters, digits, '.', '-', '_')";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

bool ParseNumber(std::string_view text, size_t maxDigits, int32_t& value) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    int32_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

bool ParsePortText(std::string_view text, int32_t& port, std::string& reason) {
    int32_t value = 0;
    if (!ParseNumber(text, 5, value) || value < 1 || value > 65535) {
        reason = "bad port " + Quoted(text) + " (1..65535)";
        return false;
    }
    port = value;
    return true;
}

// Calls `item` for each piece of a ','-separated list; stops at the first false.
template <typename Item>
bool ForEachItem(std::string_view list, Item item) {
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        const size_t end = comma == std::string_view::npos ? list.size() : comma;
        if (!item(list.substr(start, end - start))) {
            return false;
        }
        if (comma == std::string_view::npos) {
            return true;
        }
        start = comma + 1;
    }
}

// The first byte that is not text: control characters other than tab. CR has been taken off
// the line end already, so one inside the line is a fault too.
bool CheckText(std::string_view line, std::string& reason) {
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            reason = std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15] + " is not text";
            return false;
        }
    }
    return true;
}

bool ParseAddressField(std::string_view field, THost& host, std::string& reason) {
    const size_t slash = field.find('/');
    const std::string_view addressText = field.substr(0, slash);
    uint32_t address = 0;
    if (!ParseDottedQuad(addressText, address)) {
        reason = "bad address " + Quoted(addressText);
        return false;
    }
    if (host.hasAddress && host.address != address) {
        reason = "address " + Quoted(addressText) + " differs from the name " + Quoted(host.name);
        return false;
    }
    if (slash != std::string_view::npos) {
        const std::string_view prefixText = field.substr(slash + 1);
        int32_t prefix = 0;
        if (!ParseNumber(prefixText, 2, prefix) || prefix > 32) {
            reason = "bad prefix " + Quoted(prefixText) + " (0..32)";
            return false;
        }
        host.prefix = prefix;
    }
    host.hasAddress = true;
    host.address = address;
    return true;
}

bool ParseDestinations(std::string_view value, THost& host, std::string& reason) {
    return ForEachItem(value, [&](std::string_view item) {
        const size_t colon = item.find(':');
        THostDestination destination;
        if (!ParseDottedQuad(item.substr(0, colon), destination.address)) {
            reason = "bad destination " + Quoted(item) + " in to= (ADDRESS[:PORT])";
            return false;
        }
        if (colon != std::string_view::npos &&
            !ParsePortText(item.substr(colon + 1), destination.port, reason)) {
            return false;
        }
        host.to.push_back(destination);
        return true;
    });
}

bool ParseGroups(std::string_view value, THost& host, std::string& reason) {
    return ForEachItem(value, [&](std::string_view item) {
        if (!IsHostNameText(item)) {
            reason = "bad group " + Quoted(item) + " " + std::string(kNameRule);
            return false;
        }
        if (std::find(host.groups.begin(), host.groups.end(), item) == host.groups.end()) {
            host.groups.emplace_back(item);
        }
        return true;
    });
}

enum TOption : unsigned {
    kTo = 1,
    kPort = 2,
    kPassword = 4,
    kCheck = 8,
    kGroup = 16,
};

TOption OptionOf(std::string_view key) {
    if (key == "to") {
        return kTo;
    }
    if (key == "port") {
        return kPort;
    }
    if (key == "pw") {
        return kPassword;
    }
    if (key == "check") {
        return kCheck;
    }
    if (key == "group") {
        return kGroup;
    }
    return TOption{0};
}

bool ParseOption(std::string_view field, unsigned& seen, THost& host, std::string& reason) {
    const size_t equals = field.find('=');
    if (equals == std::string_view::npos) {
        reason = "unexpected field " + Quoted(field) + " (options are NAME=VALUE)";
        return false;
    }
    const std::string_view key = field.substr(0, equals);
    const std::string_view value = field.substr(equals + 1);
    const TOption option = OptionOf(key);
    if (option == 0) {
        reason = "unknown option " + Quoted(key);
        return false;
    }
    if ((seen & option) != 0) {
        reason = "repeated option " + Quoted(std::string(key) + "=");
        return false;
    }
    seen |= option;
    if (value.empty()) {
        reason = "empty value in " + Quoted(std::string(key) + "=");
        return false;
    }
    switch (option) {
    case kTo:
        return ParseDestinations(value, host, reason);
    case kPort:
        return ParsePortText(value, host.port, reason);
    case kPassword:
        host.password = value;
        return true;
    case kCheck:
        return ParseCheckList(value, host.checks, reason);
    case kGroup:
        return ParseGroups(value, host, reason);
    }
    return false;
}

// NAME MAC ..., or MAC NAME-OR-ADDRESS ... (the order of /etc/ethers).
// `name` is the name field, a view into the text.
bool ParseFields(const std::vector<std::string_view>& fields, THost& host, std::string_view& name,
                 std::string& reason) {
    if (NormaliseMacAddress(fields[0], true, host.mac)) {
        if (fields.size() < 2) {
            reason = "missing name after the MAC address";
            return false;
        }
        name = fields[1];
        host.hasAddress = ParseDottedQuad(name, host.address);
    } else {
        name = fields[0];
        if (fields.size() < 2) {
            reason = "missing MAC address after the name";
            return false;
        }
        if (!NormaliseMacAddress(fields[1], true, host.mac)) {
            reason = "bad MAC address " + Quoted(fields[1]);
            return false;
        }
    }
    if (!CheckHostName(name, reason)) {
        return false;
    }
    host.name = name;
    size_t next = 2;
    if (next < fields.size() && fields[next].find('=') == std::string_view::npos) {
        if (!ParseAddressField(fields[next], host, reason)) {
            return false;
        }
        ++next;
    }
    unsigned seen = 0;
    for (; next < fields.size(); ++next) {
        if (!ParseOption(fields[next], seen, host, reason)) {
            return false;
        }
    }
    if ((seen & kCheck) == 0) {
        host.checks = DefaultChecks();
    }
    return true;
}

void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        const size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) {
            ++at;
        }
        if (at > start) {
            fields.push_back(line.substr(start, at - start));
        }
    }
}

}  // namespace

bool IsHostNameText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsNameChar);
}

bool CheckHostName(std::string_view name, std::string& reason) {
    if (!IsHostNameText(name)) {
        reason = "bad name " + Quoted(name) + " " + std::string(kNameRule);
        return false;
    }
    std::string mac;
    if (NormaliseMacAddress(name, false, mac)) {
        reason = "name " + Quoted(name) + " is a MAC address";
        return false;
    }
    if (name == "all") {
        reason = "name 'all' is taken: it selects every host";
        return false;
    }
    return true;
}

bool ParseHostsFile(std::string_view text, const std::string& path, std::vector<THost>& hosts,
                    std::vector<std::string>& errors) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    // Room for every line at once: moving hosts while the vector grows costs more than parsing.
    // (A host's line has 14 bytes at least, so a file of comments reserves little.)
    const size_t lines = std::min(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')),
                                  text.size() / 14) +
                         1;
    std::vector<THost> parsed;
    parsed.reserve(lines);
    std::unordered_map<std::string_view, int32_t> lineOfName;
    lineOfName.reserve(lines);
    std::vector<std::string_view> fields;
    const size_t errorsBefore = errors.size();
    std::string reason;
    int32_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        const size_t newline = text.find('\n', start);
        const size_t end = newline == std::string_view::npos ? text.size() : newline;
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        auto fault = [&](const std::string& why) {
            errors.push_back(path + ":" + std::to_string(lineNumber) + ": " + why);
        };
        if (line.size() > kMaxHostsLineBytes) {
            fault("line longer than " + std::to_string(kMaxHostsLineBytes) + " bytes");
            continue;
        }
        if (!CheckText(line, reason)) {
            fault(reason);
            continue;
        }
        SplitFields(line.substr(0, line.find('#')), fields);
        if (fields.empty()) {
            continue;
        }
        THost host;
        host.line = lineNumber;
        std::string_view name;  // points into `text`, which outlives the map
        if (!ParseFields(fields, host, name, reason)) {
            fault(reason);
            continue;
        }
        const auto [first, isNew] = lineOfName.emplace(name, lineNumber);
        if (!isNew) {
            fault("duplicate name " + Quoted(name) + " (first on line " +
                  std::to_string(first->second) + ")");
            continue;
        }
        parsed.push_back(std::move(host));
    }
    if (errors.size() != errorsBefore) {
        return false;
    }
    hosts = std::move(parsed);
    return true;
}
