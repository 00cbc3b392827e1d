#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Exception.h"

// The secrets of corvane-web: random identifiers, their hashes, and password hashes, all from
// libsodium. Texts are lower-case hexadecimal.

// libsodium could not start (no random source).
class ESecretsError : public Exception {
public:
    using Exception::Exception;
};

// How costly a password hash is. Interactive: libsodium's interactive limits (64 MiB), what the
// program uses; Minimal: the smallest the library allows, for the tests only.
enum class TPasswordCost {
    Interactive,
    Minimal,
};

// Starts libsodium once; raises ESecretsError when it cannot.
void InitSecrets();

// `bytes` random bytes as 2 * bytes hexadecimal digits.
std::string RandomHex(size_t bytes);

// BLAKE2b-256 of the secret's bytes, 64 hexadecimal digits: what is stored for a token.
std::string SecretHash(std::string_view secret);

// Compares two texts in constant time for their length (different lengths: false at once).
bool SameSecret(std::string_view a, std::string_view b);

// Overwrites a secret's bytes before its memory is freed.
void WipeSecret(std::string& secret);

// The Argon2id hash text ("$argon2id$...") of a password. Raises ESecretsError when out of
// memory. The hash's working memory is given back to the system before it returns.
std::string HashPassword(std::string_view password, TPasswordCost cost);

// True when the password matches the hash (with the hash's own cost); its working memory is
// given back to the system before it returns.
bool VerifyPassword(const std::string& hash, std::string_view password);
