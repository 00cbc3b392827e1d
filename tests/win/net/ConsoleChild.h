#pragma once

#include <string>

#include "base/WinApi.h"

// A console program of the build (corvane-monitor.exe, corvane-relay.exe) started with pipes on
// its standard output and error, as the Windows tests of those programs run them.

inline std::string ProgramPath(const std::string& exeName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1) + exeName;
}

// A pipe whose write end the child inherits as one of its standard handles.
class TPipe {
public:
    TPipe() {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        CreatePipe(&read_, &write_, &inherit, 0);
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    }
    ~TPipe() {
        CloseWrite();
        CloseHandle(read_);
    }
    TPipe(const TPipe&) = delete;
    TPipe& operator=(const TPipe&) = delete;

    HANDLE Write() const { return write_; }
    // Once the child holds its copy: the pipe then ends when the child ends.
    void CloseWrite() {
        if (write_ != nullptr) {
            CloseHandle(write_);
            write_ = nullptr;
        }
    }
    // Reads until `text` has arrived or the pipe ended; returns everything read, without the
    // carriage returns of the text-mode run-time.
    std::string ReadUntil(const std::string& text) {
        char buffer[512];
        DWORD got = 0;
        while (received_.find(text) == std::string::npos &&
               ReadFile(read_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            for (DWORD i = 0; i < got; ++i) {
                if (buffer[i] != '\r') {
                    received_ += buffer[i];
                }
            }
        }
        return received_;
    }
    std::string ReadAll() { return ReadUntil(std::string(1, '\0')); }

private:
    HANDLE read_ = nullptr;
    HANDLE write_ = nullptr;
    std::string received_;
};

// The program started with `arguments` (one command-line text) and both output pipes.
class TConsoleChild {
public:
    TConsoleChild(const std::string& exeName, const std::string& arguments) {
        std::string commandLine(1, '"');
        commandLine.append(ProgramPath(exeName)).append("\" ").append(arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out.Write();
        startup.hStdError = err.Write();
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
        out.CloseWrite();
        err.CloseWrite();
    }
    ~TConsoleChild() {
        if (started_) {
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    TConsoleChild(const TConsoleChild&) = delete;
    TConsoleChild& operator=(const TConsoleChild&) = delete;

    bool Started() const { return started_; }
    // Waits for the exit (terminating the child after the wait with status 99); the status.
    DWORD Finish(DWORD waitMs = 10000) {
        WaitForSingleObject(process_.hProcess, waitMs);
        DWORD status = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &status);
        if (status == STILL_ACTIVE) {
            TerminateProcess(process_.hProcess, 99);
        }
        return status;
    }

    TPipe out;
    TPipe err;

private:
    bool started_ = false;
    PROCESS_INFORMATION process_{};
};
