#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "wake/CommandLineWake.h"

// The command-line decision's host for a terminal: log lines go to standard output, messages
// to standard error, one line each.
class TConsoleHost : public TWakeHost {
public:
    TConsoleHost(std::FILE* out, std::FILE* err);
    ~TConsoleHost() override;

    TIdUDPClient& UdpClient() override;
    void AddLogLine(const std::string& line) override;
    void ShowMessage(const std::string& text) override;

private:
    std::FILE* out_;
    std::FILE* err_;
    // Created on first use, so a run that sends nothing never starts the socket stack.
    std::unique_ptr<TIdUDPClient> client_;
};

// Exit statuses of the command line.
constexpr int kExitSent = 0;
constexpr int kExitNotSent = 1;
constexpr int kExitUsage = 2;

// The whole command-line wake for a terminal: runs the decision on the arguments (after the
// program name) and prints what happened: after a send the lines the main window logs, after
// the banner the usage (there is no window to fall back to). Returns the exit status.
int RunConsoleWake(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);
