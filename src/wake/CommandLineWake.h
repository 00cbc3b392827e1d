#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wake/WakeRequest.h"

class TIdUDPClient;

// What the command-line decision needs from the window (or console) that runs it.
class TWakeHost {
public:
    virtual ~TWakeHost() = default;
    virtual TIdUDPClient& UdpClient() = 0;
    virtual void AddLogLine(const std::string& line) = 0;
    virtual void ShowMessage(const std::string& text) = 0;  // modal; returns when dismissed
    virtual void CloseMainWindow() = 0;                     // ends the program
};

// The decision made when the main window is first shown. `arguments` are the arguments after
// the program name. No arguments: the banner goes to the log. Two to four: one wake request,
// then the window is closed. Any other count: the usage message. Exceptions from building or
// sending propagate to the caller.
void RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host);

extern const std::string kUsageMessage;

// The wake request as the decision read it from two to four arguments; front ends without a
// window use it to report what was sent.
struct TCommandLineRequest {
    std::string mac;
    std::string ip;
    std::string password;
    int32_t port = kDefaultPort;
};

// The same decision, also handing back the request it read (left at its defaults for a count
// other than two to four).
void RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host,
                    TCommandLineRequest& request);
