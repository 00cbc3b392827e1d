#pragma once

#include <string>
#include <vector>

#include "wake/CommandLineWake.h"
#include "wake/WakeFlow.h"

// The decisions of the main window, apart from the window: the show handler's command line,
// "Power on" and the help file's path. TForm1 (Unit1_win.cpp) gathers the field texts and
// carries out what these functions ask of it.

// What the main window's logic needs from the window, beyond what a wake needs.
class TMainWindowHost : public TWakeHost {
public:
    virtual std::string MacText() = 0;       // LabeledEdit1
    virtual std::string IpText() = 0;        // LabeledEdit2
    virtual std::string PasswordText() = 0;  // EdPassWd
    virtual std::string PortText() = 0;      // LabeledEdit3
    virtual void ClearLog() = 0;             // Memo1
    virtual void CloseMainWindow() = 0;      // ends the program
};

// FormShow: the command-line decision on the process's arguments (after the program name);
// after a sent wake the main window is closed, which ends the program. In every other case the
// window stays interactive. Exceptions from building and sending propagate.
void StartFromCommandLine(TMainWindowHost& host, const std::vector<std::string>& arguments);

// "Power on": clear the log, check both addresses, build the packet, read the port (an unreadable
// port text falls back to the default with a message; no range check), send, then log what was
// sent. Exceptions from building and sending propagate: nothing is logged then.
void PowerOn(TMainWindowHost& host);

// The message shown when the port field does not hold an integer.
std::string PortFieldMessage(const std::string& portText);

// The help start page next to the executable: everything up to and including the last '\' or
// ':' of `exePath`, then "help/index.html".
std::string HelpFilePath(const std::string& exePath);
