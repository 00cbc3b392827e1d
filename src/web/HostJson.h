#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the page and the API show of a host, and its JSON (the API's HOST object).

enum class THostState {
    Unknown,   // not checked yet
    Up,        // a check answered
    Down,      // the last checks had no answer
    Waking,    // a wake is in progress
    NoAnswer,  // the last wake timed out
};

struct THostView {
    std::string name;
    std::string mac;
    bool hasAddress = false;
    uint32_t address = 0;
    std::vector<std::string> groups;
    THostState state = THostState::Unknown;
    int64_t sinceUnix = -1;  // when the state began, Unix seconds; -1: not known
    double seconds = -1;     // since the wake (waking), or what the wake took (up); -1: none
    int32_t packets = 0;     // magic packets of the current or last wake
};

// "up", "down", "waking", "no answer", "unknown".
const char* StateText(THostState state);

// {"name": ..., "mac": ..., "address": ... | null, "groups": [...], "state": ...,
//  "since": ... | null, "seconds": ... | null, "packets": N}
std::string HostJson(const THostView& host);

// {"hosts": [HOST, ...], "error": null | "PATH:LINE: reason"} of the hosts hostAt(0 .. count-1).
std::string HostsJson(size_t count, const std::function<const THostView&(size_t)>& hostAt,
                      const std::string& error);

// {"error": "text"}
std::string ErrorJson(const std::string& text);
