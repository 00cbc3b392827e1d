#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The magic packet: built from a MAC text and a password, and read back from a received
// datagram (by the monitor).

// Six 0xFF bytes, the six address bytes sixteen times, then the password's bytes. Throws
// EConvertError for a pair that is not two hexadecimal digits.
std::string BuildMagicPacket(const std::string& mac, const std::string& password);

struct TMagicPacket {
    std::string address;   // six bytes
    std::string password;  // the bytes after the 102, possibly empty
};

// True when the data starts with six 0xFF bytes followed by one six-byte address repeated
// sixteen times; fills `packet` then.
bool DecodeMagicPacket(std::string_view data, TMagicPacket& packet);

// "magic packet for 00-11-22-33-44-55" (lower-case hex), with ", password N bytes: 61 62 63"
// when bytes follow the 102; otherwise "not a magic packet".
std::string DescribeDatagram(std::string_view data);

// One monitor line: "from 127.0.0.1:40000, 102 bytes: " and the description.
std::string FormatDatagramLine(const std::string& senderAddress, uint16_t senderPort,
                               std::string_view data);
