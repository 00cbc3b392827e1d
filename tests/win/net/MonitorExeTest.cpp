// corvane-monitor.exe as a user runs it, with a magic packet sent to it through the Windows
// stack on loopback.
#include <gtest/gtest.h>

#include <string>

#include "base/WinApi.h"
#include "net/IdUDPClient.h"
#include "support/LoopbackReceiver.h"
#include "wake/WakeRequest.h"

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1) + "corvane-monitor.exe";
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

// A port that nobody holds right now.
uint16_t FreePort() {
    LoopbackReceiver probe("0.0.0.0", 0);
    return probe.Port();
}

TEST(MonitorExe, PrintsTheMagicPacketItReceivesAndEndsAtTheCount) {
    const std::string port = std::to_string(FreePort());
    TPipe out;
    TPipe err;
    std::string commandLine(1, '"');
    commandLine.append(ProgramPath()).append("\" --count 1 --timeout 5 --port ").append(port);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.Write();
    startup.hStdError = err.Write();
    PROCESS_INFORMATION monitor{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &monitor));
    out.CloseWrite();
    err.CloseWrite();

    const std::string listening = "corvane-monitor: listening on 0.0.0.0:" + port + "\n";
    EXPECT_EQ(err.ReadUntil(listening), listening);
    {
        TIdUDPClient client;
        client.SetBroadcastEnabled(true);
        SendMagicPacket(client, BuildMagicPacket("00-11-22-33-44-55", "ab"), "127.0.0.1",
                        std::stoi(port));
    }

    const std::string line = out.ReadAll();
    WaitForSingleObject(monitor.hProcess, 10000);
    DWORD status = STILL_ACTIVE;
    GetExitCodeProcess(monitor.hProcess, &status);
    if (status == STILL_ACTIVE) {
        TerminateProcess(monitor.hProcess, 99);
    }
    CloseHandle(monitor.hThread);
    CloseHandle(monitor.hProcess);

    EXPECT_EQ(status, 0u);
    // The sender's port is the platform's choice.
    const std::string from = "from 127.0.0.1:";
    ASSERT_EQ(line.rfind(from, 0), 0u) << line;
    const size_t comma = line.find(',');
    ASSERT_NE(comma, std::string::npos) << line;
    EXPECT_EQ(line.substr(comma),
              ", 104 bytes: magic packet for 00-11-22-33-44-55, password 2 bytes: 61 62\n");
}

}  // namespace
