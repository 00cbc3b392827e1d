#include "wake/WakeRequest.h"

#include "net/IdUDPClient.h"

// The two checks are hand-written matchers for the patterns
//   MAC (searched anywhere): ([0-9a-fA-F]{2}\-){5}[0-9a-fA-F]{2}
//   IP (whole text):         ^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])\.){3}
//                            (25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|0?[1-9])$
// They accept exactly the texts those patterns accept, in linear time and without a regex
// engine (a differential test compares them with one).

namespace {

constexpr size_t kMacPatternLength = 17;  // xx-xx-xx-xx-xx-xx

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when the 17 characters at `at` are six hex pairs joined by five dashes.
bool MacPatternAt(const std::string& text, size_t at) {
    for (size_t i = 0; i < kMacPatternLength; ++i) {
        const char c = text[at + i];
        if (i % 3 == 2 ? c != '-' : !IsHexDigit(c)) {
            return false;
        }
    }
    return true;
}

// One octet of 0..255 written without leading zeros: 0-9, 10-99, 100-199, 200-249, 250-255.
bool IsOctet(const char* begin, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (!IsDigit(begin[i])) {
            return false;
        }
    }
    switch (length) {
    case 1:
        return true;
    case 2:
        return begin[0] != '0';
    case 3:
        return begin[0] == '1' ||
               (begin[0] == '2' && (begin[1] < '5' || (begin[1] == '5' && begin[2] <= '5')));
    default:
        return false;
    }
}

// The last octet: 1..255 without leading zeros, or 01..09.
bool IsLastOctet(const char* begin, size_t length) {
    if (length == 2 && begin[0] == '0') {
        return begin[1] >= '1' && begin[1] <= '9';
    }
    return IsOctet(begin, length) && !(length == 1 && begin[0] == '0');
}

}  // namespace

bool CheckMacAddress(const std::string& mac) {
    for (size_t at = 0; at + kMacPatternLength <= mac.size(); ++at) {
        if (MacPatternAt(mac, at)) {
            return true;
        }
    }
    return false;
}

bool CheckIpAddress(const std::string& ip) {
    const char* pos = ip.data();
    const char* const end = pos + ip.size();
    for (int octet = 0; octet < 3; ++octet) {
        const char* dot = pos;
        while (dot != end && *dot != '.') {
            ++dot;
        }
        if (dot == end || !IsOctet(pos, static_cast<size_t>(dot - pos))) {
            return false;
        }
        pos = dot + 1;
    }
    for (const char* c = pos; c != end; ++c) {
        if (*c == '.') {
            return false;
        }
    }
    return IsLastOctet(pos, static_cast<size_t>(end - pos));
}

TAddressCheck CheckAddresses(const std::string& mac, const std::string& ip) {
    TAddressCheck check = TAddressCheck::Passed;
    if (!CheckMacAddress(mac)) {
        check = TAddressCheck::MacInvalid;
    }
    if (!CheckIpAddress(ip)) {
        check = TAddressCheck::IpInvalid;
    }
    return check;
}

void SendMagicPacket(TIdUDPClient& client, const std::string& packet, const std::string& ip,
                     int32_t port) {
    client.SetHost(ip);
    client.SetPort(port);
    client.Send(packet);
}
