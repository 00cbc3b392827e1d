// The main window under Wine: built by the real code, driven with window messages.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "BoxWatcher.h"
#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "support/LoopbackReceiver.h"
#include "support/RecordingShell.h"
#include "ui/About_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/StartUp_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"
#include "wake/CommandLineWake.h"
#include "win/WindowGeometry.h"

namespace {

// The program's start-up, with a command line of our choosing.
struct Program {
    explicit Program(const std::string& commandLine = "corvane.exe") {
        InitializeProgram(application);
        application.SetCommandLine(commandLine);  // read by the show handler only
        const auto& forms = application.Forms();
        form1 = forms.size() > 0 ? dynamic_cast<TForm1*>(forms[0].get()) : nullptr;
        form2 = forms.size() > 1 ? dynamic_cast<TForm2*>(forms[1].get()) : nullptr;
        aboutBox = forms.size() > 2 ? dynamic_cast<TAboutBox*>(forms[2].get()) : nullptr;
        form3 = forms.size() > 3 ? dynamic_cast<TForm3*>(forms[3].get()) : nullptr;
    }
    // What Run does before its loop.
    void ShowMain() {
        form1->Show();
        application.ProcessMessages();
    }
    void Command(int id) { SendMessageA(form1->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    TApplication application;
    TForm1* form1 = nullptr;
    TForm2* form2 = nullptr;
    TAboutBox* aboutBox = nullptr;
    TForm3* form3 = nullptr;
};

std::string MenuText(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    GetObjectA(handle, sizeof(font), &font);
    return font;
}

TEST(MainWindow, StartUpCreatesTheFourWindowsHiddenInOrder) {
    Program program;
    EXPECT_EQ(program.application.Title(), "CorVane");
    ASSERT_EQ(program.application.Forms().size(), 4u);
    ASSERT_NE(program.form1, nullptr);
    ASSERT_NE(program.form2, nullptr);
    ASSERT_NE(program.aboutBox, nullptr);
    ASSERT_NE(program.form3, nullptr);
    EXPECT_EQ(program.application.MainForm(), program.form1);
    for (const auto& f : program.application.Forms()) {
        EXPECT_FALSE(f->Visible());
    }
    EXPECT_EQ(GetText(program.form1->Handle()), "Corvane 1.0a");
    EXPECT_EQ(GetText(program.form2->Handle()), "Broadcast Calculator");
    EXPECT_EQ(GetText(program.aboutBox->Handle()), "About");
    EXPECT_EQ(GetText(program.form3->Handle()), "Address Book");
}

TEST(MainWindow, WindowAndControlsAsDesigned) {
    Program program;
    HWND form = program.form1->Handle();
    EXPECT_EQ(GetText(form), "Corvane 1.0a");
    RECT window;
    GetWindowRect(form, &window);
    EXPECT_EQ(window.left, 548);
    EXPECT_EQ(window.top, 328);
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 213);
    EXPECT_EQ(client.bottom, 344);
    EXPECT_NE(GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongA(form, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              0);
    EXPECT_NE(SendMessageA(form, WM_GETICON, ICON_SMALL, 0), 0);
    {
        // A 16 x 16 window icon.
        HICON icon = reinterpret_cast<HICON>(SendMessageA(form, WM_GETICON, ICON_SMALL, 0));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 16);
        EXPECT_EQ(bitmap.bmHeight, 16);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }

    struct Edit {
        HWND edit;
        int left, top, width;
        std::string label;
        int limit;
        std::string text;
    };
    const Edit edits[] = {
        {program.form1->LabeledEdit1(), 14, 31, 177, "MAC-Address (xx-xx-xx-xx-xx-xx)", 17, ""},
        {program.form1->LabeledEdit2(), 14, 79, 177, "IP-Address (192.168.0.255)", 15, ""},
        {program.form1->EdPassWd(), 16, 131, 177, "", 0, ""},
        {program.form1->LabeledEdit3(), 16, 176, 65, "UDP-Port ", 0, "26354"},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.label);
        ExpectBounds(form, e.edit, e.left, e.top, e.width, 21);
        EXPECT_EQ(GetText(e.edit), e.text);
        const auto limit = SendMessageA(e.edit, EM_GETLIMITTEXT, 0, 0);
        if (e.limit > 0) {
            EXPECT_EQ(limit, e.limit);
        } else {
            EXPECT_GT(limit, 100000);
        }
        if (!e.label.empty()) {
            HWND label = GetWindow(e.edit, GW_HWNDPREV);
            EXPECT_EQ(GetText(label), e.label);
            const RECT r = ChildBounds(form, label);
            EXPECT_EQ(r.left, e.left);
            EXPECT_EQ(r.bottom + 3, e.top);  // 3 pixels above the edit
        }
    }
    EXPECT_EQ(SendMessageA(program.form1->EdPassWd(), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageA(program.form1->LabeledEdit1(), EM_GETPASSWORDCHAR, 0, 0), 0);

    HWND memo = program.form1->Memo1();
    ExpectBounds(form, memo, 14, 236, 177, 97);
    const LONG memoStyle = GetWindowLongA(memo, GWL_STYLE);
    EXPECT_NE(memoStyle & ES_READONLY, 0);
    EXPECT_NE(memoStyle & ES_MULTILINE, 0);
    EXPECT_EQ(memoStyle & WS_TABSTOP, 0);
    const LOGFONTA memoFont = FontOf(memo);
    EXPECT_STREQ(memoFont.lfFaceName, "Arial Narrow");
    EXPECT_EQ(memoFont.lfHeight, -11);
    EXPECT_EQ(memoFont.lfCharSet, ANSI_CHARSET);
    // The pointer over the log is the arrow, not the edit's I-beam.
    SetCursor(nullptr);
    SendMessageA(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(memo), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));

    HWND button = program.form1->SpeedButton1();
    ExpectBounds(form, button, 112, 175, 79, 25);
    EXPECT_EQ(GetText(button), "Power on");
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & WS_TABSTOP, 0);

    // Label1 is the static just before the memo in creation order.
    HWND label1 = GetWindow(memo, GW_HWNDPREV);
    EXPECT_EQ(GetText(label1), "WOL-Password (optional)");
    ExpectBounds(form, label1, 16, 115, 120, 13);
    // The window's font, which its controls take.
    for (HWND control : {label1, program.form1->LabeledEdit1(), program.form1->EdPassWd()}) {
        const LOGFONTA font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11);
    }
}

TEST(MainWindow, TabWalksTheFourFieldsAndSkipsTheLog) {
    Program program;
    HWND form = program.form1->Handle();
    HWND order[] = {program.form1->LabeledEdit1(), program.form1->LabeledEdit2(),
                    program.form1->EdPassWd(), program.form1->LabeledEdit3()};
    EXPECT_EQ(GetNextDlgTabItem(form, nullptr, FALSE), order[0]);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetNextDlgTabItem(form, order[i], FALSE), order[(i + 1) % 4]);
    }
    program.ShowMain();
    EXPECT_EQ(GetFocus(), order[0]);
}

TEST(MainWindow, MenuBar) {
    Program program;
    HMENU bar = program.form1->MainMenu1();
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), "&Tools");
    EXPECT_EQ(MenuText(bar, 1), "&Help");
    EXPECT_EQ(MenuText(bar, 2), "E&xit");
    EXPECT_EQ(GetSubMenu(bar, 2), nullptr);
    HMENU tools = GetSubMenu(bar, 0);
    EXPECT_EQ(MenuText(tools, 0), "Addressbook");
    EXPECT_NE(GetMenuState(tools, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuText(tools, 1), "Calculate Broadcast Address");
    EXPECT_EQ(GetMenuState(tools, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    HMENU help = GetSubMenu(bar, 1);
    EXPECT_EQ(MenuText(help, 0), "Help");
    EXPECT_EQ(MenuText(help, 1), "About");
}

TEST(MainWindow, StartsWithTheBannerWithoutArguments) {
    Program program;
    program.ShowMain();
    EXPECT_TRUE(program.form1->Visible());
    EXPECT_EQ(GetText(program.form1->Memo1()), "CorVane 1.0a\r\n------------------------\r\n");
}

TEST(MainWindow, MacFieldStopsAtSeventeenCharacters) {
    Program program;
    program.ShowMain();
    HWND mac = program.form1->LabeledEdit1();
    for (char c : std::string("00-11-22-33-44-55-66")) {
        SendMessageA(mac, WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    EXPECT_EQ(GetText(mac), "00-11-22-33-44-55");
    HWND ip = program.form1->LabeledEdit2();
    for (char c : std::string("127.255.255.255.1")) {
        SendMessageA(ip, WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    EXPECT_EQ(GetText(ip), "127.255.255.255");
}

TEST(MainWindow, PowerOnSendsOneDatagramAndLogsIt) {
    LoopbackReceiver receiver("0.0.0.0", 0);
    Program program;
    program.ShowMain();
    SetText(program.form1->LabeledEdit1(), "00-11-22-33-44-55");
    SetText(program.form1->LabeledEdit2(), "127.255.255.255");
    SetText(program.form1->LabeledEdit3(), std::to_string(receiver.Port()));
    SendMessageA(program.form1->SpeedButton1(), BM_CLICK, 0, 0);

    const auto datagram = receiver.Receive(5000);
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data.size(), 102u);
    EXPECT_EQ(datagram->data.substr(0, 12),
              std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x00\x11\x22\x33\x44\x55", 12));
    EXPECT_EQ(GetText(program.form1->Memo1()),
              "MagicPaket sent to:\r\nDevice: 00-11-22-33-44-55\r\nBCast Domain: "
              "127.255.255.255\r\n");
    // The button never took the focus.
    EXPECT_NE(GetFocus(), program.form1->SpeedButton1());
}

TEST(MainWindow, MouseClickOnPowerOnLeavesTheFocusInTheField) {
    Program program;
    program.ShowMain();
    SetForegroundWindow(program.form1->Handle());
    SetFocus(program.form1->LabeledEdit2());
    RECT button;
    GetWindowRect(program.form1->SpeedButton1(), &button);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    program.application.ProcessMessages();
    BoxWatcher watcher(program.form1->Handle());
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
    for (int i = 0; i < 100 && watcher.Boxes().empty(); ++i) {
        program.application.ProcessMessages();
        Sleep(20);
    }
    ASSERT_EQ(watcher.Boxes().size(), 1u);  // the fields are empty
    EXPECT_EQ(watcher.Boxes()[0].text, "Invalid IP-Address");
    program.application.ProcessMessages();
    EXPECT_EQ(GetFocus(), program.form1->LabeledEdit2());
}

TEST(MainWindow, EnterInAFieldSendsNothing) {
    Program program;
    program.ShowMain();
    SetText(program.form1->LabeledEdit1(), "00-11-22-33-44-55");
    SetText(program.form1->LabeledEdit2(), "127.255.255.255");
    SetFocus(program.form1->LabeledEdit2());
    MSG enter{program.form1->LabeledEdit2(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    program.application.HandleDialogKeys(enter);
    program.application.ProcessMessages();
    EXPECT_EQ(GetText(program.form1->Memo1()), "CorVane 1.0a\r\n------------------------\r\n");
}

TEST(MainWindow, InvalidAddressShowsTheMessageBox) {
    Program program;
    program.ShowMain();
    SetText(program.form1->LabeledEdit1(), "00-11-22-33-44-55");
    BoxWatcher watcher(program.form1->Handle());
    SendMessageA(program.form1->SpeedButton1(), BM_CLICK, 0, 0);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    const auto& box = watcher.Boxes()[0];
    EXPECT_EQ(box.caption, "CorVane");
    EXPECT_EQ(box.text, "Invalid IP-Address");
    EXPECT_FALSE(box.anyIcon);
    EXPECT_TRUE(box.defaultOk);
    EXPECT_FALSE(box.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    EXPECT_EQ(GetText(program.form1->Memo1()), "");  // cleared first
    // centred on the screen
    const int centreX = (box.rect.left + box.rect.right) / 2;
    EXPECT_NEAR(centreX, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
}

TEST(MainWindow, PortMessageThenTheSend) {
    LoopbackReceiver receiver("127.0.0.1", 0);
    Program program;
    program.ShowMain();
    SetText(program.form1->LabeledEdit1(), "00-11-22-33-44-55");
    SetText(program.form1->LabeledEdit2(), "127.0.0.1");
    SetText(program.form1->LabeledEdit3(), "abc");
    BoxWatcher watcher(program.form1->Handle());
    SendMessageA(program.form1->SpeedButton1(), BM_CLICK, 0, 0);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text,
              "abc is not a valid integer value.\r\nNow using default Port udp/26354");
    EXPECT_EQ(GetText(program.form1->Memo1()),
              "MagicPaket sent to:\r\nDevice: 00-11-22-33-44-55\r\nBCast Domain: 127.0.0.1\r\n");
}

TEST(MainWindow, UsageMessageBeforeTheWindowAppears) {
    Program program("corvane.exe 00-11-22-33-44-55");
    {
        BoxWatcher watcher(program.form1->Handle());
        program.form1->Show();
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, "CorVane");
        EXPECT_EQ(watcher.Boxes()[0].text, kUsageMessage);
        EXPECT_FALSE(watcher.Boxes()[0].mainVisible);  // the show handler runs first
    }
    EXPECT_TRUE(program.form1->Visible());  // the tool stays, interactive
    EXPECT_FALSE(program.application.Terminated());
    EXPECT_EQ(GetText(program.form1->Memo1()), "");
    EXPECT_EQ(GetText(program.form1->LabeledEdit1()), "");
}

TEST(MainWindow, CommandLineSuccessEndsWithoutShowingTheWindow) {
    LoopbackReceiver receiver("0.0.0.0", 0);
    Program program("\"C:\\corvane.exe\" 00-11-22-33-44-55 127.255.255.255 /port:" +
                    std::to_string(receiver.Port()));
    program.form1->Show();
    EXPECT_TRUE(program.application.Terminated());
    EXPECT_FALSE(program.form1->Visible());
    const auto datagram = receiver.Receive(5000);
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->data.size(), 102u);
}

TEST(MainWindow, ExceptionShowsTheErrorBox) {
    Program program;
    program.ShowMain();
    // WM_SETTEXT passes the limit: the address is found after the x, whose pair is not hex.
    SetText(program.form1->LabeledEdit1(), "x00-11-22-33-44-55");
    SetText(program.form1->LabeledEdit2(), "127.0.0.1");
    BoxWatcher watcher(program.form1->Handle());
    SendMessageA(program.form1->SpeedButton1(), BM_CLICK, 0, 0);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    const auto& box = watcher.Boxes()[0];
    EXPECT_EQ(box.caption, "CorVane");
    EXPECT_EQ(box.text, "'$x0' ist kein gültiger Integerwert.");
    EXPECT_TRUE(box.stopIcon);
    EXPECT_FALSE(box.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    EXPECT_EQ(GetText(program.form1->Memo1()), "");
}

TEST(MainWindow, HelpOpensThePagesNextToTheExecutable) {
    Program program;
    program.ShowMain();
    RecordingShell shell;
    program.Command(TForm1::kHelp1);
    ASSERT_EQ(shell.Requests().size(), 1u);
    const TShellOpenRequest& request = shell.Requests()[0];
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string expected = path;
    expected = expected.substr(0, expected.find_last_of("\\:") + 1) + "help/index.html";
    EXPECT_EQ(request.file, expected);
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.ownerWindow, program.form1->Handle());
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.directory, "");
    EXPECT_EQ(request.showCommand, SW_SHOW);
}

TEST(MainWindow, MissingHelpPagesReportNothing) {
    Program program;
    program.ShowMain();
    BoxWatcher watcher(program.form1->Handle());
    // The real shell, asked for a file that does not exist.
    ShellOpen(
        {program.form1->Handle(), "open", "Z:\\no-such-dir\\help/index.html", "", "", SW_SHOW});
    for (int i = 0; i < 10; ++i) {
        program.application.ProcessMessages();
        Sleep(30);
    }
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
}

TEST(MainWindow, CalculatorAndAboutShowWithoutModality) {
    Program program;
    program.ShowMain();
    program.Command(TForm1::kCalculateBroadcastAddress1);
    EXPECT_TRUE(program.form2->Visible());
    EXPECT_TRUE(IsWindowEnabled(program.form1->Handle()));
    program.Command(TForm1::kAbout1);
    EXPECT_TRUE(program.aboutBox->Visible());
    EXPECT_EQ(GetForegroundWindow(), program.aboutBox->Handle());
    program.Command(TForm1::kCalculateBroadcastAddress1);
    EXPECT_EQ(GetForegroundWindow(), program.form2->Handle());
    EXPECT_TRUE(program.aboutBox->Visible());
    // Closing a secondary window hides it; the program goes on.
    SendMessageA(program.form2->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.form2->Visible());
    EXPECT_FALSE(program.application.Terminated());
    // The address book is never shown; its menu entry is disabled and does nothing.
    program.Command(TForm1::kAddressbook1);
    EXPECT_FALSE(program.form3->Visible());
}

TEST(MainWindow, StartUpConnectsTheCalculatorsSendToTheIpField) {
    Program program;
    program.ShowMain();
    program.Command(TForm1::kCalculateBroadcastAddress1);
    program.form2->JvIPAddress1().SetText("10.1.2.3");
    program.form2->JvIPAddress2().SetText("255.255.0.0");
    SendMessageA(program.form2->SpeedButton1(), BM_CLICK, 0, 0);
    SendMessageA(program.form2->SpeedButton2(), BM_CLICK, 0, 0);
    program.application.ProcessMessages();
    EXPECT_EQ(GetText(program.form1->LabeledEdit2()), "10.1.255.255");
}

TEST(MainWindow, ExitAndTheCloseBoxEndTheProgram) {
    {
        Program program;
        program.ShowMain();
        program.Command(TForm1::kExit1);
        EXPECT_TRUE(program.application.Terminated());
    }
    {
        Program program;
        program.ShowMain();
        program.Command(TForm1::kAbout1);
        SendMessageA(program.form1->Handle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.application.Terminated());
    }
}

}  // namespace
