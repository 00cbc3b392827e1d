// corvane.exe as a user starts it, from the build folder next to this test.
#include <gtest/gtest.h>

#include <string>

#include "base/WinApi.h"
#include "support/LoopbackReceiver.h"
#include "wake/CommandLineWake.h"

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1) + "corvane.exe";
}

class Process {
public:
    explicit Process(const std::string& arguments) {
        // Appended piece by piece: mingw g++ 12 warns falsely (-Wrestrict) on a chain of +.
        std::string commandLine(1, '"');
        commandLine.append(ProgramPath()).append("\" ").append(arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it has not ended within timeoutMs.
    DWORD Wait(DWORD timeoutMs) {
        WaitForSingleObject(info_.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
};

struct FindContext {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindOne(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (owner == context->processId && lstrcmpA(className, context->className) == 0 &&
        IsWindowVisible(window)) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process with this class, waiting up to 10 s for it.
HWND WaitForWindow(DWORD processId, const char* className) {
    for (int i = 0; i < 200; ++i) {
        FindContext context{processId, className, nullptr};
        EnumWindows(FindOne, reinterpret_cast<LPARAM>(&context));
        if (context.found != nullptr) {
            return context.found;
        }
        Sleep(50);
    }
    return nullptr;
}

std::string Text(HWND window) {
    char buffer[2048] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

TEST(CorvaneExe, CommandLineWakeSendsAndEndsWithStatusZero) {
    LoopbackReceiver receiver("0.0.0.0", 0);
    Process corvane("00-11-22-33-44-55 127.255.255.255 /port:" + std::to_string(receiver.Port()));
    ASSERT_TRUE(corvane.Started());
    EXPECT_EQ(corvane.Wait(20000), 0u);
    const auto datagram = receiver.Receive(5000);
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data.size(), 102u);
    EXPECT_EQ(datagram->data.substr(6, 6), std::string("\x00\x11\x22\x33\x44\x55", 6));
}

TEST(CorvaneExe, OneArgumentShowsUsageAndStaysUntilExit) {
    Process corvane("00-11-22-33-44-55");
    ASSERT_TRUE(corvane.Started());
    HWND box = WaitForWindow(corvane.Id(), "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), "CorVane");
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), kUsageMessage);
    EXPECT_EQ(corvane.Wait(300), static_cast<DWORD>(STILL_ACTIVE));

    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND main = WaitForWindow(corvane.Id(), "TForm1");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Text(main), "Corvane 1.0a");
    EXPECT_EQ(corvane.Wait(200), static_cast<DWORD>(STILL_ACTIVE));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(205 /* Exit1 */, 0), 0);
    EXPECT_EQ(corvane.Wait(20000), 0u);
}

TEST(CorvaneExe, ErrorBoxLeavesTheWindowOpenAndTheStatusZero) {
    // The address is found after the x; building the packet fails on the pair "x0".
    Process corvane("x00-11-22-33-44-55 127.0.0.1");
    ASSERT_TRUE(corvane.Started());
    HWND box = WaitForWindow(corvane.Id(), "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), "CorVane");
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), "'$x0' ist kein gültiger Integerwert.");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND main = WaitForWindow(corvane.Id(), "TForm1");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(corvane.Wait(20000), 0u);
}

TEST(CorvaneExe, CloseBoxEndsTheProgram) {
    Process corvane("");
    ASSERT_TRUE(corvane.Started());
    HWND main = WaitForWindow(corvane.Id(), "TForm1");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(corvane.Wait(20000), 0u);
}

}  // namespace
