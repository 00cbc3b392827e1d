#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "wake/WakeRequest.h"

class TIdUDPClient;

// The steps of one wake that the main window's "Power on" and the command line share; the two
// differ only in where the texts and the port come from and in what follows a send.

// What a wake needs from the window (or console) that runs it.
class TWakeHost {
public:
    virtual ~TWakeHost() = default;
    virtual TIdUDPClient& UdpClient() = 0;
    virtual void AddLogLine(const std::string& line) = 0;
    virtual void ShowMessage(const std::string& text) = 0;  // modal; returns when dismissed
};

// One wake once its texts are read. A failed address check shows "Invalid MAC-Address" or
// "Invalid IP-Address" and returns false: nothing is built or sent. Otherwise the packet is
// built from the MAC text and the password, `readPort` (when given) sets request.port, and the
// packet goes to the IP text on that port through the host's client; returns true. The main
// window reads its port field through `readPort`, so a MAC text that cannot be built ends the
// wake before the port field's message could appear. Building and sending throw as
// BuildMagicPacket and SendMagicPacket do.
bool CheckBuildAndSend(TWakeHost& host, TWakeRequest& request,
                       const std::function<int32_t()>& readPort = {});

// What a sent wake logs, one line each: "MagicPaket sent to:", "Device: " with the MAC text,
// "BCast Domain: " with the IP text, and "Sent with WOL Password" when a password went with the
// packet. The password itself is never logged.
void LogSentWake(TWakeHost& host, const TWakeRequest& request);
