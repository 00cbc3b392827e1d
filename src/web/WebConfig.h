#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Exception.h"

// corvane-web's configuration file: the password's hash and the API tokens' hashes, one
// setting a line; '#' starts a comment line.
//   password $argon2id$v=19$m=65536,t=2,p=1$...
//   token NAME HASH          (HASH: 64 hexadecimal digits, the token's BLAKE2b-256)
// No secret itself is ever stored.

struct TWebToken {
    std::string name;  // letters, digits, '.', '-', '_'; at most 64
    std::string hash;  // 64 lower-case hexadecimal digits
};

struct TWebConfig {
    std::string passwordHash;  // empty: no password set
    std::vector<TWebToken> tokens;

    bool HasCredentials() const { return !passwordHash.empty() || !tokens.empty(); }
};

// A configuration file that cannot be written: the message names the file and the reason.
class EWebConfigError : public Exception {
public:
    using Exception::Exception;
};

// A token name: 1..64 letters, digits, '.', '-', '_'.
bool IsTokenName(std::string_view name);

// Reads the file's text. False with `error` "PATH:LINE: reason" at the first fault.
bool ParseWebConfig(std::string_view text, const std::string& path, TWebConfig& config,
                    std::string& error);

// The file's text for a configuration: what ParseWebConfig reads back.
std::string FormatWebConfig(const TWebConfig& config);

// Reads the file; a missing file is an empty configuration. False with `error` set when the
// file cannot be read or does not parse.
bool ReadWebConfigFile(const std::string& path, TWebConfig& config, std::string& error);

// Replaces the file atomically (a temporary file in the same folder, renamed over it), mode
// 0600, owned like the file it replaces or, for a new file, like its folder (so a service user
// that owns its folder can still read a file written by root). Raises EWebConfigError.
void WriteWebConfigFile(const std::string& path, const TWebConfig& config);
