#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckSpec.h"

// The hosts file: one machine a line, fields separated by blanks, '#' to the end of a line is a
// comment.
//   NAME MAC [ADDRESS[/PREFIX]] [OPTION=VALUE]...      (name first)
//   MAC NAME-OR-ADDRESS [ADDRESS[/PREFIX]] [OPTION]... (the order of /etc/ethers)
// Options: to=ADDRESS[:PORT][,...] port=N pw=TEXT check=CHECK[,...] group=NAME[,...].
// A MAC is six pairs joined by '-' or ':', or, as /etc/ethers writes them, groups of one or two
// digits joined by ':'. In the order of /etc/ethers a dotted address in the name field is also
// the host's address. A name may not itself be a MAC address or the word "all" (both would be
// ambiguous as a target). Lines end in LF or CRLF; a leading UTF-8 byte order mark is skipped.

// A destination written in to=: an address, and its port or 0 when it names none.
struct THostDestination {
    uint32_t address = 0;
    int32_t port = 0;

    bool operator==(const THostDestination&) const = default;
};

struct THost {
    std::string name;
    std::string mac;  // "00-11-22-33-44-55": lower-case pairs joined by '-'
    bool hasAddress = false;
    uint32_t address = 0;              // where checks go
    int32_t prefix = -1;               // 0..32; -1 when none was given
    std::vector<THostDestination> to;  // to=, in order; empty: the directed broadcast
    int32_t port = 0;                  // port=; 0 when not given
    std::string password;              // pw=; empty when not given
    std::vector<TCheckSpec> checks;    // check=, DefaultChecks() when not given, empty for none
    std::vector<std::string> groups;   // group=, in order
    int32_t line = 0;                  // 1-based line in the file
};

// The longest line the file may hold, without its line end.
constexpr size_t kMaxHostsLineBytes = 1024;

// A NAME (and a group's name): letters, digits, '.', '-', '_'; not empty.
bool IsHostNameText(std::string_view text);

// A host's NAME: IsHostNameText, and neither a MAC address nor "all". False with `reason` set.
bool CheckHostName(std::string_view name, std::string& reason);

// Reads a whole file's text. False when the text has faults: each is one entry of `errors`,
// "PATH:LINE: reason", in line order (PATH as given). `hosts` is filled only on success.
bool ParseHostsFile(std::string_view text, const std::string& path, std::vector<THost>& hosts,
                    std::vector<std::string>& errors);
