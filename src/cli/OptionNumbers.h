#pragma once

#include <cstdint>
#include <string>

// The number readers of the console programs' options.

// Plain decimal digits within 1..maximum.
bool ParsePositive(const std::string& text, int64_t maximum, int64_t& value);

// Seconds as digits with an optional fraction ("5", "0.25"); kept in whole milliseconds, which
// must come to more than 0.
bool ParseSeconds(const std::string& text, int64_t& millis);
