// The broadcast calculator window under Wine: built by the real code, driven with messages.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "base/WinApi.h"
#include "platform/Application_win.h"
#include "platform/Controls_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/StartUp_win.h"
#include "ui/Unit1_win.h"
#include "win/WindowGeometry.h"

namespace {

struct Program {
    Program() {
        application.SetTitle("CorVane");
        form1 = &application.CreateForm<TForm1>();
        form2 = &application.CreateForm<TForm2>();
        ConnectCalculatorToMainWindow(*form2, *form1);
        form2->Show();
        application.ProcessMessages();
    }
    void Click(HWND button) {
        SendMessageA(button, BM_CLICK, 0, 0);
        application.ProcessMessages();
    }
    void Calculate(const std::string& address, const std::string& mask) {
        form2->JvIPAddress1().SetText(address);
        form2->JvIPAddress2().SetText(mask);
        Click(form2->SpeedButton1());
    }
    // Lets the typing label's timer run until the label shows its plain caption again.
    void FinishTyping() {
        for (int i = 0; i < 500 && form2->LblBCast().UseShownText(); ++i) {
            application.ProcessMessages();
            Sleep(10);
        }
    }
    void PressTab() {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        application.ProcessMessages();
    }
    HWND Field(int ip, int field) {
        return (ip == 1 ? form2->JvIPAddress1Window() : form2->JvIPAddress2Window()).Field(field);
    }

    TApplication application;
    TForm1* form1 = nullptr;
    TForm2* form2 = nullptr;
};

TEST(BroadCastCalc, WindowAndControlsAsDesigned) {
    Program program;
    TForm2& form = *program.form2;
    EXPECT_EQ(GetText(form.Handle()), "Broadcast Calculator");
    RECT frame;
    GetWindowRect(form.Handle(), &frame);
    EXPECT_EQ(frame.left, 469);
    EXPECT_EQ(frame.top, 428);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 384);
    EXPECT_EQ(client.bottom, 190);
    // A tool window: narrow caption with only a close box, not resizable.
    const LONG_PTR style = GetWindowLongPtrA(form.Handle(), GWL_STYLE);
    EXPECT_NE(GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
    EXPECT_EQ(form.Color(), clBtnFace);
    ExpectBounds(form.Handle(), form.Label1(), 16, 16, 51, 13);
    ExpectBounds(form.Handle(), form.Label2(), 16, 72, 63, 13);
    EXPECT_EQ(GetText(form.Label1()), "IP-Address");
    EXPECT_EQ(GetText(form.Label2()), "Subnet Mask");
    ExpectBounds(form.Handle(), form.JvIPAddress1Handle(), 16, 32, 150, 21);
    ExpectBounds(form.Handle(), form.JvIPAddress2Handle(), 16, 88, 150, 21);
    ExpectBounds(form.Handle(), form.Memo1(), 187, 11, 185, 94);
    ExpectBounds(form.Handle(), form.SpeedButton1(), 8, 152, 137, 25);
    ExpectBounds(form.Handle(), form.SpeedButton2(), 184, 152, 193, 25);
    EXPECT_EQ(GetText(form.SpeedButton1()), "Calculate");
    EXPECT_EQ(GetText(form.SpeedButton2()), "Send BCast to Main Window");
    EXPECT_EQ(form.SpeedButton2Hint(),
              "Sends the calculated Broadcast Address to the Main Window (Field: IP-Address)");
    // The memo: read-only, no border, a tab stop; the buttons never take the focus.
    const LONG_PTR memoStyle = GetWindowLongPtrA(form.Memo1(), GWL_STYLE);
    EXPECT_NE(memoStyle & ES_READONLY, 0);
    EXPECT_NE(memoStyle & WS_TABSTOP, 0);
    EXPECT_EQ(memoStyle & WS_BORDER, 0);
    EXPECT_EQ(GetWindowLongPtrA(form.Memo1(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(GetWindowLongPtrA(form.SpeedButton1(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrA(form.SpeedButton2(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(form.JvIPAddress1().Text(), "0.0.0.0");
    EXPECT_EQ(form.JvIPAddress2().Text(), "0.0.0.0");
    EXPECT_EQ(GetText(form.Label3()), "");
    EXPECT_EQ(GetText(form.LblBCastHandle()), "");
    EXPECT_EQ(form.IdNetworkCalculator1().NetworkMask().AsString(), "255.255.255.255");
}

TEST(BroadCastCalc, CalculateFillsMemoAndTypesTheBroadcastAddress) {
    Program program;
    TForm2& form = *program.form2;
    program.Calculate("192.168.0.10", "255.255.255.0");
    EXPECT_EQ(GetText(form.Memo1()),
              "Network-Class: C\r\nNetwork: 192.168.0.0\r\n# of Hosts: 254\r\nprivate network\r\n");
    EXPECT_EQ(GetText(form.Label3()), "Broadcast-Address:");
    RECT label3;
    GetWindowRect(form.Label3(), &label3);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&label3), 2);
    EXPECT_EQ(label3.left, 192);
    EXPECT_EQ(label3.top, 120);
    RECT typed;
    GetWindowRect(form.LblBCastHandle(), &typed);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&typed), 2);
    EXPECT_EQ(typed.left, 288);
    EXPECT_EQ(typed.top, 120);
    EXPECT_LT(label3.right, typed.left);  // the two labels do not overlap
    EXPECT_EQ(form.LblBCast().Caption(), "192.168.0.255");
    EXPECT_TRUE(form.LblBCast().UseShownText());  // typing has begun
    program.FinishTyping();
    EXPECT_FALSE(form.LblBCast().UseShownText());
    EXPECT_EQ(GetText(form.LblBCastHandle()), "192.168.0.255");

    program.Calculate("192.168.0.10", "255.255.255.0");  // the same fields: the same lines
    EXPECT_EQ(GetText(form.Memo1()),
              "Network-Class: C\r\nNetwork: 192.168.0.0\r\n# of Hosts: 254\r\nprivate network\r\n");
}

TEST(BroadCastCalc, SendPutsTheWholeAddressIntoTheMainWindow) {
    Program program;
    TForm2& form = *program.form2;
    SetText(program.form1->LabeledEdit2(), "10.0.0.255");
    program.Click(form.SpeedButton2());  // nothing calculated yet: the field is emptied
    EXPECT_EQ(GetText(program.form1->LabeledEdit2()), "");

    program.Calculate("192.168.0.10", "255.255.255.0");
    ASSERT_TRUE(form.LblBCast().UseShownText());
    EXPECT_NE(form.LblBCast().ShownText(), "192.168.0.255");     // still typing
    EXPECT_EQ(GetText(form.LblBCastHandle()), "192.168.0.255");  // its text is the caption
    program.Click(form.SpeedButton2());
    EXPECT_EQ(GetText(program.form1->LabeledEdit2()), "192.168.0.255");
    program.FinishTyping();
    program.Click(form.SpeedButton2());
    EXPECT_EQ(GetText(program.form1->LabeledEdit2()), "192.168.0.255");
}

TEST(BroadCastCalc, BadMaskShowsTheErrorBoxAndEmptiesTheResults) {
    Program program;
    TForm2& form = *program.form2;
    program.Calculate("192.168.0.10", "255.255.255.0");
    program.FinishTyping();
    {
        BoxWatcher watcher(program.form1->Handle());
        program.Calculate("10.1.2.3", "255.0.255.0");
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, "CorVane");
        EXPECT_EQ(watcher.Boxes()[0].text, "Invalid network mask.");
        EXPECT_TRUE(watcher.Boxes()[0].stopIcon);
    }
    EXPECT_EQ(GetText(form.Memo1()), "");
    EXPECT_EQ(GetText(form.Label3()), "");
    EXPECT_EQ(GetText(form.LblBCastHandle()), "");
    EXPECT_EQ(form.IdNetworkCalculator1().NetworkAddress().AsString(), "10.1.2.3");
    EXPECT_EQ(form.IdNetworkCalculator1().NetworkMask().AsString(), "255.255.255.0");
}

TEST(BroadCastCalc, UnreadableTextsShowTheErrorBoxAndEmptyTheResults) {
    struct Row {
        int ip;           // the address control left with a blank field
        bool newAddress;  // the calculator took the address before failing
    };
    for (const Row row : {Row{1, false}, Row{2, true}}) {
        SCOPED_TRACE(row.ip);
        Program program;
        TForm2& form = *program.form2;
        program.Calculate("192.168.0.10", "255.255.255.0");
        program.FinishTyping();
        form.JvIPAddress1().SetText("10.1.2.3");
        form.JvIPAddress2().SetText("255.0.0.0");
        // A blank field, as Windows' address control reports it while the focus stays in the
        // control (Calculate never takes the focus): an empty piece. Wine reports blank fields
        // as 0, so the control's stored window text is set directly.
        TJvIPAddress& edited = row.ip == 1 ? form.JvIPAddress1() : form.JvIPAddress2();
        const std::string text = row.ip == 1 ? "10.1.2." : "255.0.0.";
        DefWindowProcA(row.ip == 1 ? form.JvIPAddress1Handle() : form.JvIPAddress2Handle(),
                       WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ASSERT_EQ(edited.Text(), text);
        {
            BoxWatcher watcher(program.form1->Handle());
            program.Click(form.SpeedButton1());
            ASSERT_EQ(watcher.Boxes().size(), 1u);
            EXPECT_EQ(watcher.Boxes()[0].text,
                      "The string " + text + " does not translate into a valid IP.");
        }
        EXPECT_EQ(GetText(form.Memo1()), "");
        EXPECT_EQ(GetText(form.Label3()), "");
        EXPECT_EQ(form.LblBCast().Caption(), "");
        EXPECT_EQ(GetText(form.LblBCastHandle()), "");
        EXPECT_EQ(form.IdNetworkCalculator1().NetworkAddress().AsString(),
                  row.newAddress ? "10.1.2.3" : "192.168.0.10");
        EXPECT_EQ(form.IdNetworkCalculator1().NetworkMask().AsString(), "255.255.255.0");
        SetText(program.form1->LabeledEdit2(), "192.168.0.255");
        program.Click(form.SpeedButton2());  // after a failure Send empties the IP field
        EXPECT_EQ(GetText(program.form1->LabeledEdit2()), "");
    }
}

TEST(BroadCastCalc, FailureWhileTypingLeavesTheLabelEmpty) {
    Program program;
    TForm2& form = *program.form2;
    program.Calculate("192.168.0.10", "255.255.255.0");
    ASSERT_TRUE(form.LblBCast().UseShownText());
    {
        BoxWatcher watcher(program.form1->Handle());
        program.Calculate("10.1.2.3", "255.0.255.0");
        EXPECT_EQ(watcher.Boxes().size(), 1u);
    }
    program.FinishTyping();
    EXPECT_FALSE(form.LblBCast().UseShownText());
    EXPECT_EQ(GetText(form.LblBCastHandle()), "");
}

TEST(BroadCastCalc, CalculatingWhileTypingCarriesOnWithTheNewAddress) {
    Program program;
    TForm2& form = *program.form2;
    program.Calculate("192.168.0.10", "255.255.255.0");
    for (int i = 0; i < 500 && form.LblBCast().ShownText().size() < 3; ++i) {
        program.application.ProcessMessages();
        Sleep(10);
    }
    ASSERT_TRUE(form.LblBCast().UseShownText());
    const size_t reached = form.LblBCast().ShownText().size();
    program.Calculate("8.8.8.8", "255.0.0.0");
    // Not restarted: the letters typed so far stay (a restart would show nothing).
    EXPECT_GE(form.LblBCast().ShownText().size(), reached);
    program.FinishTyping();
    EXPECT_EQ(GetText(form.LblBCastHandle()), "8.255.255.255");
}

TEST(BroadCastCalc, FocusReturnsToTheAddressFieldWhenTheWindowIsActivatedAgain) {
    Program program;
    HWND field = program.Field(2, 2);
    SetFocus(field);
    // Another window of the desktop takes the activation for a moment.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    program.application.ProcessMessages();
    EXPECT_NE(GetFocus(), field);
    program.form2->Show();
    program.application.ProcessMessages();
    EXPECT_EQ(GetFocus(), field);
    DestroyWindow(other);
}

TEST(BroadCastCalc, KeepsItsContentsWhenHiddenAndShownAgain) {
    Program program;
    TForm2& form = *program.form2;
    program.Calculate("8.8.8.8", "255.0.0.0");
    program.FinishTyping();
    form.Close();
    program.application.ProcessMessages();
    EXPECT_FALSE(form.Visible());
    form.Show();
    program.application.ProcessMessages();
    EXPECT_EQ(GetText(form.Memo1()),
              "Network-Class: A\r\nNetwork: 8.0.0.0\r\n# of Hosts: 16777214\r\npublic network\r\n");
    EXPECT_EQ(form.JvIPAddress1().Text(), "8.8.8.8");
    EXPECT_EQ(GetText(form.LblBCastHandle()), "8.255.255.255");
}

TEST(BroadCastCalc, TabWalksTheFieldsOfBothAddressesThenTheMemo) {
    Program program;
    SetFocus(program.Field(1, 0));
    for (int ip = 1; ip <= 2; ++ip) {
        for (int field = 0; field < 4; ++field) {
            EXPECT_EQ(GetFocus(), program.Field(ip, field)) << ip << "/" << field;
            program.PressTab();
        }
    }
    EXPECT_EQ(GetFocus(), program.form2->Memo1());
}

TEST(BroadCastCalc, BlankFieldShowsZeroAfterFocusLeaves) {
    Program program;
    TForm2& form = *program.form2;
    SendMessageA(form.JvIPAddress1Handle(), IPM_CLEARADDRESS, 0, 0);
    SetFocus(program.Field(1, 0));
    PostMessageA(program.Field(1, 0), WM_CHAR, '1', 0);
    PostMessageA(program.Field(1, 0), WM_CHAR, '0', 0);
    program.application.ProcessMessages();
    SetFocus(program.Field(2, 0));
    program.application.ProcessMessages();
    EXPECT_EQ(form.JvIPAddress1().Text(), "10.0.0.0");
}

// The typing label read from outside, the way a script or a screen reader reads it: its window
// text is the whole caption at every step of the typing, while the screen shows the partly typed
// text exactly as a static text showing that text would.
// WM_GETTEXT, as another program sends it.
std::string ReadText(HWND window) {
    char buffer[64] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::vector<COLORREF> Pixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(window, dc);
    return pixels;
}

TEST(BroadCastCalc, ReadingTheTypingLabelWhileItTypesGivesTheWholeCaption) {
    Program program;
    TForm2& form = *program.form2;
    const HWND label = form.LblBCastHandle();
    const HWND self = form.Handle();
    // The same static text the label was before, in an empty corner of the same window (so it
    // gets the same colours), showing what the label shows at each step.
    HWND reference =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 16, 120, 0,
                        0, self, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(reference, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFormFont()), FALSE);

    program.Calculate("192.168.0.10", "255.255.255.0");
    ASSERT_TRUE(form.LblBCast().UseShownText());
    const RECT bounds = ChildBounds(self, label);
    SetWindowPos(reference, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::set<std::string> shown;
    int compared = 0;
    for (int i = 0; i < 1000 && form.LblBCast().UseShownText(); ++i) {
        EXPECT_EQ(ReadText(label), "192.168.0.255");
        EXPECT_EQ(GetText(label), "192.168.0.255");
        const std::string now = form.LblBCast().ShownText();
        if (shown.insert(now).second) {
            SetText(reference, now);
            UpdateWindow(reference);
            UpdateWindow(label);
            EXPECT_EQ(Pixels(label), Pixels(reference)) << "showing '" << now << "'";
            ++compared;
        }
        program.application.ProcessMessages();
        Sleep(5);
    }
    EXPECT_FALSE(form.LblBCast().UseShownText());
    // Every step was seen: step n shows the first n - 1 letters and the n-th letter or a wrong
    // one in its place, so each length from 1 to 13 appeared.
    const std::string caption = "192.168.0.255";
    std::set<size_t> lengths;
    for (const std::string& text : shown) {
        if (!text.empty()) {
            lengths.insert(text.size());
            EXPECT_EQ(text.substr(0, text.size() - 1), caption.substr(0, text.size() - 1));
        }
    }
    EXPECT_EQ(lengths.size(), caption.size());
    EXPECT_GE(compared, 13);
    EXPECT_EQ(ReadText(label), "192.168.0.255");
    // Done: the plain caption, painted as the static text paints it.
    SetText(reference, "192.168.0.255");
    UpdateWindow(reference);
    UpdateWindow(label);
    EXPECT_EQ(Pixels(label), Pixels(reference));
    DestroyWindow(reference);
}

// With nothing to type the label keeps its designed 9 x 13; with a caption it is exactly as wide
// and high as the caption's text, so the typed text always fits.
TEST(BroadCastCalc, TypingLabelDesignedSizeWhenEmptySizedToTheCaptionOtherwise) {
    Program program;
    TForm2& form = *program.form2;
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, 9, 13);
    program.Calculate("8.8.8.8", "255.0.0.0");
    const SIZE text = TextExtent(DefaultFormFont(), "8.255.255.255");
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, text.cx, text.cy);
    form.LblBCast().SetCaption("");
    ExpectBounds(form.Handle(), form.LblBCastHandle(), 288, 120, 9, 13);
    EXPECT_EQ(ReadText(form.LblBCastHandle()), "");
}

}  // namespace
