#include "web/HostJson.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "base/DottedText.h"

namespace {

using nlohmann::json;

json HostObject(const THostView& host) {
    json object = json::object();
    object["name"] = host.name;
    object["mac"] = host.mac;
    object["address"] = host.hasAddress ? json(DottedAddressText(host.address)) : json(nullptr);
    object["groups"] = host.groups;
    object["state"] = StateText(host.state);
    object["since"] = host.sinceUnix >= 0 ? json(host.sinceUnix) : json(nullptr);
    // Tenths of a second, as corvane-wake reports them.
    object["seconds"] =
        host.seconds >= 0 ? json(std::round(host.seconds * 10) / 10) : json(nullptr);
    object["packets"] = host.packets;
    return object;
}

// Texts from the hosts file are checked text already; bytes that are not UTF-8 would still
// not stop an answer: they are replaced.
std::string Dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
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
    return Dump(HostObject(host));
}

std::string HostsJson(const std::vector<THostView>& hosts, const std::string& error) {
    json list = json::array();
    for (const THostView& host : hosts) {
        list.push_back(HostObject(host));
    }
    json object = json::object();
    object["hosts"] = std::move(list);
    object["error"] = error.empty() ? json(nullptr) : json(error);
    return Dump(object);
}

std::string ErrorJson(const std::string& text) {
    return Dump(json{{"error", text}});
}
