#include "check/CheckSpec.h"

#include <algorithm>

namespace {

bool ParsePort(std::string_view text, int32_t& port) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return false;
    }
    port = value;
    return true;
}

bool ParseCheck(std::string_view text, TCheckSpec& check) {
    if (text == "icmp") {
        check = {TCheckKind::Icmp, 0};
        return true;
    }
    constexpr std::string_view kTcp = "tcp:";
    if (text.substr(0, kTcp.size()) == kTcp) {
        check.kind = TCheckKind::Tcp;
        return ParsePort(text.substr(kTcp.size()), check.port);
    }
    return false;
}

}  // namespace

const std::vector<TCheckSpec>& DefaultChecks() {
    static const std::vector<TCheckSpec> checks = {{TCheckKind::Icmp, 0},
                                                   {TCheckKind::Tcp, 22},
                                                   {TCheckKind::Tcp, 445},
                                                   {TCheckKind::Tcp, 3389}};
    return checks;
}

std::string CheckText(const TCheckSpec& check) {
    return check.kind == TCheckKind::Icmp ? "icmp" : "tcp:" + std::to_string(check.port);
}

std::string CheckListText(const std::vector<TCheckSpec>& checks) {
    if (checks.empty()) {
        return "none";
    }
    std::string text;
    for (const TCheckSpec& check : checks) {
        if (!text.empty()) {
            text += ',';
        }
        text += CheckText(check);
    }
    return text;
}

bool ParseCheckList(std::string_view text, std::vector<TCheckSpec>& checks, std::string& error) {
    if (text == "none") {
        checks.clear();
        return true;
    }
    std::vector<TCheckSpec> parsed;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view item = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        TCheckSpec check;
        if (!ParseCheck(item, check)) {
            error = "bad check '" + std::string(item) + "' (icmp, tcp:PORT or none)";
            return false;
        }
        if (std::find(parsed.begin(), parsed.end(), check) == parsed.end()) {
            parsed.push_back(check);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    checks = std::move(parsed);
    return true;
}
