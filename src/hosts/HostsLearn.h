#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Appending a learned machine to the hosts file without touching what it holds: the old bytes
// stay as they are (comments, blank lines, line ends), the new line goes after them, and the
// file is replaced atomically, so it is byte for byte the old one on any failure.

enum class TLearnStatus {
    Appended,
    FileInvalid,  // the file does not parse: `errors` has its faults
    LineRefused,  // the new line does not fit: the name is taken or not a NAME (`errors`)
    NotWritten,   // the file could not be read or replaced (`errors` has one reason)
};

// "nas 00-11-22-33-44-55 192.168.1.10/24": the MAC in lower-case pairs joined by '-' (any form
// the hosts file reads is normalised), "/PREFIX" left out when `prefix` is negative.
std::string LearnedHostLine(const std::string& name, const std::string& mac, uint32_t address,
                            int32_t prefix);

// Appends LearnedHostLine(...) to the file at `path`, creating the file and its folder when
// missing; a line end is added first when the old text lacks a final one. `line` is the
// appended line (without its line end). Error texts name `path`, like the parser's.
TLearnStatus LearnHost(const std::string& path, const std::string& name, const std::string& mac,
                       uint32_t address, int32_t prefix, std::string& line,
                       std::vector<std::string>& errors);
