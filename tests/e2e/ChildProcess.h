#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A program of the build started with pipes on its standard output and error (tests only).
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads standard error until it holds `text` or the program closes it; the wait is a guard
    // against a hang only. Returns whether the text appeared.
    bool WaitForErrorText(const std::string& text, int timeoutMs = 10000);

    // Reads both streams to their end and waits for the exit. Returns the exit status, or
    // 128 + the signal number.
    int Finish();

    const std::string& Out() const { return out_; }
    const std::string& Err() const { return err_; }

private:
    // Moves what is ready on the pipes into out_ and err_; false once both are closed.
    bool Pump(int timeoutMs);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
};

struct ProgramResult {
    int status;
    std::string out;
    std::string err;
};

// Runs the program to its end.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// The path of an executable of this build.
std::string BuildProgram(const std::string& name);
