#pragma once

#include <cstdint>
#include <string>

// The options that the monitor and the relay both take, read with the same messages. Each
// returns false for a bad value, with `error` saying what is wrong.

// --port: 1..65535.
bool ReadPortOption(const std::string& value, int32_t& port, std::string& error);
// --count: a positive number of datagrams.
bool ReadCountOption(const std::string& value, int64_t& count, std::string& error);
// --timeout: a positive number of seconds, kept in milliseconds.
bool ReadTimeoutOption(const std::string& value, int64_t& millis, std::string& error);
// --resend (corvane-wake) and corvane-web's --resend: 0 (never) or more than 2 seconds, since
// relays drop a repeat of the same packet within 2 s.
bool ReadResendOption(const std::string& value, int64_t& millis, std::string& error);
