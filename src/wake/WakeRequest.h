#pragma once

#include <cstdint>
#include <string>

#include "wake/MagicPacket.h"

class TIdUDPClient;

// One wake request: check the two address texts, build the magic packet, send it as one
// datagram. The checks never throw; building throws EConvertError for a pair that is not two
// hexadecimal digits; sending passes the UDP client's exceptions through.

constexpr int32_t kDefaultPort = 26354;

// True when six hex pairs joined by five '-' appear anywhere in the text.
bool CheckMacAddress(const std::string& mac);

// True when the whole text is a dotted-decimal address: three octets 0..255 without leading
// zeros, then a last octet 1..255 without leading zeros or 01..09.
bool CheckIpAddress(const std::string& ip);

// Sets the client's Host and Port and sends the packet as one datagram.
void SendMagicPacket(TIdUDPClient& client, const std::string& packet, const std::string& ip,
                     int32_t port);
