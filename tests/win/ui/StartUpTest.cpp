// The program's start-up under Wine: the windows that start hidden make their controls only when
// first shown or reached, and what was set on them before then is there when they appear.
#include <gtest/gtest.h>

#include <string>

#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "ui/About_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/StartUp_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"

namespace {

struct Program {
    Program() {
        application.SetCommandLine("corvane.exe");
        InitializeProgram(application);
    }
    TForm& Form(size_t index) { return *application.Forms().at(index); }

    TApplication application;
};

bool HasChildren(HWND window) {
    return GetWindow(window, GW_CHILD) != nullptr;
}

TEST(StartUp, HiddenWindowsWaitWithTheirControls) {
    Program program;
    ASSERT_EQ(program.application.Forms().size(), 4u);
    EXPECT_TRUE(HasChildren(program.Form(0).Handle()));  // the main window is complete
    for (size_t i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(program.Form(i).Visible());
        EXPECT_FALSE(HasChildren(program.Form(i).Handle()));
    }
}

TEST(StartUp, CalculatorShowsWhatWasSetBeforeItsControlsWereMade) {
    Program program;
    TForm2& form2 = *program.application.FindForm<TForm2>();
    form2.JvIPAddress2().SetText("255.255.0.0");
    program.application.FindForm<TForm1>()->Show();
    SendMessageA(program.Form(0).Handle(), WM_COMMAND,
                 MAKEWPARAM(TForm1::kCalculateBroadcastAddress1, 0), 0);
    program.application.ProcessMessages();
    ASSERT_TRUE(form2.Visible());
    EXPECT_EQ(GetText(form2.JvIPAddress1Handle()), "0.0.0.0");
    EXPECT_EQ(GetText(form2.JvIPAddress2Handle()), "255.255.0.0");
    EXPECT_EQ(form2.JvIPAddress1().Text(), "0.0.0.0");
    EXPECT_EQ(form2.JvIPAddress2().Text(), "255.255.0.0");
    EXPECT_EQ(GetFocus(), form2.JvIPAddress1Window().Field(0));
}

// Shown with ShowWindow instead of Show, or reached through an accessor while hidden: the
// controls are made all the same, once.
TEST(StartUp, ControlsAreMadeOnceWhicheverWayTheyAreFirstNeeded) {
    Program program;
    TForm3& form3 = *program.application.FindForm<TForm3>();
    ShowWindow(form3.Handle(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(HasChildren(form3.Handle()));
    const HWND groupBox = form3.GroupBox1();
    form3.Hide();
    form3.Show();
    EXPECT_EQ(form3.GroupBox1(), groupBox);
    EXPECT_EQ(GetWindow(groupBox, GW_HWNDNEXT), GetDlgItem(form3.Handle(), TForm3::kListBox1));

    TAboutBox& about = *program.application.FindForm<TAboutBox>();
    EXPECT_TRUE(about.BannerLoaded());
    EXPECT_FALSE(about.Visible());
    const HWND panel = about.Panel1();
    EXPECT_TRUE(IsWindow(panel));
    about.Show();
    EXPECT_EQ(about.Panel1(), panel);
    EXPECT_EQ(GetWindow(about.Handle(), GW_CHILD), panel);
}

}  // namespace
