#include "web/Secrets.h"

#include <malloc.h>
#include <sodium.h>

#include <mutex>
#include <vector>

namespace {

// One Argon2id at a time: each takes its tens of MiB, and logins are rare.
std::mutex passwordHashMutex;

std::string Hex(const unsigned char* bytes, size_t count) {
    std::string text(count * 2 + 1, '\0');
    sodium_bin2hex(text.data(), text.size(), bytes, count);
    text.pop_back();
    return text;
}

// glibc keeps freed heap at the top of an arena; the hash's memory goes back to the system here
// so that the server's resident size stays small after a login.
void GiveMemoryBack() {
    malloc_trim(0);
}

}  // namespace

void InitSecrets() {
    if (sodium_init() < 0) {
        throw ESecretsError("libsodium cannot start");
    }
}

std::string RandomHex(size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    randombytes_buf(buffer.data(), buffer.size());
    std::string text = Hex(buffer.data(), buffer.size());
    sodium_memzero(buffer.data(), buffer.size());
    return text;
}

std::string SecretHash(std::string_view secret) {
    unsigned char digest[crypto_generichash_BYTES];
    crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(secret.data()),
                       secret.size(), nullptr, 0);
    return Hex(digest, sizeof digest);
}

bool SameSecret(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

void WipeSecret(std::string& secret) {
    sodium_memzero(secret.data(), secret.size());
    secret.clear();
}

std::string HashPassword(std::string_view password, TPasswordCost cost) {
    const bool minimal = cost == TPasswordCost::Minimal;
    const unsigned long long opsLimit =
        minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t memLimit =
        minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    char hash[crypto_pwhash_STRBYTES];
    const std::lock_guard<std::mutex> lock(passwordHashMutex);
    const int result =
        crypto_pwhash_str(hash, password.data(), password.size(), opsLimit, memLimit);
    GiveMemoryBack();
    if (result != 0) {
        throw ESecretsError("not enough memory to hash the password");
    }
    return hash;
}

bool VerifyPassword(const std::string& hash, std::string_view password) {
    if (hash.empty()) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(passwordHashMutex);
    const bool matches =
        crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
    GiveMemoryBack();
    return matches;
}
