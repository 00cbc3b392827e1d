#pragma once

#include <string>
#include <vector>

#include "wake/WakeFlow.h"
#include "wake/WakeRequest.h"

// What the command-line decision did.
enum class TCommandLineOutcome {
    Banner,       // no arguments: the banner went to the log; the tool stays interactive
    Usage,        // any count but zero and two to four: the usage message was shown
    CheckFailed,  // an address check failed and its message was shown; nothing was sent
    Sent,         // the packet was sent: the front end ends the program
};

struct TCommandLineResult {
    TCommandLineOutcome outcome;
    // The request read from two to four arguments; at its defaults for the other counts.
    TWakeRequest request;
};

// The decision made when the main window is first shown. `arguments` are the arguments after
// the program name. No arguments: the banner goes to the log. Two to four: one wake request.
// Any other count: the usage message. Exceptions from building or sending propagate to the
// caller; nothing has been sent then.
TCommandLineResult RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host);

extern const std::string kUsageMessage;
