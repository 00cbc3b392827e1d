// The message box and the error box under Wine, shown over the real program's windows.
#include <gtest/gtest.h>

#include <string>

#include "BoxWatcher.h"
#include "base/Exception.h"
#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Dispatch_win.h"
#include "platform/MessageDialog_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/StartUp_win.h"
#include "ui/Unit1_win.h"

namespace {

// The program with its main window and the calculator on the screen.
struct Program {
    Program() {
        InitializeProgram(application);
        application.SetCommandLine("corvane.exe");
        main = application.MainForm()->Handle();
        application.MainForm()->Show();
        application.FindForm<TForm2>()->Show();
        application.ProcessMessages();
    }
    TApplication application;
    HWND main = nullptr;
};

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

TEST(MessageDialog, EnterAndEscBothCloseIt) {
    Program program;
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        BoxWatcher watcher(program.main, key);
        ShowMessage("Invalid MAC-Address");  // returns only when the box is gone
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        const auto& box = watcher.Boxes()[0];
        EXPECT_EQ(box.caption, "CorVane");
        EXPECT_EQ(box.text, "Invalid MAC-Address");
        EXPECT_FALSE(box.anyIcon);
        EXPECT_TRUE(box.defaultOk);
        EXPECT_FALSE(box.othersEnabled);
    }
    // Afterwards every window is usable again.
    for (const auto& form : program.application.Forms()) {
        if (form->Visible()) {
            EXPECT_TRUE(IsWindowEnabled(form->Handle()));
        }
    }
}

TEST(MessageDialog, SizedToItsTextWrappedAtHalfTheScreenAndCentred) {
    Program program;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::string sentences;
    for (int i = 0; i < 40; ++i) {
        sentences += "Wake the machine on the other side of the room. ";
    }
    const std::string texts[] = {
        "OK?", "abc is not a valid integer value.\r\nNow using default Port udp/26354", sentences,
        std::string(400, 'x'),  // one word longer than half the screen
    };
    BoxWatcher watcher(program.main);
    for (const std::string& text : texts) {
        ShowMessage(text);  // returns when the watcher has closed it
    }
    ASSERT_EQ(watcher.Boxes().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(texts[i].substr(0, 40));
        const auto& box = watcher.Boxes()[i];
        EXPECT_EQ(box.text, texts[i]);
        EXPECT_LE(Width(box.textRect), screenWidth / 2);
        EXPECT_LE(Width(box.rect), screenWidth / 2 + 60);  // margins and frame
        EXPECT_NEAR((box.rect.left + box.rect.right) / 2, screenWidth / 2, 1);
        EXPECT_NEAR((box.rect.top + box.rect.bottom) / 2, screenHeight / 2, 1);
    }
    const RECT& oneLine = watcher.Boxes()[0].textRect;
    EXPECT_LT(Width(oneLine), 40);                                        // sized to its text
    EXPECT_EQ(Height(watcher.Boxes()[1].textRect), 2 * Height(oneLine));  // CR LF: two lines
    EXPECT_GT(Width(watcher.Boxes()[2].textRect), screenWidth / 3);
    EXPECT_GE(Height(watcher.Boxes()[2].textRect), 5 * Height(oneLine));  // wrapped
    EXPECT_GE(Height(watcher.Boxes()[3].textRect), 2 * Height(oneLine));  // broken
}

TEST(ErrorBox, StopIconFinalPeriodAndEveryWindowDisabled) {
    Program program;
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"Socket Error # 10013\r\nAccess denied", "Socket Error # 10013\r\nAccess denied."},
        {"Host not found.", "Host not found."},
        {"E/A-Fehler 5", "E/A-Fehler 5."},
        {"(none)", "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        BoxWatcher watcher(program.main);
        Dispatch([&] { throw Exception(c.message); });
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        const auto& box = watcher.Boxes()[0];
        EXPECT_EQ(box.caption, "CorVane");
        EXPECT_EQ(box.text, c.shown);
        EXPECT_TRUE(box.stopIcon);
        EXPECT_FALSE(box.othersEnabled);
    }
    EXPECT_TRUE(IsWindowEnabled(program.main));
    EXPECT_TRUE(IsWindowEnabled(program.application.FindForm<TForm2>()->Handle()));
}

TEST(ErrorBox, TheHandlerStopsAndTheProgramCarriesOn) {
    Program program;
    BoxWatcher watcher(program.main);
    int reached = 0;
    Dispatch([&] {
        ++reached;
        throw Exception("stop");
        ++reached;
    });
    EXPECT_EQ(reached, 1);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_FALSE(program.application.Terminated());
    EXPECT_TRUE(IsWindowVisible(program.main));
}

// The box belongs to the main window, which the system activates when the box closes; the
// window the user was working in (a failed Calculate) must get the activation back instead of
// disappearing behind the main window.
TEST(ErrorBox, TheWindowThatWasActiveStaysActive) {
    Program program;
    HWND calculator = program.application.FindForm<TForm2>()->Handle();
    SetActiveWindow(calculator);
    program.application.ProcessMessages();
    ASSERT_EQ(GetActiveWindow(), calculator);
    BoxWatcher watcher(program.main);
    Dispatch([] { throw Exception("Invalid network mask."); });
    program.application.ProcessMessages();
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(GetActiveWindow(), calculator);
}

}  // namespace
