#pragma once

#include <cstdint>
#include <string>

#include "wake/MagicPacket.h"

class TIdUDPClient;

// One wake request: check the two address texts, build the magic packet, send it as one
// datagram. The checks never throw; building throws EConvertError for a pair that is not two
// hexadecimal digits; sending passes the UDP client's exceptions through.

constexpr int32_t kDefaultPort = 26354;

// One wake request as a front end reads it.
struct TWakeRequest {
    std::string mac;
    std::string ip;
    std::string password;  // may be empty
    int32_t port = kDefaultPort;
};

// What the two address checks found.
enum class TAddressCheck {
    Passed,
    MacInvalid,
    IpInvalid,
};

// Both checks; the IP check's result is taken after the MAC check's, so with both texts bad the
// result is IpInvalid.
TAddressCheck CheckAddresses(const std::string& mac, const std::string& ip);

// True when six hex pairs joined by five '-' appear anywhere in the text.
bool CheckMacAddress(const std::string& mac);

// True when the whole text is a dotted-decimal address: three octets 0..255 without leading
// zeros, then a last octet 1..255 without leading zeros or 01..09.
bool CheckIpAddress(const std::string& ip);

// Sets the client's Host and Port and sends the packet as one datagram.
void SendMagicPacket(TIdUDPClient& client, const std::string& packet, const std::string& ip,
                     int32_t port);
