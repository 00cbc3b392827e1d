#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// IPv4 dotted text, shared by the socket stack, the network calculator and the IP address edit.

// The four pieces of a dotted text: the text before the first ".", then the same from the rest
// twice; the fourth piece is whatever follows the third ".", further dots included. With no "."
// left a piece is the whole rest and the later pieces are empty.
std::array<std::string, 4> DottedAddressPieces(const std::string& text);

// The dotted text "%d.%d.%d.%d" of a 32-bit value, most significant octet first.
std::string DottedAddressText(uint32_t value);

// The four octets of a 32-bit value, most significant first, and back.
std::array<uint8_t, 4> AddressOctets(uint32_t address);
uint32_t OctetsAddress(const std::array<uint8_t, 4>& octets);

// Strictly four decimal octets 0..255 of one to three digits each ("10.0.2.255"); no signs,
// blanks, hexadecimal or short forms. Fills `value` (most significant octet first) when true.
bool ParseDottedQuad(std::string_view text, uint32_t& value);
