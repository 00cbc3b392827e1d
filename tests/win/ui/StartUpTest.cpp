// The program's start-up under Wine: the windows that start hidden make their platform windows
// and their controls only when first shown or reached, and what was set on them before then is
// there when they appear. A window made that late looks exactly like one made at start-up.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "BoxWatcher.h"
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
    // eager: every window is made right after start-up, as when start-up made them all.
    explicit Program(bool eager = false) {
        application.SetCommandLine("corvane.exe");
        InitializeProgram(application);
        if (eager) {
            for (const auto& form : application.Forms()) {
                form->Handle();
            }
        }
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
        EXPECT_FALSE(program.Form(i).HandleAllocated());
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

// What a window and its children look like from outside, one line each in z-order: class,
// text, place and size on the screen, styles, control id, font, and whether the main window owns
// it, then which control has the focus. Handles are left out, so two programs' windows compare.
void DescribeOne(std::ostringstream& out, HWND window, HWND mainWindow, int depth) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    RECT r{};
    GetWindowRect(window, &r);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << className << " '" << GetText(window)
        << "' " << r.left << ',' << r.top << ' ' << r.right - r.left << 'x' << r.bottom - r.top
        << std::hex << " style " << GetWindowLongA(window, GWL_STYLE) << " ex "
        << GetWindowLongA(window, GWL_EXSTYLE) << std::dec << " id "
        << (depth > 0 ? GetDlgCtrlID(window) : 0) << " font " << font.lfFaceName << ' '
        << font.lfHeight
        << (GetWindow(window, GW_OWNER) == mainWindow ? " owned by the main window" : "") << '\n';
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        DescribeOne(out, child, mainWindow, depth + 1);
    }
}

std::string Describe(HWND window, HWND mainWindow) {
    std::ostringstream out;
    DescribeOne(out, window, mainWindow, 0);
    HWND focus = GetFocus();
    out << "focus " << (focus != nullptr && IsChild(window, focus) ? GetDlgCtrlID(focus) : -1)
        << " active " << (GetActiveWindow() == window) << '\n';
    return out.str();
}

enum class TFirstNeed {
    kMenuCommand,  // the window's own menu command (the address book has none: Show)
    kSendButton,   // the calculator's send button, pressed before the window was ever shown
    kHandleAsked,  // a test asks for the window's handle, then the window is shown
};

// Starts the program, shows the main window, reaches window `index` first in the given way,
// shows it as the user would and describes it; lazily made windows are checked to be made only
// then.
std::string ShownAfter(size_t index, TFirstNeed need, bool eager) {
    Program program(eager);
    TForm1& form1 = *program.application.FindForm<TForm1>();
    form1.Show();
    program.application.ProcessMessages();
    TForm& form = program.Form(index);
    EXPECT_EQ(form.HandleAllocated(), eager);
    if (need == TFirstNeed::kSendButton) {
        SetText(form1.LabeledEdit2(), "10.0.0.255");
        program.application.FindForm<TForm2>()->SpeedButton2Click();
        EXPECT_EQ(GetText(form1.LabeledEdit2()), "");  // nothing calculated: the field empties
    }
    if (need == TFirstNeed::kHandleAsked) {
        EXPECT_TRUE(IsWindow(form.Handle()));
        EXPECT_FALSE(form.Visible());
    }
    const int32_t command = index == 1   ? TForm1::kCalculateBroadcastAddress1
                            : index == 2 ? TForm1::kAbout1
                                         : 0;
    if (command != 0) {
        SendMessageA(form1.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    } else {
        form.Show();
    }
    program.application.ProcessMessages();
    EXPECT_TRUE(form.Visible());
    for (size_t other = 1; other < 4 && !eager; ++other) {
        EXPECT_EQ(program.Form(other).HandleAllocated(), other == index) << other;
    }
    return Describe(form.Handle(), form1.Handle());
}

TEST(StartUp, AWindowMadeWhenFirstNeededLooksAsOneMadeAtStartUp) {
    struct Case {
        size_t index;
        TFirstNeed need;
        const char* caption;
    };
    const Case cases[] = {
        {1, TFirstNeed::kMenuCommand, "Broadcast Calculator"},
        {1, TFirstNeed::kSendButton, "Broadcast Calculator"},
        {1, TFirstNeed::kHandleAsked, "Broadcast Calculator"},
        {2, TFirstNeed::kMenuCommand, "About"},
        {2, TFirstNeed::kHandleAsked, "About"},
        {3, TFirstNeed::kMenuCommand, "Address Book"},
        {3, TFirstNeed::kHandleAsked, "Address Book"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption + std::string(" reached by way ") +
                     std::to_string(static_cast<int>(c.need)));
        const std::string atStartUp = ShownAfter(c.index, c.need, /*eager=*/true);
        const std::string whenNeeded = ShownAfter(c.index, c.need, /*eager=*/false);
        EXPECT_EQ(whenNeeded, atStartUp);
        EXPECT_NE(whenNeeded.find(std::string(" '") + c.caption + "' "), std::string::npos);
        EXPECT_NE(whenNeeded.find("owned by the main window"), std::string::npos);
    }
}

// Used without ever opening the other windows, the main window makes none of them: Tab, a
// message box, an error box and closing work as they always did.
TEST(StartUp, TheMainWindowAloneMakesNoOtherWindow) {
    const std::string eagerMain = [] {
        Program program(/*eager=*/true);
        program.Form(0).Show();
        program.application.ProcessMessages();
        return Describe(program.Form(0).Handle(), program.Form(0).Handle());
    }();
    Program program;
    TForm1& form1 = *program.application.FindForm<TForm1>();
    EXPECT_EQ(program.application.MainForm(), &form1);
    form1.Show();
    program.application.ProcessMessages();
    EXPECT_EQ(Describe(form1.Handle(), form1.Handle()), eagerMain);

    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    program.application.ProcessMessages();
    EXPECT_EQ(GetFocus(), form1.LabeledEdit2());
    {
        BoxWatcher watcher(form1.Handle());
        SendMessageA(form1.SpeedButton1(), BM_CLICK, 0, 0);  // empty fields: a message box
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].text, "Invalid IP-Address");
        EXPECT_EQ(watcher.Boxes()[0].caption, "CorVane");
        EXPECT_FALSE(watcher.Boxes()[0].mainEnabled);
    }
    {
        BoxWatcher watcher(form1.Handle());
        SetText(form1.LabeledEdit1(), "x00-11-22-33-44-55");  // a pair that is no number
        SetText(form1.LabeledEdit2(), "127.0.0.1");
        SendMessageA(form1.SpeedButton1(), BM_CLICK, 0, 0);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, "CorVane");
        EXPECT_TRUE(watcher.Boxes()[0].stopIcon);
        EXPECT_FALSE(watcher.Boxes()[0].mainEnabled);
    }
    SendMessageA(form1.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.application.Terminated());
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_FALSE(program.Form(i).HandleAllocated()) << i;
    }
}

}  // namespace
