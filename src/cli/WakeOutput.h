#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What corvane-wake writes about each target: the lines, the JSON Lines objects, the summary
// and the exit status, as plain functions of what happened.

enum class TWakeOutcome {
    Sent,        // sent, not waited for
    SendFailed,  // every destination of its first send failed
    Up,          // a check answered (--wait or --status)
    NoAnswer,    // --wait: the timeout passed
    Down,        // --status: the timeout passed
};

struct TWakeReport {
    std::string name;
    std::string mac;
    std::vector<std::string> sentTo;  // "A:P" of each destination its first send reached
    int32_t packets = 0;
    TWakeOutcome outcome = TWakeOutcome::Sent;
    int64_t millis = -1;   // first packet (or check) to settling; -1 when not waited or checked
    std::string answered;  // the check that answered ("tcp:445"), empty when none
    std::string error;     // the first send failure, empty when none
};

// "nas: sent to 192.168.1.255:26354, 10.0.0.5:26354".
std::string SentLine(const std::string& name, const std::vector<std::string>& sentTo);

// "nas: send to 10.0.0.5:26354 failed: <error>".
std::string SendFailedLine(const std::string& name, const std::string& destination,
                           const std::string& error);

// The line of a settled target that waited or was checked: "nas: up after 12.4 s (tcp:445,
// 2 packets)", "nas: no answer after 120 s (12 packets)", "nas: up (icmp)", "nas: down".
// `timeoutMs` is the --timeout that a target without an answer waited.
std::string SettledLine(const TWakeReport& report, int64_t timeoutMs);

// The report as one JSON object (no line end): name, mac, sent_to, packets, state, seconds,
// answered, error, every key always present.
std::string JsonLine(const TWakeReport& report);

// The text as a JSON string with its quotes; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);

// "waited 45.2 s: 39 up, 1 no answer" (--wait) or "checked 3.0 s: 3 up, 1 down" (--status);
// send failures and targets sent without waiting are added when there are any.
std::string SummaryLine(bool status, int64_t elapsedMs, const std::vector<TWakeReport>& reports);

// The progress line while waiting: "12 up, 28 waiting, 12.3 s".
std::string ProgressLine(size_t up, size_t waiting, int64_t elapsedMs);

// 0 all sent (and every waited or checked target up); 1 a send failed; 4 a target did not
// answer or is down. A failed send wins over 4.
int WakeExitStatus(const std::vector<TWakeReport>& reports);

// Seconds with one decimal: "12.4"; whole seconds of the --timeout without: "120", "1.5".
std::string TenthsText(int64_t millis);
std::string TimeoutText(int64_t millis);
