#pragma once

#include <cstdint>
#include <string>

// Text to integer, the one conversion used for ports, MAC pairs and address pieces.
//
// Accepted: leading blanks (code 32 only), then exactly one of: a sign and decimal digits;
// a hexadecimal prefix ($, x, X, 0x, 0X) and hex digits; plain decimal digits. Nothing may
// follow. Decimal values must fit the signed range; hexadecimal values must fit the width and
// are read as two's complement ($FFFFFFFF is -1).

// Throws EConvertError "'<text>' ist kein gültiger Integerwert".
int32_t StrToInt(const std::string& text);

// The same rules without an exception; value is written only on success.
bool TryStrToInt(const std::string& text, int32_t& value);

// The 64-bit form used for a single-number address; a bare x or X prefix is not accepted
// there ($, 0x and 0X are).
bool TryStrToInt64(const std::string& text, int64_t& value);

// The message of the conversion error for a text.
std::string ConvertErrorMessage(const std::string& text);

// The value 0..15 of a hexadecimal digit of either case; -1 for any other character.
int HexDigitValue(char c);
