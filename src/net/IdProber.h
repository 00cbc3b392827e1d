#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Asks many machines at once whether they are up: ICMP echo requests over one or two sockets,
// and non-blocking TCP connects, all waited for in one call. Addresses are 32-bit values, most
// significant octet first (base/DottedText.h). POSIX: an unprivileged ICMP socket where
// net.ipv4.ping_group_range allows it, else a raw socket, and epoll; Windows: the system's ICMP
// echo API (IPHLPAPI.DLL loaded at run time) and non-blocking connects.

enum class TIdProbeOutcome {
    Answered,  // an echo reply from the address, a completed connect, or a refusal (a reset)
    Failed,    // unreachable, timed out by the platform, or another error: proves nothing
};

struct TIdProbeResult {
    uint64_t token;
    TIdProbeOutcome outcome;
    int32_t error;  // for Failed: the Windows Sockets number (10065 host unreachable, ...)
};

class TIdProber {
public:
    virtual ~TIdProber() = default;

    // True when this process can send ICMP echo requests; false with a one-line reason otherwise.
    virtual bool IcmpAvailable(std::string& reason) = 0;

    // Sends one echo request; a reply from that address is reported once with the token, until
    // the token is cancelled. A later echo to the same address with another token is separate.
    // An echo that cannot go out (no ICMP here, no route) is reported Failed instead; on Windows
    // an echo unanswered after the system's echo timeout (4 s) is reported Failed too.
    virtual void SendEcho(uint64_t token, uint32_t address) = 0;

    // Starts a connect to address:port; its outcome is reported once with the token. False when
    // no socket can be opened now (out of descriptors): nothing was started, try again later.
    virtual bool StartConnect(uint64_t token, uint32_t address, uint16_t port) = 0;

    // Ends an echo or a connect still in flight (closing its socket); nothing is reported for it
    // afterwards. An unknown or finished token is ignored.
    virtual void Cancel(uint64_t token) = 0;

    // Waits at most timeoutMs (0: only what is there) and appends the outcomes that came.
    virtual void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) = 0;
};

// The platform's prober. Raises EIdSocketError when its sockets cannot be made at all.
std::unique_ptr<TIdProber> CreateProber();
