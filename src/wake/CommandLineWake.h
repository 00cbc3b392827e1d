#pragma once

#include <string>
#include <vector>

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
