#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a machine is asked whether it is up: an ICMP echo, or a TCP connect to a port (a completed
// connection and a refusal both prove that the machine runs).

enum class TCheckKind {
    Icmp,
    Tcp,
};

struct TCheckSpec {
    TCheckKind kind = TCheckKind::Icmp;
    int32_t port = 0;  // 1..65535 for Tcp, 0 for Icmp

    bool operator==(const TCheckSpec&) const = default;
};

// icmp, tcp:22, tcp:445, tcp:3389: what a host is checked with when it names no checks.
const std::vector<TCheckSpec>& DefaultChecks();

// "icmp" or "tcp:445".
std::string CheckText(const TCheckSpec& check);

// "icmp,tcp:445" (the texts joined by ','); "none" for an empty list.
std::string CheckListText(const std::vector<TCheckSpec>& checks);

// Reads "icmp", "tcp:PORT" and "none" joined by ',' ("icmp,tcp:445"); "none" alone is the empty
// list (no checks). A repeated check is kept once. False with `error` set ("bad check 'tcp:0'")
// for anything else, including an empty item and "none" beside other checks.
bool ParseCheckList(std::string_view text, std::vector<TCheckSpec>& checks, std::string& error);
