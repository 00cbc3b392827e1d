#include "web/HostJson.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/DottedText.h"

namespace {

using nlohmann::json;

// One JSON string. Texts from the hosts file are checked text already; bytes that are not UTF-8
// would still not stop an answer: they are replaced.
void AppendString(std::string& out, const std::string& text) {
    out += json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

// The objects are written directly, without a tree of values: GET /api/hosts and every page's
// first event carry a thousand of them, and a tree would cost far more memory than the text.
void AppendHost(std::string& out, const THostView& host) {
    out += "{\"name\":";
    AppendString(out, host.name);
    out += ",\"mac\":";
    AppendString(out, host.mac);
    out += ",\"address\":";
    out += host.hasAddress ? "\"" + DottedAddressText(host.address) + "\"" : "null";
    out += ",\"groups\":[";
    for (size_t i = 0; i < host.groups.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendString(out, host.groups[i]);
    }
    out += "],\"state\":\"";
    out += StateText(host.state);
    out += "\",\"since\":";
    out += host.sinceUnix >= 0 ? std::to_string(host.sinceUnix) : "null";
    out += ",\"seconds\":";
    if (host.seconds >= 0) {
        // Tenths of a second, as corvane-wake reports them.
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", std::round(host.seconds * 10) / 10);
        out += text;
    } else {
        out += "null";
    }
    out += ",\"packets\":" + std::to_string(host.packets) + "}";
}

}  // namespace

const char* StateText(THostState state) {
    switch (state) {
    case THostState::Up:
        return "up";
    case THostState::Down:
        return "down";
    case THostState::Waking:
        return "waking";
    case THostState::NoAnswer:
        return "no answer";
    case THostState::Unknown:
        break;
    }
    return "unknown";
}

std::string HostJson(const THostView& host) {
    std::string out;
    AppendHost(out, host);
    return out;
}

std::string HostsJson(size_t count, const std::function<const THostView&(size_t)>& hostAt,
                      const std::string& error) {
    std::string out = "{\"hosts\":[";
    out.reserve(count * 200);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendHost(out, hostAt(i));
    }
    out += "],\"error\":";
    if (error.empty()) {
        out += "null";
    } else {
        AppendString(out, error);
    }
    return out + "}";
}

std::string ErrorJson(const std::string& text) {
    std::string out = "{\"error\":";
    AppendString(out, text);
    return out + "}";
}
