#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

// The logged-in sessions: identifiers of 256 random bits, known to the server only by their
// hash (so a lookup compares hashes, not the secret), each ending after an idle time.
class TSessionStore {
public:
    explicit TSessionStore(int64_t idleMs);

    // A new session; returns its identifier (64 hexadecimal digits), to be sent once as a cookie.
    std::string Create(int64_t nowMs);

    // True when the identifier is a live session; its idle time starts again (touch). An expired
    // session is forgotten.
    bool Use(const std::string& id, int64_t nowMs);

    // True when the identifier is a live session; nothing changes (an open event stream asks).
    bool Alive(const std::string& id, int64_t nowMs) const;

    // Ends the session (logout); an unknown identifier is ignored.
    void End(const std::string& id);

    size_t Size() const { return lastUse_.size(); }

private:
    void ForgetExpired(int64_t nowMs);

    int64_t idleMs_;
    std::map<std::string, int64_t> lastUse_;  // hash of the identifier -> last use
};
